// What the settings tests share: the default settings file restated line by
// line, so that the tests do not take it from the code they check, and looks
// at the folder and file times the program must leave alone.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

std::vector<std::string> DefaultSettingsLines();

// The lines joined, each ended by CR LF.
std::string JoinedLines(const std::vector<std::string>& lines);

// The names in the folder, without "." and "..".
std::set<std::string> FolderEntries(const std::string& folder);

ULONGLONG LastWriteTime(const std::string& path);
void SetLastWriteTimeLongAgo(const std::string& path);
