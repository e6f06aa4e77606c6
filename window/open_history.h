// "Open the history": the history file shown in the user's own editor.
#pragma once

#include <string>

// Opens the file with the program the system has for it; a failure is a
// status line.
void OpenHistoryFile(const std::string& path);
