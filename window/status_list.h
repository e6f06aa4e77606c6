// The status list: the program's only way of telling the user what it did.
// Every line is a title and an explanation that starts with the activity
// marker; the fixed texts of all lines are kept here under their keys.
#pragma once

#include <string>

// "<°)))o><²³" in Windows-1252.
extern const char ActivityMarker[];

enum class Activity {
    ReadConfigFile,
    LastIndexLoaded,
    LastIndexPathsSet,
    ConfigPathsLoaded,
    CopyModeSet,
    IndexLoadLiberkey,
    IndexLoadPortableApps,
    IndexLoadAndroid,
    UserRowsLoaded,
    UserRowRefused,
    UserRowsNotRead,
    UserRowsCutShort,
    UserRowsNotOpened,
    FetchingFiles,
    FinishedFetching,
    SourceAbort,
    NoReport,
    ReportCreated,
    CannotOpen,
    FileCopied,
    CannotCopy,
    FileMoved,
    CannotMove,
    SortFinished,
    SortDisallowed,
    SortAborted,
    FolderPathTooLong,
    FolderOutsideCodePage,
    Startup,
    SortPreview,
    Undone,
    NotUndone,
    UndoFinished,
};

struct ActivityText {
    std::string title;
    std::string explanation;
};

// The title and explanation of a line, with the variable part (a path, a name,
// an error text) put where the line takes it.
ActivityText ActivityLineText(Activity key, const std::string& detail = std::string());

// Appends one row at the end of the status list. Nothing is selected and the
// list is not scrolled.
void AddActivityLine(const std::string& title, const std::string& explanation);

// AddActivityLine with the texts of the keyed line.
void ReportActivity(Activity key, const std::string& detail = std::string());
