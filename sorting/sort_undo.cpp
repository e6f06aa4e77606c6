#include "sorting/sort_undo.h"

#include <windows.h>

#include <set>
#include <string>
#include <utility>

#include "history/history_log.h"
#include "model/app_state.h"
#include "sorting/duplicate_file.h"
#include "sorting/held_folders.h"
#include "sorting/package_file_ops.h"
#include "sorting/sort_shared.h"
#include "sorting/staging_folder.h"
#include "util/ansi_text.h"
#include "util/file_facts.h"
#include "util/system_error.h"
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

// The copies back are made in the source folder, where a start looks for
// what a dead run left; a package from elsewhere has its copy made beside it.
StagingFolder& StagingFor(UndoRun& run, const PlannedPackage& package)
{
    if (run.staging.parent.empty()) {
        std::string source = WithTrailingBackslash(run.app.ActiveSource);
        bool below = !run.app.ActiveSource.empty()
                     && LowerAnsiText(package.folder).compare(0, source.size(), LowerAnsiText(source)) == 0;
        StagingFolderSetUp(run.staging, below ? source : package.folder, run.app.History.runId);
    }
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
};

bool IsStep(const Placement& placement)
{
    return placement.outcome == PlacementOutcome::Placed || placement.outcome == PlacementOutcome::SourceRemoved;
}

// Why the file the sort left at the destination is not provably the same
// now, or empty text when it still has its size and last-write time.
std::string ChangedSincePlaced(const Placement& placement, const std::string& placed)
{
    if (!PathExists(placed))
        return "it is no longer in " + placement.folder;
    FileStamp stamp;
    if (!ReadFileStamp(placed, &stamp) || stamp.size != placement.size
        || stamp.lastWriteTime != placement.lastWriteTime)
        return "the file in " + placement.folder + " was changed after the sort";
    return std::string();
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
        *result = {StepEnd::Retry, std::string("cannot ") + act + ": " + ErrorTextOrCode(error)};
    return false;
}

// A moved package, or one removed for the copy at its destination, back in
// its folder: moved, or copied from that copy. Neither replaces a file that
// has come there meanwhile, and a failed one removes only what it made.
StepResult PutBack(UndoRun& run, const PlannedPackage& package, const Placement& placement, bool moved)
{
    std::string placed = placement.folder + package.name;
    std::string original = package.folder + package.name;
    std::string changed = ChangedSincePlaced(placement, placed);
    if (!changed.empty())
        return {StepEnd::Final, changed};
    if (PathExists(original))
        return {StepEnd::Final, "a file of that name stands in " + package.folder};
    StepResult refused;
    if (!HoldStepFolders(run, package, placement, true, moved ? "move it back" : "copy it back", &refused))
        return refused;
    PackageFileResult back = OffThreadCall(run.screen, placement.size, [&] {
        StagingFolder& staging = StagingFor(run, package);
        return moved ? MovePackageFile(placed, original, staging) : CopyFileKeeping(placed, original, staging);
    });
    if (!back.done)
        return {back.destinationExisted ? StepEnd::Final : StepEnd::Retry,
                std::string("cannot ") + (moved ? "move" : "copy") + " it back: " + ErrorTextOrCode(back.error)};
    return {StepEnd::Undone, (moved ? "moved back to " : "copied back to ") + package.folder};
}

bool IsReadOnly(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// Deletes a copy the sort placed. Windows gives a copy its package's
// read-only attribute (Wine does not always), and a read-only file refuses
// deletion: that attribute is cleared, but only when the package has it too;
// otherwise the user protected the copy, and it stays.
bool DeleteCopyFile(const std::string& placed, const std::string& original)
{
    if (DeleteFileA(placed.c_str()))
        return true;
    DWORD error = GetLastError();
    if (error != ERROR_ACCESS_DENIED || !IsReadOnly(placed) || !IsReadOnly(original)
        || !SetFileAttributesA(placed.c_str(), GetFileAttributesA(placed.c_str()) & ~FILE_ATTRIBUTE_READONLY)) {
        SetLastError(error);
        return false;
    }
    return DeleteFileA(placed.c_str()) != 0;
}

StepResult DeleteCopy(UndoRun& run, const PlannedPackage& package, const Placement& placement)
{
    std::string placed = placement.folder + package.name;
    std::string original = package.folder + package.name;
    if (placement.destinationExisted)
        return {StepEnd::Final, "the copy replaced a file that was in " + placement.folder
                           + " before the sort, which cannot be brought back"};
    // Two rows of one category copy a package onto its own copy.
    if (run.deleted.count(LowerAnsiText(placed)))
        return {StepEnd::Undone, "copy deleted from " + placement.folder};
    std::string changed = ChangedSincePlaced(placement, placed);
    if (!changed.empty())
        return {StepEnd::Final, changed};
    if (!PathExists(original))
        return {StepEnd::Final, "its package is no longer in " + package.folder + ", so the copy is kept"};
    if (!OffThreadCall(run.screen, placement.size, [&] { return IsSeparateIdenticalCopy(placed, original); }))
        return {StepEnd::Final, "the copy differs from its package in " + package.folder};
    StepResult refused;
    if (!HoldStepFolders(run, package, placement, false, "delete the copy", &refused))
        return refused;
    if (!DeleteCopyFile(placed, original))
        return {StepEnd::Retry, "cannot delete the copy: " + ErrorTextOrCode(GetLastError())};
    run.deleted.insert(LowerAnsiText(placed));
    return {StepEnd::Undone, "copy deleted from " + placement.folder};
}

StepEnd UndoStep(UndoRun& run, const Placement& placement)
{
    const PlannedPackage& package = run.plan.packages[placement.package];
    size_t at = static_cast<size_t>(&placement - run.plan.placements.data());
    HistoryBeforeUndoStep(run.app.History, run.plan, at);
    bool moved = run.plan.mode == CopyMode::Move || run.plan.mode == CopyMode::Older;
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
                                                        : UndoStepEnd::Final);
    return result.end;
}

// Deepest first: the folders were noted parents first, in the order made.
void RemoveEmptyCreatedFolders(const SortPlan& plan)
{
    for (auto folder = plan.createdFolders.rbegin(); folder != plan.createdFolders.rend(); ++folder)
        RemoveDirectoryA(folder->c_str());
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
    ReportActivity(Activity::UndoStarted, text + std::to_string(steps));
}

bool UndoAvailable(const SortPlan& plan)
{
    for (const Placement& placement : plan.placements) {
        if (IsStep(placement))
            return true;
    }
    return false;
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
    // A held folder could not be removed.
    run.held.held.clear();
    RemoveEmptyCreatedFolders(plan);
    PacedScreenEnd(run.screen);
    ReportActivity(Activity::UndoFinished, std::to_string(run.undone) + " of " + std::to_string(steps));
    if (UndoAvailable(plan))
        app.LastSort = std::move(plan);
}
