#include "watch/source_watch.h"

#include <windows.h>

#include <set>
#include <vector>

#include "catalogue/source_scan.h"
#include "model/app_state.h"
#include "settings/program_options.h"
#include "util/ansi_text.h"
#include "util/file_facts.h"
#include "util/file_identity.h"
#include "util/system_error.h"
#include "watch/arrival_book.h"
#include "watch/arrival_checks.h"
#include "watch/restored_paths.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/status_list.h"

namespace {

const DWORD ChangesWatched = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME
                             | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

// Closes both notifications. On Windows an open watch handle keeps a removed
// folder pending deletion (it cannot be listed, nor made again under its
// name) until the handle closes, so they are closed as soon as the folder
// is seen gone.
void CloseChange(ArrivalWatch& watch)
{
    if (watch.change)
        FindCloseChangeNotification(watch.change);
    if (watch.parentChange)
        FindCloseChangeNotification(watch.parentChange);
    watch.change = nullptr;
    watch.parentChange = nullptr;
}

// The parent's own changes of names show the watched folder removed or
// renamed: a removed folder's own notification may stay silent (under Wine
// it does) and never sees a folder made again under the same name. A drive's
// root has no parent and is watched alone.
void WatchParent(ArrivalWatch& watch)
{
    size_t slash = watch.folder.find_last_of('\\');
    if (slash == std::string::npos || slash + 1 >= watch.folder.size())
        return;
    std::string parent = WithTrailingBackslash(watch.folder.substr(0, slash));
    HANDLE change = FindFirstChangeNotificationA(parent.c_str(), FALSE, FILE_NOTIFY_CHANGE_DIR_NAME);
    if (change != INVALID_HANDLE_VALUE)
        watch.parentChange = change;
    if (!FolderIdentityOf({watch.folder, false, 0}, &watch.identity))
        watch.identity = FolderIdentity{};
}

// Whether the watched folder is still the one whose watch began. On Windows
// a folder removed while our handles are open is pending deletion: it cannot
// be opened (so it counts as gone, and closing the handles lets it go) nor
// made again under its name; where the system unlinks the name at once, the
// path is missing or names a new folder of another file index. Under Wine
// the name goes at once, and a folder made again may get the same index
// back, which this cannot tell from the old one.
bool FolderStillThere(const ArrivalWatch& watch)
{
    FolderIdentity now;
    if (!FolderIdentityOf({watch.folder, false, 0}, &now))
        return false;
    return watch.identity.index == 0 || (now.index == watch.identity.index && now.volume == watch.identity.volume);
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
    WatchParent(watch);
    ArrivalsNoteChange(watch, GetTickCount() - ArrivalBurstLimit);
    return true;
}

// The check that holds the arrival open, or nullptr.
ArrivalCheck* CheckOf(AppState& app, const std::string& path)
{
    return app.Watch.checks ? ArrivalCheckFind(*app.Watch.checks, path) : nullptr;
}

// The arrival waits again from now: it changed since its check, or the
// watch could not sort it now.
void WaitAgain(ArrivalWatch& watch, const SeenFile& file)
{
    ArrivalsRelease(watch, file.path);
    watch.handled.erase(file);
    FileStamp stamp;
    if (ReadFileStamp(file.path, &stamp))
        watch.waiting[file.path] = {stamp.size, stamp.lastWriteTime, GetTickCount(), ArrivalSettleTime};
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
    ProgramOptionClick(app, ProgramOption::WatchNewPackages, !app.Watch.on);
    if (app.Watch.on)
        WatchStop(app);
    else
        WatchStart(app);
}

void WatchStart(AppState& app)
{
    app.Watch.on = true;
    RestoredPathsBegin(app.Watch, app.History.path);
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

void* WatchParentHandle(const AppState& app)
{
    return app.Watch.parentChange;
}

void WatchSignalled(AppState& app)
{
    ArrivalWatch& watch = app.Watch;
    if (watch.parentChange && WaitForSingleObject(watch.parentChange, 0) != WAIT_TIMEOUT) {
        if (!FindNextChangeNotification(watch.parentChange) || !FolderStillThere(watch)) {
            StopWithError(app, ERROR_PATH_NOT_FOUND);
            return;
        }
    }
    if (!watch.change || WaitForSingleObject(watch.change, 0) == WAIT_TIMEOUT)
        return;
    if (!FindNextChangeNotification(watch.change)) {
        StopWithError(app, GetLastError());
        return;
    }
    ArrivalsNoteChange(watch, GetTickCount());
}

std::vector<SeenFile> WatchAttend(AppState& app)
{
    ArrivalWatch& watch = app.Watch;
    if (!watch.on)
        return {};
    if (ArrivalsWalkDue(watch, GetTickCount())) {
        std::vector<SeenFile> packages;
        unsigned long error = 0;
        std::set<std::string> links;
        if (!ArrivalsWalk(watch.folder, watch.skipped, &packages, &error, &links)) {
            StopWithError(app, error);
            return {};
        }
        ReportLinksOnce(app, links);
        ArrivalsTakeWalk(watch, packages, GetTickCount());
    }
    if (!watch.waiting.empty()) {
        RestoredPathsFollow(watch, app.History.path);
        RestoredPathsTakeWaiting(watch);
    }
    std::vector<std::string> notWhole;
    bool move = CopyModeOf(app.Settings.CopyOrMove) == CopyMode::Move;
    std::vector<SeenFile> arrivals = ArrivalsComplete(watch, GetTickCount(), &notWhole, move);
    for (const std::string& path : notWhole)
        ReportActivity(Activity::PackageNotWhole, path);
    return arrivals;
}

void WatchArrivalsPutBack(AppState& app, const std::vector<SeenFile>& arrivals)
{
    for (const SeenFile& file : arrivals) {
        ArrivalsRelease(app.Watch, file.path);
        app.Watch.handled.erase(file);
    }
    ArrivalsNoteChange(app.Watch, GetTickCount() - ArrivalBurstLimit);
}

std::vector<SeenFile> WatchArrivalsAsChecked(AppState& app, const std::vector<SeenFile>& arrivals)
{
    std::vector<SeenFile> unchanged;
    for (const SeenFile& file : arrivals) {
        const ArrivalCheck* check = CheckOf(app, file.path);
        if (check && ArrivalCheckUnchanged(*check))
            unchanged.push_back(file);
        else
            WaitAgain(app.Watch, file);
    }
    return unchanged;
}

std::vector<FileIdentity> WatchArrivalsIdentities(AppState& app, const std::vector<SeenFile>& arrivals)
{
    std::vector<FileIdentity> identities(arrivals.size());
    for (size_t i = 0; i < arrivals.size(); ++i) {
        if (const ArrivalCheck* check = CheckOf(app, arrivals[i].path))
            identities[i] = check->identity;
    }
    return identities;
}

std::vector<int> WatchArrivalsList(AppState& app, const std::vector<SeenFile>& arrivals)
{
    std::vector<int> rows;
    for (const SeenFile& file : arrivals) {
        size_t slash = file.path.find_last_of('\\');
        std::string name = file.path.substr(slash + 1);
        const PackageKind* kind = PackageKindOf(name);
        app.Packages.Insert(-1, file.path.substr(0, slash + 1), name, kind ? kind->imageSlot : 0, file.size);
        rows.push_back(app.Packages.Count() - 1);
        app.Packages.SetColour(rows.back(), NextRowShade(app.RowShading));
        ListViewRefresh(ListFiles);
        ReportActivity(Activity::PackageArrived, file.path);
    }
    return rows;
}

ActFile* WatchArrivalFile(AppState& app, const std::string& path)
{
    ArrivalCheck* check = CheckOf(app, path);
    return check ? &check->file : nullptr;
}

void WatchArrivalsDone(AppState& app, const std::vector<SeenFile>& arrivals,
                       const std::vector<FileIdentity>& identities, const std::vector<std::string>& left)
{
    for (const SeenFile& file : arrivals)
        ArrivalsRelease(app.Watch, file.path);
    ArrivalsForgetGone(app.Watch, arrivals, identities, left);
}
