// The watch: while it is on, packages that arrive in the active source folder
// are listed and sorted by themselves once they are complete. The event loop
// waits on the watch's change notification beside the window's events, with
// a time-out only while a package waits to be complete.
#pragma once

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
// are due, and lists and sorts the packages that have become complete.
void WatchAttend(AppState& app);
