#include "sorting/history_undo.h"

#include <string>

#include "history/history_file.h"
#include "history/history_log.h"
#include "history/history_read.h"
#include "model/app_state.h"
#include "sorting/sort_undo.h"
#include "sorting/undo_trust.h"
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
    *found = HistoryFindUndo(text, undo, [&app](const HistorySortLine& sort) { return UndoSortTrusted(app, sort); });
    return true;
}

void ReportPassedOver(const HistoryUndo& undo)
{
    for (const std::string& time : undo.passedOver)
        ReportActivity(Activity::NotUndone, time + "  its folders are not the collection's folders now");
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
    HistoryRunBegins(app.History);
    ReportPassedOver(undo);
    if (found) {
        UndoTrustRecords(undo);
        HistoryUndoBegins(app.History, undo.plan);
        ReportRefused(app, undo);
        app.LastSort = std::move(undo.plan);
        UndoLastSort(app);
    }
    HistoryRunEnds(app.History);
    HistoryUndoRefresh(app);
}
