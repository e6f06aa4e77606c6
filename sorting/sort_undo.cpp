#include "sorting/sort_undo.h"

#include <windows.h>

#include <set>
#include <string>
#include <utility>

#include "history/history_log.h"
#include "model/app_state.h"
#include "sorting/duplicate_file.h"
#include "sorting/sort_run.h"
#include "util/ansi_text.h"
#include "util/file_facts.h"
#include "util/system_error.h"
#include "window/paced_screen.h"
#include "window/status_list.h"

namespace {

struct UndoRun {
    AppState& app;
    const SortPlan& plan;
    PacedScreen screen;
    int undone = 0;
    std::set<std::string> deleted = {};  // lower-cased copies this undo has deleted
};

// What one step did, or why it did nothing.
struct StepResult {
    bool undone;
    std::string text;
    bool retry = false;  // failed for a system error: may succeed later
};

bool IsStep(const Placement& placement)
{
    return placement.outcome == PlacementOutcome::Placed || placement.outcome == PlacementOutcome::SourceRemoved;
}

// The system's text for the thread's last error, without its line end.
std::string LastErrorText()
{
    std::string text = SystemErrorText(0);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
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

// A failed copy or move back may leave a piece of the file behind (Wine does,
// on a full disk). Unless the failure was that something stood there, the
// piece is ours, and it goes.
std::string FailedBack(const std::string& original, const std::string& what)
{
    DWORD error = GetLastError();
    std::string text = "cannot " + what + " it back: " + LastErrorText();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
        DeleteFileA(original.c_str());
    return text;
}

// A moved package, or one removed for the copy at its destination, back in
// its folder: moved, or copied from that copy.
StepResult PutBack(const PlannedPackage& package, const Placement& placement, bool moved)
{
    std::string placed = placement.folder + package.name;
    std::string original = package.folder + package.name;
    std::string changed = ChangedSincePlaced(placement, placed);
    if (!changed.empty())
        return {false, changed};
    if (PathExists(original))
        return {false, "a file of that name stands in " + package.folder};
    // Neither call replaces a file that has come there meanwhile.
    bool done = moved ? MoveFileA(placed.c_str(), original.c_str())
                      : CopyFileA(placed.c_str(), original.c_str(), TRUE);
    if (!done)
        return {false, FailedBack(original, moved ? "move" : "copy"), true};
    return {true, (moved ? "moved back to " : "copied back to ") + package.folder};
}

StepResult DeleteCopy(UndoRun& run, const PlannedPackage& package, const Placement& placement)
{
    std::string placed = placement.folder + package.name;
    std::string original = package.folder + package.name;
    if (placement.destinationExisted)
        return {false, "the copy replaced a file that was in " + placement.folder
                           + " before the sort, which cannot be brought back"};
    // Two rows of one category copy a package onto its own copy.
    if (run.deleted.count(LowerAnsiText(placed)))
        return {true, "copy deleted from " + placement.folder};
    std::string changed = ChangedSincePlaced(placement, placed);
    if (!changed.empty())
        return {false, changed};
    if (!PathExists(original))
        return {false, "its package is no longer in " + package.folder + ", so the copy is kept"};
    if (!IsSeparateIdenticalCopy(placed, original))
        return {false, "the copy differs from its package in " + package.folder};
    if (!DeleteFileA(placed.c_str()))
        return {false, "cannot delete the copy: " + LastErrorText(), true};
    run.deleted.insert(LowerAnsiText(placed));
    return {true, "copy deleted from " + placement.folder};
}

void UndoStep(UndoRun& run, const Placement& placement)
{
    const PlannedPackage& package = run.plan.packages[placement.package];
    size_t at = static_cast<size_t>(&placement - run.plan.placements.data());
    HistoryBeforeUndoStep(run.app.History, run.plan, at);
    StepResult result = placement.outcome == PlacementOutcome::SourceRemoved ? PutBack(package, placement, false)
                        : run.plan.mode == CopyMode::Move                   ? PutBack(package, placement, true)
                                                                            : DeleteCopy(run, package, placement);
    PacedScreenDrain(run.screen);
    if (result.undone) {
        ++run.undone;
        PacedScreenSetTitle(run.screen, PlacementTitle(run.app.TitleBanner, run.undone, package.name));
    }
    ReportActivity(result.undone ? Activity::Undone : Activity::NotUndone, package.name + "  " + result.text);
    HistoryAfterUndoStep(run.app.History, run.plan, at,
                         result.undone ? UndoStepEnd::Done : result.retry ? UndoStepEnd::Retry : UndoStepEnd::Final);
}

// Deepest first: the folders were noted parents first, in the order made.
void RemoveEmptyCreatedFolders(const SortPlan& plan)
{
    for (auto folder = plan.createdFolders.rbegin(); folder != plan.createdFolders.rend(); ++folder)
        RemoveDirectoryA(folder->c_str());
}

}  // namespace

bool UndoAvailable(const SortPlan& plan)
{
    for (const Placement& placement : plan.placements) {
        if (IsStep(placement))
            return true;
    }
    return false;
}

void UndoLastSort(AppState& app)
{
    if (!UndoAvailable(app.LastSort))
        return;
    // Taken out first: whatever happens, this sort cannot be undone twice.
    SortPlan plan = std::move(app.LastSort);
    app.LastSort = SortPlan();
    UndoRun run{app, plan, PacedScreen()};
    HistoryUndoBegins(app.History, plan);
    int steps = 0;
    PacedScreenBegin(run.screen);
    for (auto placement = plan.placements.rbegin(); placement != plan.placements.rend(); ++placement) {
        if (IsStep(*placement)) {
            ++steps;
            UndoStep(run, *placement);
        }
    }
    RemoveEmptyCreatedFolders(plan);
    PacedScreenEnd(run.screen);
    ReportActivity(Activity::UndoFinished, std::to_string(run.undone) + " of " + std::to_string(steps));
}
