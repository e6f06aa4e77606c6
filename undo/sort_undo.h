// Taking the last sort back: each thing it did to a package reversed, last
// first, where the files prove that nothing has changed since.
#pragma once

struct AppState;
struct SortPlan;

// Whether the plan holds a placement that an undo would take back: a package
// placed, or one removed from its folder because its copy stood at the
// destination.
bool UndoAvailable(const SortPlan& plan);

// Keeps a run's plan as the one "Undo the last sort" takes back, in place of
// the record of an older run, when the run made or removed a file or made a
// folder; a run that changed nothing leaves the older record as it was.
void UndoKeepRun(AppState& app, SortPlan&& plan);

// Reverses AppState::LastSort, last placement first, with one status line per
// placement and one at the end, the window title counting like a sort's:
// - a moved package goes back when the file at the destination still has the
//   size and last-write time it had after the move and nothing stands at its
//   place;
// - a package removed for its copy is copied back from that copy, on the same
//   conditions;
// - a copy is deleted when it still has its size and last-write time and the
//   same bytes as its package, which must still be there (else the copy may
//   be the only one left); a copy that replaced a file cannot be taken back.
// Nothing is overwritten, and a failed copy or move back removes only what it
// made. Then every folder the sort created that is empty now is removed. The
// steps that failed for a system error (a held file, a missing folder) stay
// in AppState::LastSort for the next undo to try again; every other step is
// dropped from it, done or not. Does nothing when there was nothing to undo. The packages list is left as it was: the caller loads the
// index again to show what lies in the source now.
// The undo begins with its line "Undo started" (see UndoReportStart) unless
// the caller has given it already.
void UndoLastSort(AppState& app, bool announced = false);

// Says what an undo of the plan is about to take back, before it starts: the
// sort's index, its time as the history writes it, and the number of
// placements to take back.
void UndoReportStart(const SortPlan& plan);
