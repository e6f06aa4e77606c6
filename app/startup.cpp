#include "app/startup.h"

#include "app/ansi_text.h"
#include "app/app_state.h"
#include "app/control_ops.h"
#include "app/controls.h"
#include "app/event_loop.h"
#include "app/icon_slots.h"
#include "app/main_window.h"
#include "app/status_list.h"
#include "catalogue/index_load.h"
#include "catalogue/index_table.h"

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
    CtlSetText(FieldActiveSource, app.Settings.*index->source);
    CtlSetText(FieldActiveTarget, app.Settings.*index->target);
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
    if (app.Settings.CopyOrMove == "Copy")
        CtlSetState(OptionCopy, 1);
    else if (app.Settings.CopyOrMove == "Move")
        CtlSetState(OptionMove, 1);
    CtlSetState(CheckDumpLeftovers, app.Settings.DumpLeftOvers == "Yes" ? 1 : 0);
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
        LoadSettings(app);
        StartupApplySettings(app);
        LoadIndex(app);
        ReportActivity(Activity::Startup);

        RunEventLoop(app);

        SaveSettings(app);
        MainWindowClose();
    }
    IconSlotsRelease();
    return 0;
}
