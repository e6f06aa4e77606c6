// The nine settings the program remembers between runs, and moving them to
// and from the settings file.
#pragma once

#include <string>

#include "model/settings_values.h"

struct AppState;


// One setting: where it lives in the settings file and its default.
struct SettingKey {
    const char* group;
    const char* key;
    const char* defaultValue;
    std::string Settings::*field;
};

constexpr int SettingCount = 9;
// In the order of the default file, of loading and of saving.
extern const SettingKey SettingKeys[SettingCount];

// Whether anything stands at the settings file's path (a folder counts).
bool SettingsFilePresent(const std::string& path);

// Reads all nine values from the settings file, creating it with its defaults
// first when nothing stands at its path.
void LoadSettings(AppState& app);

// Writes all nine values into the settings file, creating it with its defaults
// first when nothing stands at its path.
void SaveSettings(AppState& app);

// Writes the default settings file, replacing whatever file stands there.
void CreateDefaultSettingsFile(const std::string& settingsFilePath);

// One key of one group, cut at its first NUL byte and blanks trimmed; empty
// text when the group or key is not there, or when the file cannot be opened,
// which is reported.
std::string ReadSetting(const std::string& settingsFilePath, const std::string& group, const std::string& key);

// Sets one key of one group and writes the file back; a file that cannot be
// opened or rewritten is reported.
void WriteSetting(const std::string& settingsFilePath, const std::string& group, const std::string& key,
                  const std::string& value);
