#include "sorting/history_undo.h"

#include <string>
#include <vector>

#include "history/history_file.h"
#include "history/history_log.h"
#include "history/history_read.h"
#include "model/app_state.h"
#include "sorting/sort_undo.h"
#include "window/status_list.h"

namespace {

bool HistoryUsable(const AppState& app)
{
    return !app.History.path.empty() && !app.History.faulted;
}

// False when the history cannot be read; then found tells nothing.
bool ReadUndo(const AppState& app, std::vector<HistoryUndo>* undos, bool* found)
{
    std::string text;
    *found = false;
    if (!HistoryFileRead(app.History.path, &text))
        return false;
    *found = HistoryFindUndos(text, undos);
    return true;
}

// The steps an undo left to be tried again.
size_t PendingSteps(const SortPlan& plan)
{
    size_t steps = 0;
    for (const Placement& placement : plan.placements)
        steps += placement.outcome == PlacementOutcome::Placed
                 || placement.outcome == PlacementOutcome::SourceRemoved;
    return steps;
}

void ReportRefused(AppState& app, const HistoryUndo& undo)
{
    for (const HistoryRefusal& refusal : undo.refused) {
        const Placement& placement = undo.plan.placements[refusal.at];
        HistoryHoldStatus(app.History);
        ReportActivity(Activity::NotUndone, undo.plan.packages[placement.package].name + "  " + refusal.reason);
        HistoryAfterUndoStep(app.History, undo.plan, refusal.at, UndoStepEnd::Final);
    }
}

}  // namespace

bool HistoryUndoAvailable(const AppState& app)
{
    return HistoryUsable(app) ? app.History.undoAvailable : UndoAvailable(app.LastSort);
}

void HistoryUndoRefresh(AppState& app)
{
    std::vector<HistoryUndo> undos;
    bool found = false;
    bool read = HistoryUsable(app) && ReadUndo(app, &undos, &found);
    app.History.undoAvailable = read ? found : UndoAvailable(app.LastSort);
}

void UndoFromHistory(AppState& app)
{
    std::vector<HistoryUndo> undos;
    bool found = false;
    // A history that cannot be read leaves the record kept in memory.
    if (!HistoryUsable(app) || !ReadUndo(app, &undos, &found))
        return UndoLastSort(app);
    if (found) {
        HistoryRunBegins(app.History);
        size_t pending = 0;
        for (HistoryUndo& undo : undos) {
            HistoryUndoBegins(app.History, undo.plan);
            ReportRefused(app, undo);
            app.LastSort = std::move(undo.plan);
            UndoLastSort(app);
            pending += PendingSteps(app.LastSort);
        }
        if (pending)
            ReportActivity(Activity::UndoPending, std::to_string(pending));
        HistoryRunEnds(app.History);
    }
    HistoryUndoRefresh(app);
}
