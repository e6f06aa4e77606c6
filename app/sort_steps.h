// The sort as the program runs it, composed one step after another: the plan
// (plan/), carrying it out (sort/), then what comes after a sort: the record
// the undo takes back (undo/), the leftover report (report/) and older
// versions put aside (older/). The gears button, /sort and the watch's
// arrivals all come here; each step goes down to its folder and comes back.
#pragma once

#include <vector>

#include "model/arrival_watch.h"
#include "sort/sort_run.h"

struct AppState;

// Places the packages of the file list, bottom row first, by copying or moving
// them as the copy mode says, and reports every step in the status list. The
// packages still listed afterwards are the orphan files; their listing is
// written when leftovers are to be reported.
// After a preview, the sorted list is emptied first (see PreviewClear).
void RunSort(AppState& app);

// RunSort over some rows of the file list only, given in ascending order: the
// same checks, lines, undo record and leftover report. Packages found among
// `given` are acted on through the handle given (opened for deletion too, for
// a Move; one not so opened is opened again as always).
SortOutcome RunSortOfRows(AppState& app, const std::vector<int>& rows, const GivenPackages* given = nullptr);

// The watch's complete arrivals, sorted by themselves once this program's
// run lock and the target's lock are taken: those still as their checks saw
// them are listed and sorted through the handles the checks keep, and the
// watch then forgets what the sort took away. Arrivals that cannot be sorted
// now are taken again from the watch's next walk.
void SortArrivals(AppState& app, const std::vector<SeenFile>& arrivals);
