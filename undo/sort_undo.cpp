#include "undo/sort_undo.h"

#include <windows.h>

#include <set>
#include <string>
#include <utility>

#include "file_acts/act_file.h"
#include "file_acts/act_refusals.h"
#include "history/history_log.h"
#include "model/app_state.h"
#include "place/duplicate_file.h"
#include "place/held_folders.h"
#include "place/package_file_ops.h"
#include "place/sort_shared.h"
#include "place/staging_folder.h"
#include "util/ansi_text.h"
#include "util/count_text.h"
#include "util/file_times.h"
#include "window/off_thread.h"
#include "window/paced_screen.h"
#include "window/status_list.h"

namespace {

struct UndoRun {
    AppState& app;
    SortPlan& plan;
    PacedScreen screen;
    int undone = 0;
    std::set<std::string> deleted = {};  // lower-cased copies this undo has deleted
    HeldFolders held = {};               // the folders the undo acts in, held until it ends
    StagingFolder staging = {};          // where this undo's copies back are made
};

// The copies back are made in the sort's source, which holds every package
// the undo may put back; the history names the folder before it is made.
StagingFolder& StagingFor(UndoRun& run)
{
    if (run.staging.parentPath.empty())
        StagingFolderSetUp(run.staging, HeldFolderOf(run.held, run.held.sourceRoot), run.held.sourceRoot,
                           run.app.History.runId, &run.app.History, run.plan.historyId);
    return run.staging;
}

// How a step ended: taken back; left for good (the file changed after the
// sort, it replaced a file, its package is gone); or left for a system error
// (a held file, a missing folder), to be tried again by the next undo.
enum class StepEnd { Undone, Final, Retry };

// What one step did, or why it did nothing.
struct StepResult {
    StepEnd end;
    std::string text;
    uint64_t putBackSize = 0;  // the file a step put back into the source
    uint64_t putBackTime = 0;
};

bool IsStep(const Placement& placement)
{
    return placement.outcome == PlacementOutcome::Placed || placement.outcome == PlacementOutcome::SourceRemoved;
}

// Opens the file the sort left at the destination, inside its held folder,
// for the act the step makes. Ends Undone when it is provably the file the
// sort placed; else Final, with why (it is gone, it was changed after the
// sort: another size or last-write time, or its name leads elsewhere), or
// Retry for a system error (another program holds it).
StepResult OpenPlaced(ActFile& placed, const ActFolder& folder, const PlannedPackage& package,
                      const Placement& placement, DWORD access, ActPurpose purpose)
{
    unsigned long error = ActFileOpen(placed, folder, package.name, access, FILE_SHARE_READ, purpose);
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return {StepEnd::Final, "it is no longer in " + placement.folder};
    if (error == ActLeadsOut || error == ActOtherName)
        return {StepEnd::Final,
                "the file in " + placement.folder + " is not the one this sort placed: " + ActErrorText(error)};
    if (error)
        return {StepEnd::Retry, "cannot open the file in " + placement.folder + ": " + ActErrorText(error)};
    FileIdentity now;
    // The time the history recorded was read back from the placed file: it
    // shows how finely its file system keeps times.
    if (!ActFileIdentity(placed, &now) || now.size != placement.size
        || !FileTimesAgreeAsKept(placement.lastWriteTime, now.lastWriteTime))
        return {StepEnd::Final, "the file in " + placement.folder + " was changed after the sort"};
    return {StepEnd::Undone, std::string()};
}

// Holds the placement's folder and, unless only the copy is deleted, its
// package's (putBack). False, with why, when one cannot be held or leads out of the
// sort's target or source: nothing is then moved, copied or deleted there.
// UndoTrustRecords has already checked a history's records before any disk
// work; this guards the act itself (and the undo of the sort in memory): a
// held folder cannot be swapped for a link between its check and the act.
bool HoldStepFolders(UndoRun& run, const PlannedPackage& package, const Placement& placement, bool putBack,
                     const char* act, StepResult* result)
{
    bool inTarget = true;
    unsigned long error = HeldFoldersTarget(run.held, placement.folder, nullptr);
    if (!error && putBack) {
        inTarget = false;
        error = HeldFoldersSource(run.held, package.folder);
    }
    if (!error)
        return true;
    std::string folder = inTarget ? placement.folder : package.folder;
    if (error == FolderLeadsOut)
        *result = {StepEnd::Final, folder + " leads outside the sort's " + (inTarget ? "target" : "source")};
    else
        *result = {StepEnd::Retry, std::string("cannot ") + act + ": " + ActErrorText(error)};
    return false;
}

// A moved package, or one removed for the copy at its destination, back in
// its folder: moved, or copied from that copy. Neither replaces a file that
// has come there meanwhile, and a failed one removes only what it made.
StepResult PutBack(UndoRun& run, const PlannedPackage& package, const Placement& placement, bool moved)
{
    StepResult refused;
    const char* act = moved ? "move it back" : "copy it back";
    if (!HoldStepFolders(run, package, placement, false, act, &refused))
        return refused;
    ActFile placed;
    StepResult opened = OpenPlaced(placed, *HeldFolderOf(run.held, placement.folder), package, placement,
                                   GENERIC_READ | (moved ? DELETE : 0), moved ? ActPurpose::Change : ActPurpose::Read);
    if (opened.end != StepEnd::Undone)
        return opened;
    if (!HoldStepFolders(run, package, placement, true, act, &refused))
        return refused;
    const ActFolder& into = *HeldFolderOf(run.held, package.folder);
    if (ActFolderHolds(into, package.name))
        return {StepEnd::Final, "a file of that name stands in " + package.folder};
    PackageFileResult back = OffThreadCall(run.screen, placement.size, [&] {
        StagingFolder& staging = StagingFor(run);
        return moved ? MovePackageFile(placed, into, staging) : CopyPackageFile(placed, into, staging, false);
    });
    if (!back.done)
        return {back.destinationExisted ? StepEnd::Final : StepEnd::Retry,
                std::string("cannot ") + (moved ? "move" : "copy") + " it back: " + ActErrorText(back.error)};
    return {StepEnd::Undone, (moved ? "moved back to " : "copied back to ") + package.folder, back.size,
            back.lastWriteTime};
}

// Deletes a copy the sort placed, through the handle its checks opened.
// Windows gives a copy its package's read-only attribute (Wine does not
// always), and a read-only file refuses deletion: that attribute is cleared,
// but only when the package has it too; otherwise the user protected the
// copy, and it stays.
unsigned long DeleteCopyFile(ActFile& placed, const ActFile& original)
{
    FileIdentity copy, package;
    if (!ActFileIdentity(placed, &copy) || !ActFileIdentity(original, &package))
        return GetLastError();
    bool clear = (copy.attributes & FILE_ATTRIBUTE_READONLY) && (package.attributes & FILE_ATTRIBUTE_READONLY);
    if ((copy.attributes & FILE_ATTRIBUTE_READONLY) && !clear)
        return ERROR_ACCESS_DENIED;
    return ActFileDelete(placed, &copy, clear);
}

StepResult DeleteCopy(UndoRun& run, const PlannedPackage& package, const Placement& placement)
{
    std::string placedPath = placement.folder + package.name;
    if (placement.destinationExisted)
        return {StepEnd::Final, "the copy replaced a file that was in " + placement.folder
                           + " before the sort, which cannot be brought back"};
    // Two rows of one category copy a package onto its own copy.
    if (run.deleted.count(LowerAnsiText(placedPath)))
        return {StepEnd::Undone, "copy deleted from " + placement.folder};
    StepResult refused;
    if (!HoldStepFolders(run, package, placement, false, "delete the copy", &refused))
        return refused;
    ActFile placed, original;
    StepResult opened = OpenPlaced(placed, *HeldFolderOf(run.held, placement.folder), package, placement,
                                   GENERIC_READ | DELETE | FILE_WRITE_ATTRIBUTES, ActPurpose::Change);
    if (opened.end != StepEnd::Undone)
        return opened;
    // The package is compared through its own held folder: one that leads
    // out of the source is no evidence.
    unsigned long source = HeldFoldersSource(run.held, package.folder);
    if (source == FolderLeadsOut)
        return {StepEnd::Final, package.folder + " leads outside the sort's source"};
    if (source || ActFileOpen(original, *HeldFolderOf(run.held, package.folder), package.name, GENERIC_READ,
                              FILE_SHARE_READ, ActPurpose::Read))
        return {StepEnd::Final, "its package is no longer in " + package.folder + ", so the copy is kept"};
    if (!OffThreadCall(run.screen, placement.size,
                       [&] { return OpenFilesSeparateIdentical(placed.handle.Get(), original.handle.Get()); }))
        return {StepEnd::Final, "the copy differs from its package in " + package.folder};
    if (unsigned long error = DeleteCopyFile(placed, original))
        return {error == ActStillThere ? StepEnd::Final : StepEnd::Retry,
                "cannot delete the copy: " + ActErrorText(error)};
    run.deleted.insert(LowerAnsiText(placedPath));
    return {StepEnd::Undone, "copy deleted from " + placement.folder};
}

StepEnd UndoStep(UndoRun& run, const Placement& placement)
{
    const PlannedPackage& package = run.plan.packages[placement.package];
    size_t at = static_cast<size_t>(&placement - run.plan.placements.data());
    HistoryBeforeUndoStep(run.app.History, run.plan, at);
    bool moved = run.plan.mode == CopyMode::Move || run.plan.mode == CopyMode::Older;
    PlacementInHand(run.screen, run.app.TitleBanner, run.undone, package.name, placement.size);
    StepResult result = placement.outcome == PlacementOutcome::SourceRemoved ? PutBack(run, package, placement, false)
                        : moved ? PutBack(run, package, placement, true)
                                : DeleteCopy(run, package, placement);
    PacedScreenDrain(run.screen);
    bool undone = result.end == StepEnd::Undone;
    if (undone) {
        ++run.undone;
        PacedScreenSetTitle(run.screen, PlacementTitle(run.app.TitleBanner, run.undone, package.name));
    }
    ReportActivity(undone ? Activity::Undone : Activity::NotUndone, package.name + "  " + result.text);
    HistoryAfterUndoStep(run.app.History, run.plan, at,
                         undone                         ? UndoStepEnd::Done
                         : result.end == StepEnd::Retry ? UndoStepEnd::Retry
                                                        : UndoStepEnd::Final,
                         result.putBackSize, result.putBackTime);
    return result.end;
}

}  // namespace

void UndoReportStart(const SortPlan& plan)
{
    size_t steps = 0;
    for (const Placement& placement : plan.placements)
        steps += IsStep(placement) ? 1 : 0;
    // A sort whose start line the history lacks has neither index nor time.
    std::string text;
    for (const std::string& part : {plan.index, plan.time})
        text += part.empty() ? std::string() : part + "  ";
    ReportActivity(Activity::UndoStarted, text + CountText(steps, "placement", "placements"));
}

bool UndoAvailable(const SortPlan& plan)
{
    for (const Placement& placement : plan.placements) {
        if (IsStep(placement))
            return true;
    }
    return false;
}

void UndoKeepRun(AppState& app, SortPlan&& plan)
{
    if (UndoAvailable(plan) || !plan.createdFolders.empty())
        app.LastSort = std::move(plan);
}

void UndoLastSort(AppState& app, bool announced)
{
    if (!UndoAvailable(app.LastSort))
        return;
    // Taken out first: a step is never undone twice. What is left to retry
    // goes back in at the end.
    SortPlan plan = std::move(app.LastSort);
    app.LastSort = SortPlan();
    UndoRun run{app, plan, PacedScreen()};
    HeldFoldersBegin(run.held, plan.source, plan.target, false);
    HistoryUndoBegins(app.History, plan);
    if (!announced)
        UndoReportStart(plan);
    int steps = 0;
    PacedScreenBegin(run.screen);
    for (auto placement = plan.placements.rbegin(); placement != plan.placements.rend(); ++placement) {
        if (!IsStep(*placement))
            continue;
        ++steps;
        // A step taken back, or one that never can be, is no step any more.
        if (UndoStep(run, *placement) != StepEnd::Retry)
            placement->outcome = PlacementOutcome::NotRun;
    }
    StagingFolderEnd(run.staging);
    HeldFoldersRemoveMade(run.held, plan.createdFolders);
    PacedScreenEnd(run.screen);
    ReportActivity(Activity::UndoFinished,
                   std::to_string(run.undone) + " of " + CountText(static_cast<uint64_t>(steps), "placement", "placements"));
    if (UndoAvailable(plan))
        app.LastSort = std::move(plan);
}
