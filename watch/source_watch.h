// The watch: while it is on, packages that arrive in the active source folder
// are followed until they are complete and whole; app/sort_steps.h then lists
// and sorts them by themselves through the steps below. The event loop waits
// on the watch's change notification beside the window's events, with a
// time-out only while a package waits to be complete.
#pragma once

#include <string>
#include <vector>

#include "model/arrival_watch.h"
#include "util/file_identity.h"

struct ActFile;
struct AppState;

// Handler of "Sort new packages as they arrive": turns the watch on or off.
void WatchToggle(AppState& app);

// Turns the watch on for the active source; a source that cannot be watched
// is reported and leaves it off.
void WatchStart(AppState& app);

// Turns the watch off. What it has handled stays handled for the session.
void WatchStop(AppState& app);

// Runs before every wait of the event loop: after a fetch, takes its listing
// as what is not new and, when on, follows the active source.
void WatchFollowFetch(AppState& app);

// What the event loop waits on for the watch: the change notification (or
// nullptr) and the time-out in milliseconds (INFINITE when nothing waits).
void* WatchHandle(const AppState& app);
// That of the source's parent folder (or nullptr), which sees the source go.
void* WatchParentHandle(const AppState& app);
unsigned long WatchTimeout(const AppState& app);

// A change notification was signalled: the source's (its changes are due to
// be walked) or its parent's (a source no longer there stops the watch).
void WatchSignalled(AppState& app);

// Runs after every wake of the event loop: walks the source when its changes
// are due, and says which packages have become complete, to be sorted by
// themselves (app/sort_steps.h takes them through the steps below). Each
// arrival stays held open, as its check opened it, until it is released.
std::vector<SeenFile> WatchAttend(AppState& app);

// The arrivals could not be sorted now (another run holds the folders): each
// is released and taken again from the next walk, which is due at once.
void WatchArrivalsPutBack(AppState& app, const std::vector<SeenFile>& arrivals);

// The arrivals still as their checks saw them, compared through the handle
// each check keeps (the wait for the run's lock may have been long); each
// other one waits again from now.
std::vector<SeenFile> WatchArrivalsAsChecked(AppState& app, const std::vector<SeenFile>& arrivals);

// Who each arrival is, as its check read it through the handle it keeps, so
// that after the sort a new file at its path (the same download again, even
// with the same size and time) is not taken for the one that was handled.
std::vector<FileIdentity> WatchArrivalsIdentities(AppState& app, const std::vector<SeenFile>& arrivals);

// Lists the arrivals below the packages already listed, each with its line;
// their rows in the file list.
std::vector<int> WatchArrivalsList(AppState& app, const std::vector<SeenFile>& arrivals);

// The open and checked file the arrival's check keeps, for the sort to act
// through, or nullptr.
ActFile* WatchArrivalFile(AppState& app, const std::string& path);

// After the sort of the arrivals: each is released, and those the sort moved
// or removed (`left`) and those gone are forgotten by their identities.
void WatchArrivalsDone(AppState& app, const std::vector<SeenFile>& arrivals,
                       const std::vector<FileIdentity>& identities, const std::vector<std::string>& left);
