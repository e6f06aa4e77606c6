#include "settings/folder_pickers.h"

#include <string>

#include "model/app_state.h"
#include "settings/pick_folder.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/status_list.h"

namespace {

// The six pickers differ only by these.
struct FolderPicker {
    int button;
    const char* prompt;
    int field;
    std::string Settings::*setting;
};

const FolderPicker FolderPickers[] = {
    {ButtonLiberkeySource, "Where to gather LiberKey files from?", FieldLiberkeySource, &Settings::LiberkeySourcePath},
    {ButtonLiberkeyTarget, "Where to sort Liberkey files to?", FieldLiberkeyTarget, &Settings::LiberkeyTargetPath},
    {ButtonPortableAppsSource, "Where to gather PortableApps files from?", FieldPortableAppsSource,
     &Settings::PortableAppsSourcePath},
    {ButtonPortableAppsTarget, "Where to sort PortableApps files to?", FieldPortableAppsTarget,
     &Settings::PortableAppsTargetPath},
    {ButtonAndroidSource, "Where to gather Android files from?", FieldAndroidSource, &Settings::AndroidSourcePath},
    {ButtonAndroidTarget, "Where to sort Android files to?", FieldAndroidTarget, &Settings::AndroidTargetPath},
};

// Stores a chosen folder in the setting and its path field. The active path
// fields stay as they are until the index is loaded again, and the settings
// file is written only when the program ends. A folder the program cannot
// handle leaves both as they were and says why; a cancel says nothing.
void RunPicker(AppState& app, const FolderPicker& picker)
{
    FolderRefusal refusal = FolderRefusal::None;
    std::string folder = PickFolder(picker.prompt, &refusal);
    if (refusal == FolderRefusal::PathTooLong)
        ReportActivity(Activity::FolderPathTooLong);
    if (refusal == FolderRefusal::OutsideCodePage)
        ReportActivity(Activity::FolderOutsideCodePage);
    if (folder.empty())
        return;
    app.Settings.*picker.setting = folder;
    CtlSetText(picker.field, folder);
}

void PickFolderFor(AppState& app, int button)
{
    for (const FolderPicker& picker : FolderPickers) {
        if (picker.button == button)
            RunPicker(app, picker);
    }
}

}  // namespace

void PickLiberkeySource(AppState& app)
{
    PickFolderFor(app, ButtonLiberkeySource);
}

void PickLiberkeyTarget(AppState& app)
{
    PickFolderFor(app, ButtonLiberkeyTarget);
}

void PickPortableAppsSource(AppState& app)
{
    PickFolderFor(app, ButtonPortableAppsSource);
}

void PickPortableAppsTarget(AppState& app)
{
    PickFolderFor(app, ButtonPortableAppsTarget);
}

void PickAndroidSource(AppState& app)
{
    PickFolderFor(app, ButtonAndroidSource);
}

void PickAndroidTarget(AppState& app)
{
    PickFolderFor(app, ButtonAndroidTarget);
}
