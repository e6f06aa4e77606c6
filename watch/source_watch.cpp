#include "watch/source_watch.h"

#include <windows.h>

#include <set>
#include <vector>

#include "catalogue/source_scan.h"
#include "model/app_state.h"
#include "sorting/sort_run.h"
#include "util/ansi_text.h"
#include "util/system_error.h"
#include "watch/arrival_book.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/status_list.h"

namespace {

const DWORD ChangesWatched = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME
                             | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

void CloseChange(ArrivalWatch& watch)
{
    if (watch.change)
        FindCloseChangeNotification(watch.change);
    watch.change = nullptr;
}

// Reports the source that cannot be watched and turns the watch off.
void StopWithError(AppState& app, unsigned long code)
{
    std::string text = ErrorTextOrCode(code);
    WatchStop(app);
    ReportActivity(Activity::WatchStopped, app.ActiveSource + "  " + text);
}

// Watches the active source, and walks it soon: what arrived while it was
// not watched is found too. False when the source cannot be watched.
bool WatchActiveSource(AppState& app)
{
    ArrivalWatch& watch = app.Watch;
    CloseChange(watch);
    if (watch.folder != ScanRootOf(app.ActiveSource))
        watch.linksReported.clear();
    watch.folder = ScanRootOf(app.ActiveSource);
    // The links the fetch of this folder said it did not follow are not said again.
    if (app.FolderQueue.root == watch.folder)
        watch.linksReported.insert(app.FolderQueue.notFollowed.begin(), app.FolderQueue.notFollowed.end());
    watch.skipped = app.ActiveTarget.empty() ? std::string() : LowerAnsiText(WithTrailingBackslash(app.ActiveTarget));
    watch.waiting.clear();
    HANDLE change = FindFirstChangeNotificationA(app.ActiveSource.c_str(), TRUE, ChangesWatched);
    if (change == INVALID_HANDLE_VALUE) {
        StopWithError(app, GetLastError());
        return false;
    }
    watch.change = change;
    ArrivalsNoteChange(watch, GetTickCount() - ArrivalBurstLimit);
    return true;
}

// Lists the complete arrivals below the packages already listed, each with
// its line, and sorts them by themselves.
void TakeArrivals(AppState& app, const std::vector<SeenFile>& arrivals)
{
    std::vector<int> rows;
    for (const SeenFile& file : arrivals) {
        size_t slash = file.path.find_last_of('\\');
        std::string name = file.path.substr(slash + 1);
        const PackageKind* kind = PackageKindOf(name);
        app.Packages.Insert(-1, file.path.substr(0, slash + 1), name, kind ? kind->imageSlot : 0);
        rows.push_back(app.Packages.Count() - 1);
        app.Packages.SetColour(rows.back(), NextRowShade(app.RowShading));
        ListViewRefresh(ListFiles);
        ReportActivity(Activity::PackageArrived, file.path);
    }
    RunSortOfRows(app, rows);
}

// Says of each link out of the source that it is not followed, once for as
// long as this source is watched.
void ReportLinksOnce(AppState& app, const std::set<std::string>& links)
{
    for (const std::string& link : links) {
        if (app.Watch.linksReported.insert(link).second)
            ReportActivity(Activity::LinkNotFollowed, link);
    }
}

// Takes the listing of a fetch not seen yet; false when there was none.
bool NoteFetch(AppState& app)
{
    if (app.FetchCount == app.Watch.followedFetch)
        return false;
    ArrivalsNoteListing(app.Watch, app.Packages, app.FetchCount);
    return true;
}

}  // namespace

void WatchToggle(AppState& app)
{
    if (app.Watch.on)
        WatchStop(app);
    else
        WatchStart(app);
}

void WatchStart(AppState& app)
{
    app.Watch.on = true;
    NoteFetch(app);
    WatchActiveSource(app);
}

void WatchStop(AppState& app)
{
    ArrivalWatch& watch = app.Watch;
    CloseChange(watch);
    watch.on = false;
    watch.waiting.clear();
    watch.walkDue = false;
}

void WatchFollowFetch(AppState& app)
{
    if (NoteFetch(app) && app.Watch.on)
        WatchActiveSource(app);
}

void* WatchHandle(const AppState& app)
{
    return app.Watch.change;
}

unsigned long WatchTimeout(const AppState& app)
{
    return app.Watch.on ? ArrivalsTimeout(app.Watch, GetTickCount()) : INFINITE;
}

void WatchSignalled(AppState& app)
{
    ArrivalWatch& watch = app.Watch;
    if (!watch.change)
        return;
    if (!FindNextChangeNotification(watch.change)) {
        StopWithError(app, GetLastError());
        return;
    }
    ArrivalsNoteChange(watch, GetTickCount());
}

void WatchAttend(AppState& app)
{
    ArrivalWatch& watch = app.Watch;
    if (!watch.on)
        return;
    if (ArrivalsWalkDue(watch, GetTickCount())) {
        std::vector<SeenFile> packages;
        unsigned long error = 0;
        std::set<std::string> links;
        if (!ArrivalsWalk(watch.folder, watch.skipped, &packages, &error, &links)) {
            StopWithError(app, error);
            return;
        }
        ReportLinksOnce(app, links);
        ArrivalsTakeWalk(watch, packages, GetTickCount());
    }
    std::vector<SeenFile> arrivals = ArrivalsComplete(watch, GetTickCount());
    if (!arrivals.empty())
        TakeArrivals(app, arrivals);
}
