// The program's own Yes/No options ("Watch New Packages", "Own Kind Only",
// "Older Versions Aside") in [Program Options] of the settings file, beside
// the nine settings. They are read without a word, since a file that cannot
// be read is already reported by the nine, and written at quit only where the
// user clicked the item or the file already names the key.
#pragma once

#include "model/settings_values.h"

struct AppState;

// The key in [Program Options] that keeps the option.
const char* ProgramOptionKey(ProgramOption option);

// Reads every option from the settings file. A file that cannot be read, a
// missing key or any value but "Yes" counts as No; nothing is reported.
void ProgramOptionsLoad(AppState& app);

// Writes, after the nine settings, each option the user clicked in this
// session or that the file named at start, as "Yes" or "No".
void ProgramOptionsSave(AppState& app);

// The user's click on the option's item: the value to keep from now on.
void ProgramOptionClick(AppState& app, ProgramOption option, bool on);

// The value kept for the option.
bool ProgramOptionOn(const AppState& app, ProgramOption option);
