#include "sorting/history_undo.h"

#include <string>

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
bool ReadUndo(const AppState& app, HistoryUndo* undo, bool* found)
{
    std::string text;
    *found = false;
    if (!HistoryFileRead(app.History.path, &text))
        return false;
    *found = HistoryFindUndo(text, undo);
    return true;
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
    HistoryUndo undo;
    bool found = false;
    bool read = HistoryUsable(app) && ReadUndo(app, &undo, &found);
    app.History.undoAvailable = read ? found : UndoAvailable(app.LastSort);
}

void UndoFromHistory(AppState& app)
{
    HistoryUndo undo;
    bool found = false;
    // A history that cannot be read leaves the record kept in memory.
    if (!HistoryUsable(app) || !ReadUndo(app, &undo, &found))
        return UndoLastSort(app);
    if (found) {
        HistoryRunBegins(app.History);
        HistoryUndoBegins(app.History, undo.plan);
        UndoReportStart(undo.plan);
        ReportRefused(app, undo);
        app.LastSort = std::move(undo.plan);
        UndoLastSort(app, true);
        HistoryRunEnds(app.History);
    }
    HistoryUndoRefresh(app);
}
