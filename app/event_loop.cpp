#include "app/event_loop.h"

#include <windows.h>

#include "catalogue/index_load.h"
#include "catalogue/row_from_window.h"
#include "catalogue/user_rows_file.h"
#include "model/app_state.h"
#include "settings/folder_pickers.h"
#include "sorting/leftover_report.h"
#include "sorting/sort_preview.h"
#include "sorting/sort_run.h"
#include "sorting/sort_undo.h"
#include "window/context_menu.h"
#include "window/controls.h"
#include "window/main_window.h"

namespace {

void RequestQuit(AppState& app)
{
    app.QuitRequested = true;
}

void ChooseMove(AppState& app)
{
    app.Settings.CopyOrMove = "Move";
}

void ChooseCopy(AppState& app)
{
    app.Settings.CopyOrMove = "Copy";
}

// The undo leaves the packages list as it was; loading the index again lists
// what lies in the source now.
void UndoSortAndReload(AppState& app)
{
    if (!UndoAvailable(app.LastSort))
        return;
    UndoLastSort(app);
    LoadIndex(app);
}

struct Dispatch {
    int control;
    void (*handler)(AppState&);
};

// Every event of these controls runs the handler; they raise nothing but clicks.
const Dispatch DispatchTable[] = {
    {ButtonQuit, RequestQuit},
    {ButtonSort, RunSort},
    {ButtonLoadIndex, LoadIndex},
    {OptionMove, ChooseMove},
    {OptionCopy, ChooseCopy},
    {CheckDumpLeftovers, OnDumpLeftoversChanged},
    {ButtonLiberkeySource, PickLiberkeySource},
    {ButtonLiberkeyTarget, PickLiberkeyTarget},
    {ButtonPortableAppsSource, PickPortableAppsSource},
    {ButtonPortableAppsTarget, PickPortableAppsTarget},
    {ButtonAndroidSource, PickAndroidSource},
    {ButtonAndroidTarget, PickAndroidTarget},
    {CommandPreviewSort, PreviewSort},
    {CommandUndoSort, UndoSortAndReload},
    {CommandOpenRows, OpenUserRows},
};

}  // namespace

void DispatchEvent(AppState& app, const AppEvent& event)
{
    if (event.kind == AppEvent::CloseRequest) {
        RequestQuit(app);
        return;
    }
    if (event.kind == AppEvent::ContextMenu) {
        ContextMenuShow(event, UndoAvailable(app.LastSort), UserRowsFileExists(app.UserRowsFilePath));
        return;
    }
    if (event.control == CommandAddRow) {
        AddRowForPackage(app, event.code);
        return;
    }
    if (event.control == ComboIndex) {
        if (event.code == CBN_SELCHANGE)
            LoadIndex(app);
        return;
    }
    for (const Dispatch& entry : DispatchTable) {
        if (entry.control == event.control) {
            entry.handler(app);
            return;
        }
    }
}

void RunEventLoop(AppState& app)
{
    app.QuitRequested = false;
    while (!app.QuitRequested) {
        AppEvent event;
        if (!EventWait(&event)) {
            app.QuitRequested = true;
            break;
        }
        DispatchEvent(app, event);
    }
}
