#include "app/sort_steps.h"

#include <string>

#include "guard/target_lock.h"
#include "model/app_state.h"
#include "older/older_versions.h"
#include "place/sort_shared.h"
#include "plan/known_by_contents.h"
#include "plan/own_kind.h"
#include "plan/sort_plan.h"
#include "report/leftover_report.h"
#include "undo/sort_undo.h"
#include "watch/source_watch.h"

SortOutcome RunSortOfRows(AppState& app, const std::vector<int>& rows, const GivenPackages* given)
{
    PreviewClear(app);
    if (!SortFoldersUsable(app))
        return SortOutcome();
    std::vector<int> looked = OwnKindRows(app, rows);
    SortPlan plan = PlanSortKnowing(app, looked, CopyModeOf(app.Settings.CopyOrMove));
    SortOutcome outcome = SortRunPlan(app, plan, looked.size(), given);
    std::vector<std::string> placedInto = SortPlanPlacedFolders(plan);
    UndoKeepRun(app, std::move(plan));
    if (app.Packages.Count() > 0 && LeftoverReportOf(app.Settings.DumpLeftOvers) == LeftoverReport::Yes)
        WriteOrphanListing(app);
    outcome.failed += PutOlderVersionsAsideAfterSort(app, placedInto);
    return outcome;
}

void RunSort(AppState& app)
{
    RunSortOfRows(app, EveryRow(app.Packages));
}

void SortArrivals(AppState& app, const std::vector<SeenFile>& complete)
{
    if (complete.empty())
        return;
    // Held only while the arrivals are sorted.
    RunHold hold;
    if (!RunHoldTake(hold, app)) {
        WatchArrivalsPutBack(app, complete);
        return;
    }
    std::vector<SeenFile> arrivals = WatchArrivalsAsChecked(app, complete);
    std::vector<FileIdentity> identities = WatchArrivalsIdentities(app, arrivals);
    std::vector<int> rows = WatchArrivalsList(app, arrivals);
    GivenPackages given;
    for (const SeenFile& file : arrivals) {
        if (ActFile* held = WatchArrivalFile(app, file.path))
            given[file.path] = held;
    }
    SortOutcome outcome;
    if (!rows.empty())
        outcome = RunSortOfRows(app, rows, &given);
    WatchArrivalsDone(app, arrivals, identities, outcome.left);
}
