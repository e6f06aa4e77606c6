// The sort run: carries out a plan already made, placement by placement,
// copying or moving each package into the category folders its rows name,
// each step said in the status list and written in the history. It decides
// first what the paths tell (the plan's own rules, plan/sort_decisions.h)
// and learns at each act what the files show. What comes after a sort (the
// undo's record, the leftover report, older versions put aside, the watch's
// bookkeeping) is its caller's: app/sort_steps.h.
// May use: place/, plan/, history/, window/, model/, file_acts/, util/.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "model/sort_plan.h"

struct ActFile;
struct AppState;

// Packages their caller holds open and checked already (the watch's
// arrivals), by their paths as the file list names them: the sort acts
// through these handles instead of opening the packages again.
using GivenPackages = std::map<std::string, ActFile*>;

// What a sort run came to, for a caller that reports it on.
struct SortOutcome {
    bool sorted = false;  // it passed its checks with a copy mode that places
    int failed = 0;       // placements that failed (see SortPlanFailures)
    std::vector<PlacementAct> acts = {};  // what each placement of its plan came to
    std::vector<std::string> left = {};   // the packages it moved or removed from their folders
};

// Carries the plan out between the active source and target: its start and
// end in the history, the folders held, the staging folder, every placement,
// then "Sort finished" and the "Sort summary" of its counts
// (`packagesLooked`: how many packages the plan was made from). Packages
// found among `given` are acted on through the handle given (opened for
// deletion too, for a Move; one not so opened is opened again as always).
// Each placement's outcome stays in the plan.
SortOutcome SortRunPlan(AppState& app, SortPlan& plan, size_t packagesLooked, const GivenPackages* given = nullptr);
