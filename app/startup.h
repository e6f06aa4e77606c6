// Start-up and shutdown of the program around its event loop.
#pragma once

#include <windows.h>

#include <string>

struct AppState;

// The text every window title the program sets starts with.
extern const char TitleBannerText[];

// The process's current working folder, ending with "\".
std::string CurrentWorkingFolder();

// Fixes BaseFolder and the paths of the files beside the program from the
// working folder.
void StartupSetPaths(AppState& app, const std::string& workingFolder);

// Puts the loaded settings into the controls, reporting each step, and sets
// the title banner. Runs right after the settings are loaded.
void StartupApplySettings(AppState& app);

// The whole run: start-up, event loop and shutdown, or with /sort or /preview
// start-up, the sort or preview and the end. commandLine: the whole command
// line as the system gives it, the program's name first (see
// app/command_line.h). Returns the exit code: 0 unless the command line ran a
// sort or preview once (see app/command_run.h).
int QuilletMain(HINSTANCE instance, const std::wstring& commandLine = std::wstring());
