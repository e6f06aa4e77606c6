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

// Takes back the newest sort not yet undone: its records that are not its
// own placements are reported as not undone and left, the rest are undone.
void UndoFromHistory(AppState& app);
