// Reading the history back: the newest sort that still has something to take
// back, rebuilt as the plan an undo walks. A record is evidence, not an
// order: a placement is handed to the undo only when its sort's start line is
// there, its destination is that sort's target + category + "\" + the file's
// name, and its package lies below that sort's source; any other record of
// the sort is refused, with the reason. Lines that cannot be read whole
// (damaged, edited by hand, the last one cut short) are passed over.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/sort_plan.h"

// The folders a sort's start line names.
struct HistorySortFolders {
    std::string source, target;
};

struct HistoryRefusal {
    size_t at;           // the refused record, in the plan as a placement that is not run
    std::string reason;
};

// A sort's start line: its time as written, its collection and its folders.
struct HistorySortLine {
    std::string_view time, index, source, target;
};

// Whether the undo may act on a sort at all; the caller's rule.
using HistorySortCheck = std::function<bool(const HistorySortLine&)>;

struct HistoryUndo {
    SortPlan plan;  // steps left to undo and refused records, with their numbers
    std::vector<HistoryRefusal> refused;
    HistorySortFolders folders;           // the found sort's source and target
    std::vector<std::string> passedOver;  // times of newer sorts the check refused
};

// Finds the newest sort in the history's text with a step left to undo or a
// record not yet refused; false when there is none. Steps cut short by a
// crash (a line before the file operation, none after) are settled by
// looking at the disk; a step whose last undo failed for a system error is
// a step again.
// A sort with something left that the check refuses is passed over (its time
// noted, nothing of it read from the disk) and the search goes on with the
// next older one; with no check every sort is taken.
bool HistoryFindUndo(const std::string& text, HistoryUndo* undo, const HistorySortCheck& check = nullptr);
