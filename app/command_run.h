// What the command line asks for once start-up is done: the unknown options
// reported, a sort or a preview run once with its exit code, or the watch
// turned on.
#pragma once

#include "app/command_line.h"

struct AppState;

// Exit codes of a run that sorts or previews once.
constexpr int ExitDone = 0;          // finished, no placement failed
constexpr int ExitSomeFailed = 1;    // a sort finished with failed placements
constexpr int ExitCouldNotSort = 2;  // nothing could be sorted

// A command line with an option not understood ends the program before any
// window opens: one "Unknown option" line with the first such word goes to
// the history beside the settings file (none without that file).
void CommandRunRefuse(AppState& app, const CommandLine& line);

// The sort or preview of a run that runs once, after start-up; its exit code.
// A source whose listing cannot be opened ends it with ExitCouldNotSort.
int CommandRunOnce(AppState& app, const CommandLine& line);
