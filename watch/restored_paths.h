// The packages an undo put back into the source, as the history's "Undone"
// lines tell (this Quillet's or another's): the watch never takes one of them
// again, which would take back what the user has just taken back. The history
// is followed from where the watch began, reading only what was added since.
#pragma once

#include <string>

#include "model/arrival_watch.h"

// Reads from here on: the history written before counts for nothing.
void RestoredPathsBegin(ArrivalWatch& watch, const std::string& historyPath);

// Reads the whole lines added to the history since; each package put back
// whole ("done") is kept, lower-cased, in `watch.restored`, with the size and
// time of the file put back.
void RestoredPathsFollow(ArrivalWatch& watch, const std::string& historyPath);

// Each waiting package that an undo put back counts as handled, as it stands:
// its path, and its size and time where the history names them, are the
// file's put back.
void RestoredPathsTakeWaiting(ArrivalWatch& watch);
