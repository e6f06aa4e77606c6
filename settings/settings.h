// The nine settings the program remembers between runs, and moving them to
// and from the settings file.
#pragma once

#include <string>

struct AppState;

struct Settings {
    std::string LastIndex;
    std::string CopyOrMove;
    std::string DumpLeftOvers;
    std::string LiberkeySourcePath;
    std::string LiberkeyTargetPath;
    std::string PortableAppsSourcePath;
    std::string PortableAppsTargetPath;
    std::string AndroidSourcePath;
    std::string AndroidTargetPath;
};

// Reads all nine values from the settings file, creating it with its defaults
// first when there is none.
void LoadSettings(AppState& app);

// Writes all nine values into the settings file.
void SaveSettings(AppState& app);
