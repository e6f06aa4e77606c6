// Opening one of the program's files (the history, the user's own rows) in
// the user's editor, the program the system has for the file.
#pragma once

#include <string>

#include "window/status_list.h"

// Opens the file; a failure is the given status line with the path and the
// reason. The shell shows no error box of its own.
void OpenInEditor(const std::string& path, Activity failedLine);
