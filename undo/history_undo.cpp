#include "undo/history_undo.h"

#include <string>
#include <vector>

#include "history/history_file.h"
#include "history/history_log.h"
#include "history/history_read.h"
#include "model/app_state.h"
#include "undo/sort_undo.h"
#include "undo/undo_trust.h"
#include "util/count_text.h"
#include "window/status_list.h"

namespace {

bool HistoryUsable(const AppState& app)
{
    return !app.History.path.empty() && !app.History.faulted;
}

// False when the history cannot be read; then found tells nothing.
bool ReadUndo(const AppState& app, std::vector<HistoryUndo>* undos, bool* found,
              std::vector<std::string>* passedOver = nullptr)
{
    std::string text;
    *found = false;
    if (!HistoryFileRead(app.History.path, &text))
        return false;
    *found = HistoryFindUndos(text, undos, [&app](const HistorySortLine& sort) { return UndoSortTrusted(app, sort); },
                              passedOver);
    return true;
}

void ReportPassedOver(const std::vector<std::string>& passedOver)
{
    for (const std::string& time : passedOver)
        ReportActivity(Activity::NotUndone, time + "  its folders are not the collection's folders now");
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
    std::vector<std::string> passedOver;
    bool found = false;
    // A history that cannot be read leaves the record kept in memory.
    if (!HistoryUsable(app) || !ReadUndo(app, &undos, &found, &passedOver))
        return UndoLastSort(app);
    HistoryRunBegins(app.History);
    ReportPassedOver(passedOver);
    size_t pending = 0;
    for (HistoryUndo& undo : undos) {
        UndoTrustRecords(undo);
        HistoryUndoBegins(app.History, undo.plan);
        UndoReportStart(undo.plan);
        ReportRefused(app, undo);
        app.LastSort = std::move(undo.plan);
        UndoLastSort(app, true);
        pending += PendingSteps(app.LastSort);
    }
    if (pending)
        ReportActivity(Activity::UndoPending, CountText(pending, "step", "steps"));
    HistoryRunEnds(app.History);
    HistoryUndoRefresh(app);
}
