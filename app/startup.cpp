#include "app/startup.h"

#include "app/command_line.h"
#include "app/command_run.h"
#include "app/event_loop.h"
#include "catalogue/index_load.h"
#include "catalogue/index_table.h"
#include "cleanup/leftover_pieces.h"
#include "guard/run_guard.h"
#include "history/history_log.h"
#include "model/app_state.h"
#include "plan/known_by_contents.h"
#include "settings/program_options.h"
#include "settings/settings.h"
#include "undo/history_undo.h"
#include "util/ansi_text.h"
#include "watch/source_watch.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/icon_slots.h"
#include "window/list_views.h"
#include "window/main_window.h"
#include "window/status_list.h"

const char TitleBannerText[] = "Quillet - ";

std::string CurrentWorkingFolder()
{
    char buffer[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH)
        return ".\\";
    return WithTrailingBackslash(std::string(buffer, length));
}

void StartupSetPaths(AppState& app, const std::string& workingFolder)
{
    app.BaseFolder = WithTrailingBackslash(workingFolder);
    app.SettingsFilePath = app.BaseFolder + "Quillet.Ini";
    app.UserRowsFilePath = app.BaseFolder + "Quillet.Catalogue.Ini";
    app.LogFilePath = app.BaseFolder + "Quillet.Log";
}

namespace {

void SelectStoredIndex(AppState& app)
{
    for (const IndexInfo& index : Indexes)
        CtlAddItem(ComboIndex, index.name);
    // The selector matches the stored name without regard to letter case.
    CtlSetText(ComboIndex, app.Settings.LastIndex);
}

void ShowActivePaths(AppState& app)
{
    // Here the stored name must match exactly; the index load fills the
    // fields again for whatever the selector shows.
    const IndexInfo* index = FindIndex(app.Settings.LastIndex);
    if (!index)
        return;
    app.ActiveSource = app.Settings.*index->source;
    app.ActiveTarget = app.Settings.*index->target;
    CtlSetText(FieldActiveSource, app.ActiveSource);
    CtlSetText(FieldActiveTarget, app.ActiveTarget);
}

void ShowIndexPaths(AppState& app)
{
    for (const IndexInfo& index : Indexes) {
        CtlSetText(index.sourceField, app.Settings.*index.source);
        CtlSetText(index.targetField, app.Settings.*index.target);
    }
}

void ShowCopyMode(AppState& app)
{
    CopyMode mode = CopyModeOf(app.Settings.CopyOrMove);
    if (mode == CopyMode::Copy)
        CtlSetState(OptionCopy, 1);
    else if (mode == CopyMode::Move)
        CtlSetState(OptionMove, 1);
    CtlSetState(CheckDumpLeftovers, LeftoverReportOf(app.Settings.DumpLeftOvers) == LeftoverReport::Yes ? 1 : 0);
}

// The history records every status line from the first on; a fault found
// during start-up is shown after its last line.
void StartHistory(AppState& app)
{
    HistoryLogSetUp(app.History, app.BaseFolder);
    app.History.showFault = ShowHistoryFault;
    StatusListRecordInto(&app.History);
    HistoryStartupBegins(app.History);
}

void EndStartupRun(AppState& app)
{
    HistoryStartupEnds(app.History);
    HistoryUndoRefresh(app);
    HistoryRunEnds(app.History);
}

}  // namespace

void StartupApplySettings(AppState& app)
{
    ReportActivity(Activity::ReadConfigFile, app.SettingsFilePath);
    SelectStoredIndex(app);
    ReportActivity(Activity::LastIndexLoaded, app.SettingsFilePath);
    ShowActivePaths(app);
    ReportActivity(Activity::LastIndexPathsSet, app.SettingsFilePath);
    ShowIndexPaths(app);
    ReportActivity(Activity::ConfigPathsLoaded, app.SettingsFilePath);
    ShowCopyMode(app);
    ReportActivity(Activity::CopyModeSet, app.SettingsFilePath);
    app.TitleBanner = TitleBannerText;
}

namespace {

// After start-up: a run that runs once sorts or previews and quits without
// saving, for a scheduled run must not change what the user chose; any other
// runs until it is closed and saves the settings.
int RunAfterStartup(AppState& app, const CommandLine& line)
{
    if (CommandLineRunsOnce(line)) {
        HistoryRunBegins(app.History);
        int exitCode = CommandRunOnce(app, line);
        HistoryRunEnds(app.History);
        return exitCode;
    }
    // The watch is ticked by /watch, or by the user's click in an earlier
    // session; only a click changes what is kept.
    if (line.mode == RunMode::Watch || ProgramOptionOn(app, ProgramOption::WatchNewPackages))
        WatchStart(app);
    RunEventLoop(app);
    WatchStop(app);
    HistoryRunBegins(app.History);
    SaveSettings(app);
    ProgramOptionsSave(app);
    HistoryRunEnds(app.History);
    return 0;
}

// Start-up after the history has begun, then the run; its exit code.
int RunStarted(AppState& app, const CommandLine& line)
{
    LoadSettings(app);
    ProgramOptionsLoad(app);
    if (!line.indexName.empty())
        app.Settings.LastIndex = line.indexName;
    StartupApplySettings(app);
    // What a killed run left goes before anything could take it for a package.
    LeftoverPiecesSettle(app);
    LoadIndex(app);
    ReportActivity(Activity::Startup);
    EndStartupRun(app);
    return RunAfterStartup(app, line);
}

}  // namespace

int QuilletMain(HINSTANCE instance, const std::wstring& commandLine)
{
    CommandLine line = CommandLineRead(CommandLineSplit(commandLine));
    AppState app;
    StartupSetPaths(app, CurrentWorkingFolder());
    // A mistyped option ends the run before any window: a scheduled task
    // must not wait unseen for a user.
    if (!line.unknown.empty()) {
        CommandRunRefuse(app, line);
        return ExitCouldNotSort;
    }
    // Started in the wrong folder, a scheduled run makes no settings file
    // and no default folders there.
    if (CommandLineRunsOnce(line) && !SettingsFilePresent(app.SettingsFilePath))
        return ExitCouldNotSort;
    IconSlotsLoad(instance);
    app.IndexList.clear();
    app.FolderQueue.clear();

    int exitCode = CommandLineRunsOnce(line) ? ExitCouldNotSort : 0;
    // A run that runs once does not take the keyboard from the user.
    if (MainWindowOpen(instance, CommandLineRunsOnce(line) ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL)) {
        ListViewsBind(&app);
        ListViewsSetTip([&app](int row) { return KnownLabelOfRow(app, row); });
        StartHistory(app);
        // A run that runs once holds the folder from its fetch on; the
        // window's commands take it each for themselves.
        RunLock lock;
        if (CommandLineRunsOnce(line) && !RunGuardTake(lock, app.BaseFolder)) {
            HistoryStartupEnds(app.History);
            HistoryRunEnds(app.History);
        } else {
            exitCode = RunStarted(app, line);
        }
        StatusListRecordInto(nullptr);
        ListViewsSetTip(nullptr);
        ListViewsBind(nullptr);
        MainWindowClose();
    }
    IconSlotsRelease();
    return exitCode;
}
