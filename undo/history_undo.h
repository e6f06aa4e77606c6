// "Undo the last sort" from the history: the newest sort the history holds
// with something left to take back, also one of an earlier session or one a
// crash cut short, walked by the same undo as the sort just run. When the
// history cannot be written this session, the undo works from the record kept
// in memory, as it does without a history.
#pragma once

struct AppState;

// Whether "Undo the last sort" has anything to take back.
bool HistoryUndoAvailable(const AppState& app);

// Reads the history again to know whether anything is left to take back.
void HistoryUndoRefresh(AppState& app);

// Takes back the newest sort no undo has taken on yet, then tries again the
// steps earlier undos left pending (failed for a system error), newest sort
// first, so that a step that keeps failing never stops the undo from
// reaching older sorts. Records that are not a sort's own placements are
// reported as not undone and left, the rest are undone. Ends with one
// "Undo pending" line counting the steps still pending, when there are any.
void UndoFromHistory(AppState& app);
