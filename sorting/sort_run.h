// The sort run: placing every listed package into the category folders of the
// selected index's entries that match its file name.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "model/sort_plan.h"

struct ActFile;
struct AppState;
struct HeldFolders;

// Packages their caller holds open and checked already (the watch's
// arrivals), by their paths as the file list names them: the sort acts
// through these handles instead of opening the packages again.
using GivenPackages = std::map<std::string, ActFile*>;

// Places the packages of the file list, bottom row first, by copying or moving
// them as the copy mode says, and reports every step in the status list. The
// packages still listed afterwards are the orphan files; their listing is
// written when leftovers are to be reported.
// After a preview, the sorted list is emptied first (see PreviewClear).
void RunSort(AppState& app);

// What a sort run came to, for a caller that reports it on.
struct SortOutcome {
    bool sorted = false;  // it passed its checks with a copy mode that places
    int failed = 0;       // placements that failed (see SortPlanFailures)
    std::vector<PlacementAct> acts = {};  // what each placement of its plan came to
    std::vector<std::string> left = {};   // the packages it moved or removed from their folders
};

// RunSort over some rows of the file list only, given in ascending order: the
// same checks, lines, undo record and leftover report. Packages found among
// `given` are acted on through the handle given (opened for deletion too, for
// a Move; one not so opened is opened again as always).
SortOutcome RunSortOfRows(AppState& app, const std::vector<int>& rows, const GivenPackages* given = nullptr);

// Holds the package's folder and the placement's as a sort does, making the
// missing levels of the latter and noting in the plan the folders it made,
// which an undo removes again when they are empty. 0, or the code the
// placement fails with: a folder that leads out of the source or the target
// is never written through.
unsigned long SortPlanHoldFolders(HeldFolders& held, SortPlan& plan, Placement& placement,
                                  const PlannedPackage& package);
