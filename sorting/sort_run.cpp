#include "sorting/sort_run.h"

#include <windows.h>

#include <set>
#include <vector>

#include "model/app_state.h"
#include "sorting/duplicate_file.h"
#include "sorting/leftover_report.h"
#include "sorting/package_file_ops.h"
#include "sorting/sort_plan.h"
#include "sorting/sort_preview.h"
#include "util/file_facts.h"
#include "util/folder_tree.h"
#include "util/system_error.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/paced_screen.h"
#include "window/status_list.h"

namespace {

struct SortRun {
    AppState& app;
    SortPlan& plan;
    PacedScreen screen;
    bool removed = false;             // the current package's row has left the file list
    std::set<std::string> folders = {};  // the category folders this run has made or found
};

// Creates the placement's folder, noting the folders (and parent folders)
// that were missing and are there afterwards: the ones this placement made.
void MakeFolder(SortPlan& plan, Placement& placement)
{
    std::vector<std::string> missing;
    std::string folder = placement.folder;
    while (folder.size() > 1 && folder.back() == '\\' && !PathExists(folder)) {
        missing.push_back(folder);
        size_t parent = folder.find_last_of('\\', folder.size() - 2);
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

// Whether a file of that name stood at the destination before this run, given
// whether one stood there before this placement: one an earlier placement of
// the same package made does not count.
bool ExistedBeforeRun(const SortRun& run, size_t at, bool existedBefore)
{
    if (!existedBefore)
        return false;
    const Placement& placement = run.plan.placements[at];
    for (size_t earlier = at; earlier-- > 0 && run.plan.placements[earlier].package == placement.package;) {
        const Placement& before = run.plan.placements[earlier];
        if (before.folder == placement.folder && before.outcome == PlacementOutcome::Placed
            && !before.destinationExisted)
            return false;
    }
    return true;
}

// Copies or moves the package into its folder. Under Wine asking after a
// folder costs about as much as a small move, so the run makes or finds each
// category folder once; should one go meanwhile, it is made again here, as
// every placement makes its folder.
PackageFileResult PlaceFile(SortRun& run, size_t at, const std::string& source, const std::string& destination)
{
    auto place = [&] {
        return run.plan.mode == CopyMode::Move ? MovePackageFile(source, destination)
                                               : CopyPackageFile(source, destination);
    };
    PackageFileResult result = place();
    if (!result.done && result.error == ERROR_PATH_NOT_FOUND) {
        MakeFolder(run.plan, run.plan.placements[at]);
        result = place();
    }
    return result;
}

void CopyPackage(SortRun& run, size_t at, const std::string& source, const std::string& destination)
{
    Placement& placement = run.plan.placements[at];
    PackageFileResult copied = PlaceFile(run, at, source, destination);
    placement.destinationExisted = ExistedBeforeRun(run, at, copied.destinationExisted);
    if (copied.done) {
        RecordPlacement(run, placement, destination, Activity::FileCopied);
        return;
    }
    placement.outcome = PlacementOutcome::Failed;
    PacedScreenDrain(run.screen);
    ReportActivity(Activity::CannotCopy, run.plan.packages[placement.package].name);
}

void MovePackage(SortRun& run, size_t at, const std::string& source, const std::string& destination)
{
    Placement& placement = run.plan.placements[at];
    const PlannedPackage& package = run.plan.packages[placement.package];
    PackageFileResult moved = PlaceFile(run, at, source, destination);
    placement.destinationExisted = ExistedBeforeRun(run, at, moved.destinationExisted);
    if (moved.done) {
        RecordPlacement(run, placement, destination, Activity::FileMoved);
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
    // user the package.
    if (IsSeparateIdenticalCopy(destination, source)) {
        DeleteFileA(source.c_str());
        placement.outcome = PlacementOutcome::SourceRemoved;
        NotePlacedFile(placement, destination);
        RemoveRowOnce(run, package);
    }
    ReportActivity(Activity::CannotMove, package.name + "  " + reason);
}

void ApplyPlacement(SortRun& run, size_t at)
{
    Placement& placement = run.plan.placements[at];
    const PlannedPackage& package = run.plan.packages[placement.package];
    if (run.folders.insert(placement.folder).second)
        MakeFolder(run.plan, placement);
    if (run.plan.mode == CopyMode::Other)
        return;
    std::string source = package.folder + package.name;
    std::string destination = placement.folder + package.name;
    if (run.plan.mode == CopyMode::Copy)
        CopyPackage(run, at, source, destination);
    else
        MovePackage(run, at, source, destination);
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

std::string PlacementTitle(const std::string& banner, int placed, const std::string& fileName)
{
    return banner + std::to_string(placed) + " " + fileName;
}

bool SortFoldersUsable(AppState& app)
{
    if (app.ActiveSource.empty() || app.ActiveTarget.empty()) {
        ReportActivity(Activity::SortAborted);
        return false;
    }
    if (app.ActiveSource == app.ActiveTarget) {
        ReportActivity(Activity::SortDisallowed);
        return false;
    }
    return true;
}

SortOutcome RunSortOfRows(AppState& app, const std::vector<int>& rows)
{
    PreviewClear(app);
    if (!SortFoldersUsable(app))
        return SortOutcome();

    CopyMode mode = CopyModeOf(app.Settings.CopyOrMove);
    SortPlan plan = PlanSortOfRows(app.Packages, rows, app.IndexList, app.ActiveTarget, mode);
    SortRun run{app, plan, PacedScreen()};
    ApplyPlan(run);
    ReportActivity(Activity::SortFinished);
    SortOutcome outcome = {mode != CopyMode::Other, SortPlanFailures(plan)};
    if (plan.placed > 0)
        app.LastSort = std::move(plan);

    if (app.Packages.Count() > 0 && LeftoverReportOf(app.Settings.DumpLeftOvers) == LeftoverReport::Yes)
        WriteOrphanListing(app);
    return outcome;
}

void RunSort(AppState& app)
{
    RunSortOfRows(app, EveryRow(app.Packages));
}
