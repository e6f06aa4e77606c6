#include "window/status_list.h"

#include "history/history_log.h"

#include "model/app_state.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/main_window.h"

const char ActivityMarker[] = "<\xB0)))o><\xB2\xB3";

namespace {

struct LineText {
    Activity key;
    const char* title;
    const char* gap;     // blanks between the marker and the text
    const char* text;    // fixed text before the variable part
    const char* suffix;  // fixed text after the variable part
};

const LineText Lines[] = {
    {Activity::ReadConfigFile, "Read config file", "  ", "", ""},
    {Activity::LastIndexLoaded, "Last index used loaded", "  ", "", ""},
    {Activity::LastIndexPathsSet, "Last index source and target set", "  ", "", ""},
    {Activity::ConfigPathsLoaded, "Config screen paths loaded", "  ", "", ""},
    {Activity::CopyModeSet, "File copy mode set", "  ", "", ""},
    {Activity::IndexLoadLiberkey, "Index load", "  ", "LiberKey file sort index list loaded", ""},
    {Activity::IndexLoadPortableApps, "Index load", "  ", "PortableApps file sort index list loaded", ""},
    {Activity::IndexLoadAndroid, "Index load", "  ", "AndroidApps file sort index list loaded", ""},
    {Activity::UserRowsLoaded, "User rows loaded", "  ", "", ""},
    {Activity::UserRowRefused, "User row refused", "  ", "line ", ""},
    {Activity::UserRowsRefused, "User rows refused", "  ", "", ""},
    {Activity::UserRowsNotRead, "User rows not read", "  ", "", ""},
    {Activity::UserRowsCutShort, "User rows cut short", "  ", "only the first 10000 rows of ", ""},
    {Activity::UserRowsNotOpened, "User rows not opened", "  ", "", ""},
    {Activity::FetchingFiles, "Fetching files", "  ", "Retrieving files from ", ""},
    {Activity::FinishedFetching, "Finished fetching", "  ", "Found all files for ", ""},
    {Activity::SourceAbort, "Source abort", "  ", "The selected directory to search is empty", ""},
    {Activity::LinkNotFollowed, "Link not followed", "  ", "", ""},
    {Activity::NoReport, "No report", "   ", "User selected not to create a report", ""},
    {Activity::ReportCreated, "Report created", "   ", "User selected to create a report", ""},
    {Activity::CannotOpen, "Cannot open", "  ", "", "!!!"},
    {Activity::FileCopied, "File copied okay", "  ", "", ""},
    {Activity::CannotCopy, "Cannot copy file", "  ", "", ""},
    {Activity::FileMoved, "File moved okay", "  ", "", ""},
    {Activity::CannotMove, "Cannot move file", "  ", "", ""},
    {Activity::SortFinished, "Sort finished", "  ", "All files specified in the index have been sorted", ""},
    {Activity::SortDisallowed, "Sort disallowed", "  ",
     "The source and target directories must not be the same, bad things can happen", ""},
    {Activity::SortAborted, "Sort aborted", "  ", "Target and Source sort directory were not specified", ""},
    {Activity::FolderPathTooLong, "Folder not taken", "  ", "path of 260 characters or more", ""},
    {Activity::FolderOutsideCodePage, "Folder not taken", "  ", "name holds characters outside the code page", ""},
    {Activity::Startup, "Startup", "  ", "Quillet is up and waiting for your orders", ""},
    {Activity::SortPreview, "Sort preview", "  ", "", ""},
    {Activity::Undone, "Undone", "  ", "", ""},
    {Activity::NotUndone, "Not undone", "  ", "", ""},
    {Activity::UndoFinished, "Undo finished", "  ", "", " undone"},
    {Activity::UndoPending, "Undo pending", "  ", "", " still pending"},
    {Activity::UndoStarted, "Undo started", "  ", "", ""},
    {Activity::HistoryNotWritten, "History not written", "  ", "", ""},
    {Activity::HistoryNotOpened, "History not opened", "  ", "", ""},
    {Activity::UnknownOption, "Unknown option", "  ", "", ""},
    {Activity::PackageArrived, "Package arrived", "  ", "", ""},
    {Activity::WatchStopped, "Watch stopped", "  ", "", ""},
    {Activity::PackageNotWhole, "Package not whole", "  ", "", ""},
    {Activity::AnotherQuilletBusy, "Another Quillet is busy", "  ", "", ""},
    {Activity::PieceRemoved, "Piece removed", "  ", "", ""},
    {Activity::PieceLeft, "Piece left", "  ", "", ""},
    {Activity::CopyRefused, "Copy refused", "  ", "", ""},
    {Activity::AttributesNotKept, "Attributes not kept", "  ", "", ""},
    {Activity::OlderPutAside, "Older version put aside", "  ", "", ""},
    {Activity::OlderVersions, "Older versions", "  ", "", ""},
    {Activity::OlderNotPlaced, "Older version not placed", "  ", "", ""},
    {Activity::KnownByContents, "Known by its contents", "  ", "", ""},
    {Activity::TwinRemoved, "Twin removed", "  ", "", ""},
    {Activity::SortSummary, "Sort summary", "  ", "", ""},
};

HistoryLog* RecordedInto = nullptr;

}  // namespace

ActivityText ActivityLineText(Activity key, const std::string& detail)
{
    for (const LineText& line : Lines) {
        if (line.key == key)
            return {line.title, std::string(ActivityMarker) + line.gap + line.text + detail + line.suffix};
    }
    return {std::string(), std::string()};
}

void AddActivityLine(const std::string& title, const std::string& explanation)
{
    // Straight into the list's table, as ListAddRow puts a row of two columns
    // at its end (the explanation up to a line feed): a sort adds a line per
    // file, and asking the list for its columns each time costs more.
    AppState* app = ListViewsState();
    if (app && ControlWindow(ListStatus)) {
        app->Status.push_back({title, explanation.substr(0, explanation.find('\n'))});
        ListViewRefresh(ListStatus, false);
    }
    if (RecordedInto)
        HistoryStatusLine(*RecordedInto, title, explanation);
}

void StatusListRecordInto(HistoryLog* log)
{
    RecordedInto = log;
}

void ShowHistoryFault(const std::string& detail)
{
    ActivityText line = ActivityLineText(Activity::HistoryNotWritten, detail);
    ListAddRow(ListStatus, -1, line.title + "\n" + line.explanation);
}

void ReportActivity(Activity key, const std::string& detail)
{
    ActivityText line = ActivityLineText(key, detail);
    AddActivityLine(line.title, line.explanation);
}
