// Opening one of the program's files (the history, the user's own rows) in
// Notepad of the Windows folder, never in a handler a program without
// elevation could have registered for the file's kind.
#pragma once

#include <string>

#include "window/status_list.h"

// Opens the file; a failure is the given status line with the path and the
// reason. No error box is shown.
void OpenInEditor(const std::string& path, Activity failedLine);
