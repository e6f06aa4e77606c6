// A run's staging folder in the history: the run names it in one line
// ("Staging") and flushes the history before it makes the folder, and says in
// another ("Unstaged") that it has let it go; a later start that settles what
// a dead run left says so in the same way. A start finds here the folders it
// may settle: those named by a staging line without its "Unstaged" line.
//
// Lines (tab-separated, after the time and the writer's run id):
//   Staging    folder, computer, process id, process creation time, sort id
//              (the run id is the run's own: the folder is "~Quillet-" +
//              computer + "-" + run id; the sort id names the sort whose
//              folders it lies in: the run's own, or the sort an undo takes back)
//   Unstaged   folder, run id of the run that made it
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct HistoryLog;

// Names the folder the run is about to make, then flushes the history so
// that the line is on the disk before the folder is. sortId: the sort whose
// folders the staging folder lies in.
void HistoryStagingNamed(HistoryLog& log, const std::string& folder, const std::string& sortId);

// The folder, named by the run `runId`, is let go (removed, or settled by a
// later start).
void HistoryStagingEnded(HistoryLog& log, const std::string& folder, const std::string& runId);

// A staging line without its "Unstaged" line, with its sort's start line.
struct HistoryStaging {
    std::string folder, computer, runId, sortId;
    unsigned long processId = 0;
    uint64_t created = 0;
    bool sortKnown = false;  // the sort's start line is in the text
    std::string sortTime, sortIndex, sortMode, sortSource, sortTarget;
};

// The unsettled staging lines of the history's text, oldest first. Lines
// whose check fails are no record.
std::vector<HistoryStaging> HistoryUnsettledStaging(const std::string& text);

// The lines of the text a new history file carries over when the old one is
// put aside: every unsettled staging line and its sort's start line, as they
// stand (each keeps its check).
std::string HistoryUnsettledLines(const std::string& text);
