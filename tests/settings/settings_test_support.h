// What the settings tests share: the default settings file restated line by
// line, so that the tests do not take it from the code they check, and looks
// at the folder and file times the program must leave alone.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "settings/settings.h"

std::vector<std::string> DefaultSettingsLines();

// The lines joined, each ended by CR LF.
std::string JoinedLines(const std::vector<std::string>& lines);

// A settings file holding these nine values under the two groups, no comments.
std::string SettingsFileText(const Settings& values);

// Writes "Quillet.Ini" into the folder (ending with "\"): LiberKey selected,
// the copy mode given, no leftover report, LiberKey's two folders below it.
void WriteLiberKeySettings(const std::string& folder, const std::string& copyOrMove, const std::string& source,
                           const std::string& target);

// The names in the folder, without "." and "..".
std::set<std::string> FolderEntries(const std::string& folder);

ULONGLONG LastWriteTime(const std::string& path);
void SetLastWriteTimeLongAgo(const std::string& path);
