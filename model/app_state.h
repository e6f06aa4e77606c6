// The one application-state record, alive for the whole run of the program.
// It holds everything the program knows; the window only shows it.
#pragma once

#include <string>

#include "model/arrival_watch.h"
#include "model/folder_queue.h"
#include "model/history_log.h"
#include "model/index_list.h"
#include "model/list_rows.h"
#include "model/package_facts.h"
#include "model/package_table.h"
#include "model/settings_values.h"
#include "model/sort_plan.h"

struct AppState {
    bool QuitRequested = false;
    std::string BaseFolder;        // working folder at start-up, ending with "\"
    std::string SettingsFilePath;  // BaseFolder + "Quillet.Ini"
    std::string UserRowsFilePath;  // BaseFolder + "Quillet.Catalogue.Ini", the user's own catalogue rows
    std::string LogFilePath;       // BaseFolder + "Quillet.Log"
    std::string TitleBanner;       // start of every window title the program sets
    ::Settings Settings;
    ::ProgramOptions Options;      // the Yes/No options of the menus, beside the nine settings
    unsigned SettingsUnread = 0;   // a bit per key (in the order of loading) whose read failed at start
    ::IndexList IndexList;
    ::FolderQueue FolderQueue;
    bool RowShading = false;       // alternates file-list row colours across fetches

    // The folders the fetch and the sort work on, as the last index load set
    // them; the active path fields show them.
    std::string ActiveSource;
    std::string ActiveTarget;
    unsigned FetchCount = 0;       // fetches run so far, so that a fetch can be noticed
    PackageTable Packages;         // the file list: packages of the last fetch not yet placed
    SortedRows Sorted;             // the sorted list
    bool SortedShowsPreview = false;  // the sorted list holds a preview's rows
    StatusRows Status;             // the status list, in the order the lines were added
    SortPlan LastSort;             // the last sort run that changed the disk, less what undos took
                                   // back or gave up on
    HistoryLog History;            // the history file, where every run leaves its record
    ArrivalWatch Watch;            // the watch that sorts packages as they arrive
    // What packages carry, as read so far: a cache, which a plan or a look
    // fills even where it is handed the state to read only.
    mutable PackageFactsCache Known;
};
