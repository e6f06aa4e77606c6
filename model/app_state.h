// The one application-state record, alive for the whole run of the program.
#pragma once

#include <string>

#include "model/folder_queue.h"
#include "model/index_list.h"
#include "model/settings_values.h"

struct AppState {
    bool QuitRequested = false;
    std::string BaseFolder;        // working folder at start-up, ending with "\"
    std::string SettingsFilePath;  // BaseFolder + "Quillet.Ini"
    std::string LogFilePath;       // BaseFolder + "Quillet.Log"
    std::string TitleBanner;       // start of every window title the program sets
    ::Settings Settings;
    ::IndexList IndexList;
    ::FolderQueue FolderQueue;
    bool RowShading = false;       // alternates file-list row colours across fetches
};
