// The one application-state record, alive for the whole run of the program.
#pragma once

#include <string>

#include "catalogue/folder_queue.h"
#include "catalogue/index_list.h"
#include "settings/settings.h"

struct AppState {
    bool QuitRequested = false;
    std::string BaseFolder;        // working folder at start-up, ending with "\"
    std::string SettingsFilePath;  // BaseFolder + "Quillet.Ini"
    std::string UserRowsFilePath;  // BaseFolder + "Quillet.Catalogue.Ini", the user's own catalogue rows
    std::string LogFilePath;       // BaseFolder + "Quillet.Log"
    std::string TitleBanner;       // start of every window title the program sets
    ::Settings Settings;
    ::IndexList IndexList;
    ::FolderQueue FolderQueue;
    bool RowShading = false;       // alternates file-list row colours across fetches
};
