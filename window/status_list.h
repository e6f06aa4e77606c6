// The status list: the program's only way of telling the user what it did.
// Every line is a title and an explanation that starts with the activity
// marker; the fixed texts of all lines are kept here under their keys.
#pragma once

#include <string>

struct HistoryLog;

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
    UserRowsRefused,
    UserRowsNotRead,
    UserRowsCutShort,
    UserRowsNotOpened,
    FetchingFiles,
    FinishedFetching,
    SourceAbort,
    LinkNotFollowed,
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
    UndoPending,
    UndoStarted,
    HistoryNotWritten,
    HistoryNotOpened,
    UnknownOption,
    PackageArrived,
    WatchStopped,
    PackageNotWhole,
    AnotherQuilletBusy,
    PieceRemoved,
    PieceLeft,
    CopyRefused,
    AttributesNotKept,
    OlderPutAside,
    OlderVersions,
    OlderNotPlaced,
    KnownByContents,
    TwinRemoved,
    SortSummary,
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

// Every line added from now on is also written to this history (none when
// null). Start-up installs it.
void StatusListRecordInto(HistoryLog* log);

// Shows the history's fault line ("History not written"): only in the list,
// since the history is what cannot be written.
void ShowHistoryFault(const std::string& detail);
