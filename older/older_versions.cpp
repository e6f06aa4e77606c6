#include "older/older_versions.h"

#include <windows.h>

#include <map>
#include <utility>

#include "file_acts/act_refusals.h"
#include "history/history_log.h"
#include "model/app_state.h"
#include "place/held_folders.h"
#include "place/package_file_ops.h"
#include "place/placement_checks.h"
#include "place/sort_shared.h"
#include "place/staging_folder.h"
#include "plan/older_versions_plan.h"
#include "undo/sort_undo.h"
#include "util/ansi_text.h"
#include "util/count_text.h"
#include "util/device_names.h"
#include "util/file_facts.h"
#include "util/final_path.h"
#include "util/system_error.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/off_thread.h"
#include "window/paced_screen.h"
#include "window/status_list.h"

namespace {

std::string Summary(const OlderCounts& counts, const char* done)
{
    return std::to_string(counts.files) + done + " from " + CountText(static_cast<uint64_t>(counts.apps), "app", "apps") + " in "
           + CountText(static_cast<uint64_t>(counts.folders), "folder", "folders");
}

// The target as the command works on it: set, not inside the source (letter
// case aside), and ending with "\". Empty text, with its line, when refused.
std::string UsableTarget(AppState& app)
{
    if (app.ActiveTarget.empty()) {
        ReportActivity(Activity::OlderVersions, "not put aside: no target folder is set");
        return std::string();
    }
    std::string target = WithTrailingBackslash(app.ActiveTarget);
    std::string source = LowerAnsiText(WithTrailingBackslash(app.ActiveSource));
    if (!app.ActiveSource.empty() && LowerAnsiText(target).compare(0, source.size(), source) == 0) {
        ReportActivity(Activity::OlderVersions, "not put aside: the target lies inside the source");
        return std::string();
    }
    return target;
}

// The active source as a folder of the target (ending with "\") when it lies
// inside the target, by its path or else by the final paths of both; empty
// when it does not. Its packages are not sorted yet: older versions are not
// put aside from its tree.
std::string SourceInsideTarget(const AppState& app, const std::string& target)
{
    if (app.ActiveSource.empty() || PathHoldsDeviceName(app.ActiveSource))
        return std::string();
    std::string source = WithTrailingBackslash(app.ActiveSource);
    if (PathLiesBelow(target, source, false))
        return source;
    std::string finalTarget, finalSource;
    if (!FinalPathOfFolder(target, &finalTarget) || !FinalPathOfFolder(source, &finalSource)
        || !PathLiesBelow(finalTarget, finalSource, false))
        return std::string();
    return target + WithTrailingBackslash(finalSource.substr(WithTrailingBackslash(finalTarget).size()));
}

// The one line of a run that passed over the source's folders.
void ReportLeftOut(const AppState& app, const OlderPlan& older)
{
    if (older.leftOut)
        ReportActivity(Activity::OlderVersions, "the source " + WithoutTrailingBackslash(app.ActiveSource)
                                                    + " lies inside the target: its folders are left out");
}

// The plan over the whole target less the source's tree, the window
// answering meanwhile.
OlderPlan PlanAnswering(const AppState& app, const std::string& target)
{
    PacedScreen screen;
    PacedScreenBegin(screen);
    OlderPlan older = PlanOlderVersions(target, [&] { PacedScreenDrain(screen); }, SourceInsideTarget(app, target),
                                        &app.Known);
    PacedScreenEnd(screen);
    return older;
}

bool ReportUnlisted(const OlderPlan& older)
{
    if (!older.listed)
        ReportActivity(Activity::OlderVersions, "not put aside: the target cannot be listed: "
                                                    + ErrorTextOrCode(older.error));
    return older.listed;
}

struct AsideRun {
    AppState& app;
    SortPlan& plan;
    std::string target;
    PacedScreen screen;
    int failed = 0;
    std::map<std::string, bool> linked = {};  // destination folder: a link stands on its way
    HeldFolders held = {};                // the target and the folders used, held until the run ends
    StagingFolder staging = {};           // where a move to another volume makes its copy
};

// Whether a folder from the target down to the destination folder is a link
// (a reparse point), which could lead the move out of the target. Windows
// and Wine both show a folder link's attribute to a path query.
bool LinkOnTheWay(AsideRun& run, const std::string& folder)
{
    auto known = run.linked.find(folder);
    if (known != run.linked.end())
        return known->second;
    bool linked = false;
    for (size_t end = AnsiFindBackslash(folder, run.target.size()); end != std::string::npos && !linked;
         end = AnsiFindBackslash(folder, end + 1)) {
        DWORD attributes = GetFileAttributesA(folder.substr(0, end).c_str());
        linked = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    }
    run.linked.emplace(folder, linked);
    return linked;
}

void PutAside(AsideRun& run, size_t at)
{
    Placement& placement = run.plan.placements[at];
    const PlannedPackage& package = run.plan.packages[placement.package];
    unsigned long refusal = PlacementRefusal(placement.folder, package.name);
    bool linked = !refusal && LinkOnTheWay(run, placement.folder);
    if (!refusal && !linked)
        refusal = SortPlanHoldFolders(run.held, run.plan, placement, package);
    // The package is opened by its name in its held folder and moved
    // through that handle into its held folder, as a Move sort moves.
    ActFile held;
    if (!refusal && !linked)
        refusal = PackageOpen(held, *HeldFolderOf(run.held, package.folder), package.name, true);
    FileIdentity identity;
    bool opened = PackageIdentityOf(held, &identity);
    HistoryBeforePlacement(run.app.History, run.plan, at, opened ? &identity : nullptr);
    PackageFileResult moved = {false, refusal};
    if (!refusal && !linked) {
        const ActFolder& into = *HeldFolderOf(run.held, placement.folder);
        PlacementInHand(run.screen, run.app.TitleBanner, run.plan.placed, package.name, package.size);
        moved = OffThreadCall(run.screen, package.size, [&] { return MovePackageFile(held, into, run.staging); });
    }
    PacedScreenDrain(run.screen);
    if (moved.done) {
        placement.outcome = PlacementOutcome::Placed;
        placement.size = moved.size;
        placement.lastWriteTime = moved.lastWriteTime;
        PacedScreenSetTitle(run.screen, PlacementTitle(run.app.TitleBanner, ++run.plan.placed, package.name));
        ReportActivity(Activity::OlderPutAside, package.name);
    } else {
        placement.outcome = PlacementOutcome::Failed;
        placement.destinationExisted = moved.destinationKnown && moved.destinationExisted;
        ++run.failed;
        std::string reason = linked ? "a folder on its way is a link" : ActReasonText(moved.error);
        ReportActivity(Activity::CannotMove, package.name + "  " + reason);
    }
    HistoryAfterPlacement(run.app.History, run.plan, at);
}

// Carries the plan out, recorded in the history like a sort, and keeps it
// for the undo when it changed the disk.
OlderOutcome RunAside(AppState& app, const std::string& target, OlderPlan older)
{
    if (!ReportUnlisted(older))
        return OlderOutcome();
    ReportLeftOut(app, older);
    HistorySortBegins(app.History, app.Settings.LastIndex, target, target, older.plan);
    AsideRun run{app, older.plan, target, PacedScreen()};
    HeldFoldersBegin(run.held, target, target, false);
    StagingFolderSetUp(run.staging, HeldFolderOf(run.held, run.held.targetRoot), run.held.targetRoot,
                       older.plan.historyId, &app.History, older.plan.historyId);
    PacedScreenBegin(run.screen);
    for (size_t at = 0; at < older.plan.placements.size(); ++at)
        PutAside(run, at);
    PacedScreenEnd(run.screen);
    StagingFolderEnd(run.staging);
    ReportActivity(Activity::OlderVersions, Summary(OlderPlanCounts(older, true), " put aside"));
    HistorySortEnds(app.History, older.plan);
    UndoKeepRun(app, std::move(older.plan));
    return {true, run.failed};
}

}  // namespace

OlderOutcome PutOlderVersionsAside(AppState& app)
{
    PreviewClear(app);
    std::string target = UsableTarget(app);
    if (target.empty())
        return OlderOutcome();
    return RunAside(app, target, PlanAnswering(app, target));
}

bool PreviewOlderVersions(AppState& app)
{
    std::string target = UsableTarget(app);
    if (target.empty())
        return false;
    OlderPlan older = PlanAnswering(app, target);
    if (!ReportUnlisted(older))
        return false;
    ReportLeftOut(app, older);
    SortedRows().swap(app.Sorted);
    app.SortedShowsPreview = true;
    for (const Placement& placement : older.plan.placements) {
        const PlannedPackage& package = older.plan.packages[placement.package];
        std::string category = WithoutTrailingBackslash(package.folder.substr(target.size()));
        app.Sorted.push_back({category, package.name, "Older", 0});
    }
    ListViewRefresh(ListSorted, true);
    ReportActivity(Activity::OlderVersions, Summary(OlderPlanCounts(older, false), " would be put aside"));
    return true;
}

int PutOlderVersionsAsideAfterSort(AppState& app, const std::vector<std::string>& folders)
{
    if (!app.Options[ProgramOption::OlderVersionsAside].value || folders.empty())
        return 0;
    std::string target = UsableTarget(app);
    if (target.empty())
        return 0;
    OlderPlan older = PlanOlderVersionsIn(target, folders, SourceInsideTarget(app, target), &app.Known);
    return RunAside(app, target, std::move(older)).failed;
}
