#include "app/event_loop.h"

#include <windows.h>

#include "app/sort_steps.h"
#include "catalogue/index_load.h"
#include "catalogue/row_from_window.h"
#include "catalogue/user_rows_file.h"
#include "guard/run_guard.h"
#include "guard/target_lock.h"
#include "history/history_log.h"
#include "model/app_state.h"
#include "older/older_versions.h"
#include "plan/known_by_contents.h"
#include "plan/sort_preview.h"
#include "report/leftover_report.h"
#include "settings/folder_pickers.h"
#include "settings/program_options.h"
#include "undo/history_undo.h"
#include "undo/sort_undo.h"
#include "watch/source_watch.h"
#include "window/context_menu.h"
#include "window/controls.h"
#include "window/main_window.h"
#include "window/open_in_editor.h"

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
    RunHold hold;
    if (!HistoryUndoAvailable(app) || !RunHoldTake(hold, app))
        return;
    UndoFromHistory(app);
    LoadIndex(app);
}

// The work, once another Quillet's run over the folder has ended: the sort,
// the previews and putting older versions aside wait for it.
template <typename Work>
void WhenFree(AppState& app, Work work)
{
    RunLock lock;
    if (RunGuardTake(lock, app.BaseFolder))
        work(app);
}

// The work that changes files in the target, once this folder's run lock
// and the target's lock (another computer's run into a shared target) are had.
template <typename Work>
void WhenTargetFree(AppState& app, Work work)
{
    RunHold hold;
    if (RunHoldTake(hold, app))
        work(app);
}

void SortWhenFree(AppState& app)
{
    WhenTargetFree(app, RunSort);
}

void OpenHistory(AppState& app)
{
    OpenInEditor(app.History.path, Activity::HistoryNotOpened);
}

void PreviewTheSort(AppState& app)
{
    WhenFree(app, PreviewSort);
}

// The item's click turns the option over; it is kept at quit from then on.
void ToggleOwnKindOnly(AppState& app)
{
    ProgramOptionClick(app, ProgramOption::OwnKindOnly, !ProgramOptionOn(app, ProgramOption::OwnKindOnly));
}

void PreviewOlder(AppState& app)
{
    WhenFree(app, PreviewOlderVersions);
}

void PutOlderAside(AppState& app)
{
    WhenTargetFree(app, PutOlderVersionsAside);
}

void ToggleOlderAfterSort(AppState& app)
{
    ProgramOptionClick(app, ProgramOption::OlderVersionsAside, !ProgramOptionOn(app, ProgramOption::OlderVersionsAside));
}

struct Dispatch {
    int control;
    void (*handler)(AppState&);
};

// Every event of these controls runs the handler; they raise nothing but clicks.
const Dispatch DispatchTable[] = {
    {ButtonQuit, RequestQuit},
    {ButtonSort, SortWhenFree},
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
    {CommandPreviewSort, PreviewTheSort},
    {CommandUndoSort, UndoSortAndReload},
    {CommandOpenHistory, OpenHistory},
    {CommandWatchArrivals, WatchToggle},
    {CommandOpenRows, OpenUserRows},
    {CommandOwnKindOnly, ToggleOwnKindOnly},
    {CommandPreviewOlder, PreviewOlder},
    {CommandPutOlderAside, PutOlderAside},
    {CommandOlderAfterSort, ToggleOlderAfterSort},
};

}  // namespace

namespace {

void HandleEvent(AppState& app, const AppEvent& event)
{
    if (event.kind == AppEvent::CloseRequest) {
        RequestQuit(app);
        return;
    }
    if (event.kind == AppEvent::ContextMenu) {
        ContextMenuShow(event, {HistoryUndoAvailable(app), app.Watch.on, UserRowsFileExists(app.UserRowsFilePath),
                                ProgramOptionOn(app, ProgramOption::OwnKindOnly),
                                ProgramOptionOn(app, ProgramOption::OlderVersionsAside)});
        return;
    }
    if (event.control == CommandAddRow) {
        AddRowForPackage(app, event.code, KnownLabelOfRow(app, event.code));
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

}  // namespace

// Each event is a run of the history: its lines share an id, and the file is
// open only while it is handled.
void DispatchEvent(AppState& app, const AppEvent& event)
{
    HistoryRunBegins(app.History);
    HandleEvent(app, event);
    HistoryRunEnds(app.History);
}

namespace {

// The watch's work between events (taking in what changed, following an
// index load, sorting what has arrived) is a run of the history of its own.
void AttendWatch(AppState& app, bool signalled)
{
    HistoryRunBegins(app.History);
    if (signalled)
        WatchSignalled(app);
    // A handler may have loaded another index: the watch follows it first.
    WatchFollowFetch(app);
    SortArrivals(app, WatchAttend(app));
    HistoryRunEnds(app.History);
}

}  // namespace

void RunEventLoop(AppState& app)
{
    app.QuitRequested = false;
    AttendWatch(app, false);
    while (!app.QuitRequested) {
        // With the watch off this is a wait without a time-out on the
        // window's events alone.
        AppEvent event;
        EventWaitResult woke = EventWaitFor(&event, WatchHandle(app), WatchTimeout(app), WatchParentHandle(app));
        if (woke == EventWaitResult::Ended) {
            app.QuitRequested = true;
            break;
        }
        if (woke == EventWaitResult::Event)
            DispatchEvent(app, event);
        if (app.QuitRequested)
            break;
        AttendWatch(app, woke == EventWaitResult::Signalled);
    }
}
