// What a dead run left: at every start, before any sort or watch, each
// staging folder a run named in the history (history/history_staging.h) and
// never let go is settled, when the history proves it the dead run's own:
// - the folder is exactly the one the run named: "~Quillet-<computer>-<run
//   id>" in the target's folder of the run's sort (for an undo's copy back,
//   in the sort's source);
// - that sort's start line is in the history and passes the undo's checks
//   (its collection and folders are the settings' now, undo/undo_trust.h);
// - the computer named is this one, and no process of the id named with the
//   creation time named still runs.
// Inside such a folder, through the room of file acts and its checks, every
// file named "<n>.tmp" is removed ("Piece removed" per file); anything else
// stays, with a "Piece left" line that says why; the emptied folder is
// removed, and the history says the folder is settled. Nothing else named
// "~Quillet-*" is touched or even listed: a name in a folder others write is
// no evidence, and a run of another computer on a shared target is not ours.
#pragma once

struct AppState;

// Settles what the history names, as above, with the settings now in force.
void LeftoverPiecesSettle(AppState& app);
