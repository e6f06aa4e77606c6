#include "sort/sort_run.h"

#include <windows.h>

#include <unordered_map>
#include <vector>

#include "file_acts/act_refusals.h"
#include "history/history_log.h"
#include "model/app_state.h"
#include "place/duplicate_file.h"
#include "place/folder_listing.h"
#include "place/held_folders.h"
#include "place/identical_copy.h"
#include "place/package_file_ops.h"
#include "place/placement_checks.h"
#include "place/sort_shared.h"
#include "place/staging_folder.h"
#include "plan/known_by_contents.h"
#include "plan/sort_decisions.h"
#include "plan/sort_plan.h"
#include "sort/sort_summary.h"
#include "util/ansi_text.h"
#include "util/package_version.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/off_thread.h"
#include "window/paced_screen.h"
#include "window/status_list.h"

namespace {

struct SortRun {
    AppState& app;
    SortPlan& plan;
    PacedScreen screen;
    bool removed = false;             // the current package's row has left the file list
    HeldFolders held = {};           // the folders this run uses, held until it ends
    // Lower-cased destination paths: whether a file stood there when the
    // run's first attempt on that path learnt it.
    std::unordered_map<std::string, bool> stood = {};
    StagingFolder staging = {};       // where this run's copies are made
    FolderListings listings = {};     // what stands in the category folders met
    bool identical = false;  // the last copy found the package's bytes already there
    const GivenPackages* given = nullptr;  // packages the caller holds open, by path
};

void RemoveRowOnce(SortRun& run, const PlannedPackage& package)
{
    if (run.removed)
        return;
    run.app.Packages.Remove(package.row);
    ListViewRefresh(ListFiles, true);
    run.removed = true;
}

// The placement's act is the one carried out; an older version put aside
// shows the folder it went to below the target.
void RecordPlacement(SortRun& run, Placement& placement, Activity line,
                     const PackageFileResult& result)
{
    const PlannedPackage& package = run.plan.packages[placement.package];
    const IndexEntry& entry = run.app.IndexList[placement.entry];
    placement.outcome = PlacementOutcome::Placed;
    placement.size = result.size;
    placement.lastWriteTime = result.lastWriteTime;
    ++run.plan.placed;
    PacedScreenDrain(run.screen);
    bool aside = placement.act == PlacementAct::OlderAside;
    run.app.Sorted.push_back({aside ? std::string(OlderVersionsFolder) + "\\" + entry.category : entry.category,
                              entry.name, "Okay", 0});
    ListViewRefresh(ListSorted);
    PacedScreenSetTitle(run.screen, PlacementTitle(run.app.TitleBanner, run.plan.placed, package.name));
    RemoveRowOnce(run, package);
    if (run.plan.mode == CopyMode::Copy)
        FolderListingNote(run.listings, placement.folder, {package.name, placement.size, placement.lastWriteTime, 0});
    PacedScreenKeepInView(run.screen, ListSorted, static_cast<int>(run.app.Sorted.size()) - 1);
    ReportActivity(line, package.name);
    // A copy whose file system refused its package's time or attributes
    // stands without them: one more line says so.
    if (result.stampRefused)
        ReportActivity(Activity::AttributesNotKept, package.name + "  " + ActErrorText(result.stampRefused));
}

// Whether a file of that name stood at the destination before the run's first
// attempt on that path (letter case ignored): what the first attempt that
// learnt it found there. Later attempts meet what earlier ones made; one that
// failed before learning it changed nothing there.
bool StoodThereBefore(SortRun& run, const std::string& destination, const PackageFileResult& result)
{
    std::string key = LowerAnsiText(destination);
    auto seen = run.stood.find(key);
    if (seen != run.stood.end())
        return seen->second;
    if (result.destinationKnown)
        run.stood.emplace(key, result.destinationExisted);
    return result.destinationKnown && result.destinationExisted;
}

// One placement about to be carried out, with its package and folders.
struct Attempt {
    size_t at;                      // position in the plan's placements
    std::string destination;
    unsigned long refusal;          // the error it is certain to fail with, or 0
    ActFile opened = {};            // the package, held since its open was checked
    const ActFolder* folder = nullptr;  // the category folder, held by the run
    ActFile* given = nullptr;       // the package as its caller holds it, when it does
};

// The package the placement acts through.
ActFile& PackageOf(Attempt& attempt)
{
    return attempt.given ? *attempt.given : attempt.opened;
}

// Copies or moves the package into its folder. The run holds each folder
// from its first placement on, so none can go meanwhile.
PackageFileResult PlaceFile(SortRun& run, Attempt& attempt)
{
    if (attempt.refusal)
        return {false, attempt.refusal};
    bool move = run.plan.mode == CopyMode::Move;
    const Placement& placement = run.plan.placements[attempt.at];
    const PlannedPackage& package = run.plan.packages[placement.package];
    // Only where the run's listing shows a file of that name can the copy be
    // one already made: a copy onto a free name pays nothing for the question.
    const ListedFile* there = move ? nullptr : FolderListingFind(run.listings, placement.folder, package.name);
    // Another Quillet writing this history waits for its append mutex no
    // longer than the run's small files take: not through a large file's work.
    bool large = package.size >= LargeFileBytes;
    if (large)
        HistoryKeepAppendLock(run.app.History, false);
    PlacementInHand(run.screen, run.app.TitleBanner, run.plan.placed, package.name, package.size);
    PackageFileResult result = OffThreadCall(run.screen, package.size, [&] {
        return move ? MovePackageFile(PackageOf(attempt), *attempt.folder, run.staging)
                    : CopyPackageUnlessIdentical(PackageOf(attempt), *attempt.folder, run.staging, there, &run.identical);
    });
    if (large)
        HistoryKeepAppendLock(run.app.History, true);
    return result;
}

void CopyPackage(SortRun& run, Attempt& attempt)
{
    Placement& placement = run.plan.placements[attempt.at];
    PackageFileResult copied = PlaceFile(run, attempt);
    placement.destinationExisted = StoodThereBefore(run, attempt.destination, copied);
    if (copied.done) {
        placement.act = run.identical              ? PlacementAct::Same
                        : copied.destinationExisted ? PlacementAct::Replace
                                                    : PlacementAct::Copy;
        RecordPlacement(run, placement, Activity::FileCopied, copied);
        // Left as it stood: no undo takes that file away.
        if (run.identical)
            placement.outcome = PlacementOutcome::Identical;
        return;
    }
    placement.outcome = PlacementOutcome::Failed;
    placement.act = PlacementAct::Fail;
    PacedScreenDrain(run.screen);
    const std::string& name = run.plan.packages[placement.package].name;
    ReportActivity(Activity::CannotCopy, name);
    // A refusal of Quillet's own (a folder leading outside, a link in the
    // package's place) is said in a line of its own: the line before keeps
    // its form, without a reason.
    std::string own = ActRefusalText(copied.error);
    if (!own.empty())
        ReportActivity(Activity::CopyRefused, name + "  " + own);
}

// What came of a move onto a file that stood at its destination.
enum class TwinEnd {
    Removed,    // the package was its identical copy's twin, and is gone
    Different,  // that file is no identical copy of the package
    Kept,       // it is, but the package could not be deleted (a read-only one)
};

// The package already lies at its destination. Only a separate file with the
// very same bytes makes the package redundant: anything else there (a copy
// cut short, another program's file of that name) must not cost the user the
// package. The package goes only as the very file that was compared, deleted
// through the handle its check opened, and only when its folder's listing no
// longer shows it afterwards.
TwinEnd RemoveTwin(SortRun& run, Attempt& attempt, Placement& placement)
{
    const PlannedPackage& package = run.plan.packages[placement.package];
    FileIdentity noted, placed;
    ActFile& held = PackageOf(attempt);
    PlacementInHand(run.screen, run.app.TitleBanner, run.plan.placed, package.name, package.size);
    if (!ActFileIdentity(held, &noted)
        || !OffThreadCall(run.screen, package.size, [&] { return IsTwinCopy(held, *attempt.folder, &placed); }))
        return TwinEnd::Different;
    if (ActFileDelete(held, &noted, false))
        return TwinEnd::Kept;
    placement.size = placed.size;
    placement.lastWriteTime = placed.lastWriteTime;
    return TwinEnd::Removed;
}

// The line of a move that did not place its package: an older version put
// aside for its identical copy, one left where it is, or a failure; a twin's
// failed move is followed by the line that says the package went for it.
void ReportMoveNotDone(const Placement& placement, const std::string& name, const std::string& reason)
{
    if (placement.act == PlacementAct::OlderTwin) {
        ReportActivity(Activity::OlderPutAside, name + "  its identical copy was already there");
    } else if (placement.act == PlacementAct::OlderKept) {
        ReportActivity(Activity::OlderNotPlaced, name);
    } else {
        ReportActivity(Activity::CannotMove, name + "  " + reason);
        if (placement.act == PlacementAct::Twin)
            ReportActivity(Activity::TwinRemoved, name + "  its identical copy is in " + placement.folder);
    }
}

// A move, or an older version put aside into the counterpart of its folder,
// which the plan made the placement's folder. A file that stood there makes
// the package its twin when it holds the same bytes; an older version that
// meets any other file there stays where it is.
void MovePackage(SortRun& run, Attempt& attempt)
{
    Placement& placement = run.plan.placements[attempt.at];
    const PlannedPackage& package = run.plan.packages[placement.package];
    bool older = placement.act == PlacementAct::OlderAside;
    PackageFileResult moved = PlaceFile(run, attempt);
    placement.destinationExisted = StoodThereBefore(run, attempt.destination, moved);
    if (moved.done) {
        placement.act = older ? PlacementAct::OlderAside : PlacementAct::Move;
        RecordPlacement(run, placement, older ? Activity::OlderPutAside : Activity::FileMoved, moved);
        return;
    }
    // The code was taken right at the failed move, before anything else could
    // change the thread's last error.
    std::string reason = moved.anotherFile ? "another file stands there" : ActReasonText(moved.error);
    placement.outcome = PlacementOutcome::Failed;
    placement.act = PlacementAct::Fail;
    PacedScreenDrain(run.screen);
    // A refused placement opened nothing: its path may name a device.
    TwinEnd twin = attempt.refusal || moved.anotherFile ? TwinEnd::Different : RemoveTwin(run, attempt, placement);
    if (twin == TwinEnd::Removed) {
        placement.outcome = PlacementOutcome::SourceRemoved;
        placement.act = older ? PlacementAct::OlderTwin : PlacementAct::Twin;
        RemoveRowOnce(run, package);
    } else if (older && twin == TwinEnd::Different && !attempt.refusal) {
        placement.act = PlacementAct::OlderKept;
    }
    ReportMoveNotDone(placement, package.name, reason);
}

// The package as the run's caller holds it, open for what the placement
// does: a Move needs it opened for its deletion too.
ActFile* GivenPackage(SortRun& run, const PlannedPackage& package, bool move)
{
    if (!run.given)
        return nullptr;
    auto found = run.given->find(package.folder + package.name);
    if (found == run.given->end() || !found->second->handle.Valid() || (move && !found->second->forChange))
        return nullptr;
    return found->second;
}

// Carries out the placement as its plan decided it. Its act then checks the
// files again, as they are now, and decides by the same rules.
void ApplyPlacement(SortRun& run, size_t at)
{
    Placement& placement = run.plan.placements[at];
    const PlannedPackage& package = run.plan.packages[placement.package];
    // An older version the sort leaves touches no folder.
    if (placement.act == PlacementAct::OlderKept) {
        ReportActivity(Activity::OlderNotPlaced, package.name);
        return;
    }
    Attempt attempt{at, placement.folder + package.name, 0};
    attempt.refusal = PlacementRefusal(placement.folder, package.name);
    // No folder is made on a path that names a device or is too long.
    if (!attempt.refusal)
        attempt.refusal = SortPlanHoldFolders(run.held, run.plan, placement, package);
    attempt.folder = HeldFolderOf(run.held, placement.folder);
    // Listed once a run, at its first placement: only a Copy asks the
    // listing whether its package's copy may stand there already.
    if (!attempt.refusal && run.plan.mode == CopyMode::Copy)
        FolderListingOf(run.listings, placement.folder, attempt.folder);
    if (run.plan.mode == CopyMode::Other)
        return;
    // The package stays held from this open, made by its name in its held
    // folder (or by the caller that gave it), to its rename or copy, which
    // act through that handle.
    bool move = run.plan.mode == CopyMode::Move;
    attempt.given = attempt.refusal ? nullptr : GivenPackage(run, package, move);
    if (!attempt.refusal && !attempt.given)
        attempt.refusal = PackageOpen(attempt.opened, *HeldFolderOf(run.held, package.folder), package.name, move);
    FileIdentity identity;
    bool opened = PackageIdentityOf(PackageOf(attempt), &identity);
    HistoryBeforePlacement(run.app.History, run.plan, at, opened ? &identity : nullptr);
    if (run.plan.mode == CopyMode::Copy)
        CopyPackage(run, attempt);
    else
        MovePackage(run, attempt);
    HistoryAfterPlacement(run.app.History, run.plan, at);
}

void ApplyPlan(SortRun& run)
{
    PacedScreenBegin(run.screen);
    // What the sort does is decided before it acts (an older version's place
    // among it); what the files show is decided at each act, by the same rules.
    SortDecide(run.plan, run.app, SortLooks::Paths, run.screen);
    HistoryKeepAppendLock(run.app.History, true);
    for (size_t at = 0; at < run.plan.placements.size(); ++at) {
        if (at == 0 || run.plan.placements[at].package != run.plan.placements[at - 1].package)
            run.removed = false;
        KnownReportAt(run.plan, at);
        PacedScreenSetWork(run.screen, at, run.plan.placements.size());
        ApplyPlacement(run, at);
    }
    HistoryKeepAppendLock(run.app.History, false);
    PacedScreenEnd(run.screen);
}

// The packages the plan's placements moved or removed from their folders.
std::vector<std::string> PackagesLeft(const SortPlan& plan)
{
    std::vector<std::string> left;
    for (const Placement& placement : plan.placements) {
        const PlannedPackage& package = plan.packages[placement.package];
        bool gone = plan.mode == CopyMode::Move && (placement.outcome == PlacementOutcome::Placed
                                                    || placement.outcome == PlacementOutcome::SourceRemoved);
        if (gone)
            left.push_back(package.folder + package.name);
    }
    return left;
}

}  // namespace

SortOutcome SortRunPlan(AppState& app, SortPlan& plan, size_t packagesLooked, const GivenPackages* given)
{
    plan.source = app.ActiveSource;
    plan.target = app.ActiveTarget;
    HistorySortBegins(app.History, app.Settings.LastIndex, app.ActiveSource, app.ActiveTarget, plan);
    SortRun run{app, plan, PacedScreen()};
    run.given = given;
    HeldFoldersBegin(run.held, app.ActiveSource, app.ActiveTarget, true);
    StagingFolderSetUp(run.staging, HeldFolderOf(run.held, run.held.targetRoot), run.held.targetRoot,
                       plan.historyId, &app.History, plan.historyId);
    ApplyPlan(run);
    StagingFolderEnd(run.staging);
    ReportActivity(Activity::SortFinished);
    ReportActivity(Activity::SortSummary, SortSummaryText(SortSummaryOf(plan, packagesLooked)));
    HistorySortEnds(app.History, plan);
    SortOutcome outcome = {plan.mode != CopyMode::Other, SortPlanFailures(plan)};
    for (const Placement& placement : plan.placements)
        outcome.acts.push_back(placement.act);
    outcome.left = PackagesLeft(plan);
    return outcome;
}
