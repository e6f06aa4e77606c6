#include "sorting/sort_run.h"

#include <windows.h>

#include <set>
#include <unordered_map>
#include <vector>

#include "history/history_log.h"
#include "model/app_state.h"
#include "sorting/duplicate_file.h"
#include "sorting/leftover_report.h"
#include "sorting/older_guard.h"
#include "sorting/older_versions.h"
#include "sorting/package_file_ops.h"
#include "sorting/placement_checks.h"
#include "sorting/sort_plan.h"
#include "sorting/sort_shared.h"
#include "sorting/sort_undo.h"
#include "util/ansi_text.h"
#include "util/file_facts.h"
#include "util/folder_tree.h"
#include "util/system_error.h"
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
    std::set<std::string> folders = {};  // the category folders this run has made or found
    // Lower-cased destination paths: whether a file stood there when the
    // run's first attempt on that path learnt it.
    std::unordered_map<std::string, bool> stood = {};
    OlderGuard older = {};  // with older versions put aside after each sort: places none
};

// Creates the placement's folder, noting the folders (and parent folders)
// that were missing and are there afterwards: the ones this placement made.
void MakeFolder(SortPlan& plan, Placement& placement)
{
    std::vector<std::string> missing;
    std::string folder = placement.folder;
    while (folder.size() > 1 && AnsiEndsWithBackslash(folder) && !PathExists(folder)) {
        missing.push_back(folder);
        size_t parent = AnsiFindLastBackslash(folder, folder.size() - 1);
        if (parent == std::string::npos)
            break;
        folder.resize(parent + 1);
    }
    if (missing.empty())
        return;
    CreateFolderTree(placement.folder);
    placement.firstCreatedFolder = static_cast<uint32_t>(plan.createdFolders.size());
    for (auto made = missing.rbegin(); made != missing.rend(); ++made) {
        if (PathExists(*made))
            plan.createdFolders.push_back(*made);
    }
    placement.createdFolderCount = static_cast<uint32_t>(plan.createdFolders.size()) - placement.firstCreatedFolder;
}

void RemoveRowOnce(SortRun& run, const PlannedPackage& package)
{
    if (run.removed)
        return;
    run.app.Packages.Remove(package.row);
    ListViewRefresh(ListFiles, true);
    run.removed = true;
}

// What a placed file looked like right after placing, so that it can be
// recognised later.
void NotePlacedFile(Placement& placement, const std::string& destination)
{
    FileStamp stamp;
    if (!ReadFileStamp(destination, &stamp))
        return;
    placement.size = stamp.size;
    placement.lastWriteTime = stamp.lastWriteTime;
}

void RecordPlacement(SortRun& run, Placement& placement, const std::string& destination, Activity line)
{
    const PlannedPackage& package = run.plan.packages[placement.package];
    const IndexEntry& entry = run.app.IndexList[placement.entry];
    placement.outcome = PlacementOutcome::Placed;
    NotePlacedFile(placement, destination);
    ++run.plan.placed;
    PacedScreenDrain(run.screen);
    run.app.Sorted.push_back({entry.category, entry.name, "Okay", 0});
    ListViewRefresh(ListSorted);
    PacedScreenSetTitle(run.screen, PlacementTitle(run.app.TitleBanner, run.plan.placed, package.name));
    RemoveRowOnce(run, package);
    PacedScreenKeepInView(run.screen, ListSorted, static_cast<int>(run.app.Sorted.size()) - 1);
    ReportActivity(line, package.name);
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

// One placement about to be carried out, with its paths.
struct Attempt {
    size_t at;                  // position in the plan's placements
    std::string source;
    std::string destination;
    unsigned long refusal;      // the error it is certain to fail with, or 0
};

// Copies or moves the package into its folder. Under Wine asking after a
// folder costs about as much as a small move, so the run makes or finds each
// category folder once; should one go meanwhile, it is made again here, as
// every placement makes its folder.
PackageFileResult PlaceFile(SortRun& run, const Attempt& attempt)
{
    if (attempt.refusal)
        return {false, attempt.refusal};
    bool move = run.plan.mode == CopyMode::Move;
    uint64_t size = run.plan.packages[run.plan.placements[attempt.at].package].size;
    auto place = [&] {
        return OffThreadCall(run.screen, size, [&] {
            return move ? MovePackageFile(attempt.source, attempt.destination)
                        : CopyPackageFile(attempt.source, attempt.destination);
        });
    };
    PackageFileResult result = place();
    if (!result.done && result.error == ERROR_PATH_NOT_FOUND) {
        MakeFolder(run.plan, run.plan.placements[attempt.at]);
        result = place();
    }
    return result;
}

void CopyPackage(SortRun& run, const Attempt& attempt)
{
    Placement& placement = run.plan.placements[attempt.at];
    PackageFileResult copied = PlaceFile(run, attempt);
    placement.destinationExisted = StoodThereBefore(run, attempt.destination, copied);
    if (copied.done) {
        RecordPlacement(run, placement, attempt.destination, Activity::FileCopied);
        return;
    }
    placement.outcome = PlacementOutcome::Failed;
    PacedScreenDrain(run.screen);
    ReportActivity(Activity::CannotCopy, run.plan.packages[placement.package].name);
}

void MovePackage(SortRun& run, const Attempt& attempt)
{
    Placement& placement = run.plan.placements[attempt.at];
    const PlannedPackage& package = run.plan.packages[placement.package];
    PackageFileResult moved = PlaceFile(run, attempt);
    placement.destinationExisted = StoodThereBefore(run, attempt.destination, moved);
    if (moved.done) {
        RecordPlacement(run, placement, attempt.destination, Activity::FileMoved);
        return;
    }
    // The code was taken right at the failed move, before anything else could
    // change the thread's last error.
    std::string reason = SystemErrorText(moved.error);
    placement.outcome = PlacementOutcome::Failed;
    PacedScreenDrain(run.screen);
    // The package already lies at its destination. Only a separate file with
    // the very same bytes makes the source redundant: anything else there (a
    // copy cut short, another program's file of that name) must not cost the
    // user the package. A refused path is not opened: it may name a device.
    if (!attempt.refusal && OffThreadCall(run.screen, package.size, [&] {
            return IsSeparateIdenticalCopy(attempt.destination, attempt.source);
        })) {
        DeleteFileA(attempt.source.c_str());
        placement.outcome = PlacementOutcome::SourceRemoved;
        NotePlacedFile(placement, attempt.destination);
        RemoveRowOnce(run, package);
    }
    ReportActivity(Activity::CannotMove, package.name + "  " + reason);
}

void ApplyPlacement(SortRun& run, size_t at)
{
    Placement& placement = run.plan.placements[at];
    const PlannedPackage& package = run.plan.packages[placement.package];
    Attempt attempt{at, package.folder + package.name, placement.folder + package.name, 0};
    attempt.refusal = PlacementRefusal(placement.folder, package.name);
    // No folder is made on a path that names a device or is too long.
    if (run.folders.insert(placement.folder).second && !attempt.refusal)
        MakeFolder(run.plan, placement);
    if (run.plan.mode == CopyMode::Other)
        return;
    if (OlderGuardRefuses(run.older, placement.folder, package.name)) {
        ReportActivity(Activity::OlderNotPlaced, package.name);
        return;
    }
    HistoryBeforePlacement(run.app.History, run.plan, at);
    if (run.plan.mode == CopyMode::Copy)
        CopyPackage(run, attempt);
    else
        MovePackage(run, attempt);
    HistoryAfterPlacement(run.app.History, run.plan, at);
}

void ApplyPlan(SortRun& run)
{
    PacedScreenBegin(run.screen);
    for (size_t at = 0; at < run.plan.placements.size(); ++at) {
        if (at == 0 || run.plan.placements[at].package != run.plan.placements[at - 1].package)
            run.removed = false;
        ApplyPlacement(run, at);
    }
    PacedScreenEnd(run.screen);
}

}  // namespace

SortOutcome RunSortOfRows(AppState& app, const std::vector<int>& rows)
{
    PreviewClear(app);
    if (!SortFoldersUsable(app))
        return SortOutcome();

    CopyMode mode = CopyModeOf(app.Settings.CopyOrMove);
    SortPlan plan = PlanSortOfRows(app.Packages, rows, app.IndexList, app.ActiveTarget, mode);
    HistorySortBegins(app.History, app.Settings.LastIndex, app.ActiveSource, app.ActiveTarget, plan);
    SortRun run{app, plan, PacedScreen()};
    OlderGuardStart(run.older, app);
    ApplyPlan(run);
    ReportActivity(Activity::SortFinished);
    HistorySortEnds(app.History, plan);
    SortOutcome outcome = {mode != CopyMode::Other, SortPlanFailures(plan)};
    std::vector<std::string> placedInto = SortPlanPlacedFolders(plan);
    // A sort that made or removed a file, or made a folder, is the one an
    // undo takes back; it replaces the record of an older sort.
    if (UndoAvailable(plan) || !plan.createdFolders.empty())
        app.LastSort = std::move(plan);

    if (app.Packages.Count() > 0 && LeftoverReportOf(app.Settings.DumpLeftOvers) == LeftoverReport::Yes)
        WriteOrphanListing(app);
    outcome.failed += PutOlderVersionsAsideAfterSort(app, placedInto);
    return outcome;
}

void RunSort(AppState& app)
{
    RunSortOfRows(app, EveryRow(app.Packages));
}

void SortPlanMakeFolder(SortPlan& plan, Placement& placement)
{
    MakeFolder(plan, placement);
}
