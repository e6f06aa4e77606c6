// Putting older versions aside: in each folder below the active target,
// among the packages of one app and edition (util/package_version.h), all but
// the newest are moved into the same path below <target>_Older versions\, by
// the moves of a Move sort. The run is recorded in the history as a sort of
// the mode Older that names the target as source and target, so that "Undo
// the last sort" takes it back like one. Also its preview, and its run after
// each sort when the user ticked that.
#pragma once

#include <string>
#include <vector>

struct AppState;
struct SortPlan;

// What a run came to, for the command line's exit code.
struct OlderOutcome {
    bool done = false;  // the target was set, not refused, and could be listed
    int failed = 0;     // files that could not be moved
};

// The command, over the whole target: one "Older version put aside" line per
// file moved, a "Cannot move file" line per file that could not be, and one
// "Older versions" summary. Moves nothing when the target lies inside the
// source, since the fetch would list what was put aside and sort it back.
// When the source lies inside the target, its folders are left out (their
// packages are downloads not sorted yet), with one "Older versions" line that
// says so; the preview and the run after a sort do the same.
OlderOutcome PutOlderVersionsAside(AppState& app);

// The preview: the sorted list emptied and filled with one row per file the
// command would move (its folder below the target, its name, "Older"), and
// the summary worded "would be put aside". Moves nothing. False when the
// command would be refused or the target cannot be listed.
bool PreviewOlderVersions(AppState& app);

// After a sort, when "Put older versions aside after each sort" is ticked:
// the command over the folders the sort placed into. The number of files
// that could not be moved.
int PutOlderVersionsAsideAfterSort(AppState& app, const std::vector<std::string>& folders);
