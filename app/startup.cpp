#include "app/startup.h"

#include "app/event_loop.h"
#include "catalogue/index_load.h"
#include "catalogue/index_table.h"
#include "history/history_log.h"
#include "model/app_state.h"
#include "settings/settings.h"
#include "sorting/history_undo.h"
#include "util/ansi_text.h"
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

int QuilletMain(HINSTANCE instance)
{
    AppState app;
    StartupSetPaths(app, CurrentWorkingFolder());
    IconSlotsLoad(instance);
    app.IndexList.clear();
    app.FolderQueue.clear();

    if (MainWindowOpen(instance)) {
        ListViewsBind(&app);
        StartHistory(app);
        LoadSettings(app);
        StartupApplySettings(app);
        LoadIndex(app);
        ReportActivity(Activity::Startup);
        EndStartupRun(app);

        RunEventLoop(app);

        HistoryRunBegins(app.History);
        SaveSettings(app);
        HistoryRunEnds(app.History);
        StatusListRecordInto(nullptr);
        ListViewsBind(nullptr);
        MainWindowClose();
    }
    IconSlotsRelease();
    return 0;
}
