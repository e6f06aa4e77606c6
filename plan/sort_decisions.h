// Deciding what each placement of a sort's plan does, before anything is
// touched: the one set of rules the preview shows and the sort carries out.
//
// In the order the sort meets them: a copy mode that places nothing; an older
// version (older_guard.h), which a Copy sort leaves and a Move sort puts into
// the counterpart of its folder below <target>_Older versions\ (the
// placement's folder becomes that counterpart); the failures the paths make
// certain (placement_checks.h); a package folder or category folder that
// leads out of the source or the target, or a file where a folder must be; a
// package an earlier placement of the same Move has taken away; the package's
// own open; and what stands at the destination: nothing (Copy, Move), the
// package's identical copy (Same for a copy: the very size, time and bytes,
// not read-only, hidden or system; Twin for a move: the very bytes, and only
// when the package can be deleted, which a read-only one cannot), another
// file (Replace for a copy when it may be replaced; a move fails, and an
// older version stays, "Older version not placed"), a folder or another file
// that the name is a short alias of (a failure). Each destination the plan
// writes is remembered, so that a later placement onto it meets what the
// earlier one put there.
#pragma once

#include <cstddef>
#include <functional>

#include "model/sort_plan.h"

struct AppState;
struct PacedScreen;

// How far the decisions look.
enum class SortLooks {
    // The paths, the copy mode and the folders' listings of versions: where
    // each placement goes, the older versions and the certain failures. What
    // the sort decides before it acts; what the files themselves show (the
    // package's open, what stands at the destination) it learns at each act,
    // which decides by the same rules, since a file may change meanwhile.
    Paths,
    // Also the files: each package opened as the sort opens it, each file at
    // a destination compared as the sort compares it. The preview's forecast
    // of every act. Opens files only to read them; changes nothing.
    Files,
};

// Decides Placement::act for every placement of the plan (made by PlanSort
// over the packages of the app's file list), against the disk as it stands
// now, with the app's folders and options, in the plan's order; `decided` is
// told each placement's place once it is decided. A comparison of a large
// file runs on a worker thread while the screen is kept answering.
void SortDecide(SortPlan& plan, const AppState& app, SortLooks looks, PacedScreen& screen,
                const std::function<void(size_t)>& decided = {});

// The preview's word for an act, as narrow as the Status column: "Copy",
// "Replace", "Same", "Move", "Twin", "Older" (any older version) or "Fail";
// empty for None.
const char* SortDecisionStatus(PlacementAct act);

// Whether the act takes the package off the packages list: it is placed,
// or removed from its folder for its identical copy, or put aside.
bool SortDecisionPlaces(PlacementAct act);
