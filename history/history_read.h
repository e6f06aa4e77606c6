// Reading the history back: the sorts that still have something to take
// back, each rebuilt as the plan an undo walks. A record is evidence, not an
// order: a placement is handed to the undo only when its sort's start line is
// there, its destination is that sort's target + category + "\" + the file's
// name, and its package lies below that sort's source; any other record of
// the sort is refused, with the reason. Lines whose check fails (damaged,
// edited by hand, cut short, or written without one) are passed over before
// any field is read.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/sort_plan.h"

struct HistoryRefusal {
    size_t at;           // the refused record, in the plan as a placement that is not run
    std::string reason;
};

// A sort's start line: its time as written, its collection and its folders.
struct HistorySortLine {
    std::string_view time, index, mode, source, target;
};

// Whether the undo may act on a sort at all; the caller's rule.
using HistorySortCheck = std::function<bool(const HistorySortLine&)>;

struct HistoryUndo {
    SortPlan plan;  // steps left to undo and refused records, with their numbers;
                    // its source and target are the found sort's folders
    std::vector<HistoryRefusal> refused;
};

// Finds what one undo takes back, in order: the newest sort with a step left
// to undo or a record not yet refused that no undo has taken on yet (no
// "Undo" line names it), then each sort an undo has taken on that still has
// steps pending, newest first. False when there is nothing. Steps cut short
// by a crash (a line before the file operation, none after) are settled by
// looking at the disk; a step whose last undo failed for a system error, or
// that an undo cut short never reached, is pending.
// A sort with something left that the check refuses is passed over (its time
// noted in passedOver, nothing of it read from the disk) and the search goes
// on with the next older one; with no check every sort is taken.
bool HistoryFindUndos(const std::string& text, std::vector<HistoryUndo>* undos, const HistorySortCheck& check = nullptr,
                      std::vector<std::string>* passedOver = nullptr);
