// Writing the history: every status line of the session, and for each file
// operation of a sort or an undo a line before it (what is about to happen)
// and a line after it (what came of it, with the facts an undo needs and the
// operation's status line). The file is opened at a run's first line and
// closed, flushed, when the run ends. A write that fails is reported once in
// the status list, and the session writes no more.
//
// Lines (tab-separated, after the time and the run id):
//   Status   title, text (the marker dropped)
//   Sort     index, mode, source, target (putting older versions aside:
//            mode "Older", the target as source and target)
//   Place    number, index, mode, package, destination, the package's size,
//            last-write time, volume serial number and file index (0 when
//            not known), folders made...
//   Placed   number, outcome, index, mode, package, destination, size,
//            last-write time, stood there before, title, text, for a package
//            its contents placed "known as " and the name that matched (the
//            made folders are full paths, none of which starts so), folders
//            made...
//   Undo     sort id
//   Undoing  sort id, number, placed file, package
//   Undone   sort id, number, result (done, final, retry), placed file,
//            package, title, text, the size and last-write time of the file
//            put back (0 and 0 when none was)
// Every line then ends with a tab and its check: the CRC-32 of the line's
// bytes before that tab, as eight upper-case hex digits. A line whose check
// fails (cut short, edited, or written by a version without the check) is no
// record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The start of the Placed line's field that names what a package's contents
// gave, where no row named its file name.
constexpr char HistoryKnownAsPrefix[] = "known as ";

struct FileIdentity;
struct HistoryLog;
struct Placement;
struct SortPlan;

// The history beside the other files of the base folder: set up for this
// process, and put aside when it has grown too large.
void HistoryLogSetUp(HistoryLog& log, const std::string& baseFolder);

// A run (start-up, one event, a sort, an undo) begins: its lines get a new id.
void HistoryRunBegins(HistoryLog& log);
// The run's lines are flushed to the disk and the file closed.
void HistoryRunEnds(HistoryLog& log);

// keep: the writes that follow keep the history's append mutex between them,
// handing it to other processes at least every 50 ms, instead of two waits
// on the system per write (a sort's placements). Not keep: lets it go now.
void HistoryKeepAppendLock(HistoryLog& log, bool keep);

// Start-up: a fault found meanwhile is shown only once it ends.
void HistoryStartupBegins(HistoryLog& log);
void HistoryStartupEnds(HistoryLog& log);

// A status line, or held for the outcome line of the operation under way.
void HistoryStatusLine(HistoryLog& log, const std::string& title, const std::string& explanation);

// A line of the run now under way: its kind and fields (history_staging.h
// writes its lines so), and the lines written so far flushed to the disk.
void HistoryWriteLine(HistoryLog& log, const std::vector<std::string>& fields);
void HistoryFlush(HistoryLog& log);

// A sort begins (a run of its own, whose id the plan keeps) and ends.
void HistorySortBegins(HistoryLog& log, const std::string& index, const std::string& source,
                       const std::string& target, SortPlan& plan);
void HistorySortEnds(HistoryLog& log, const SortPlan& plan);

// Before and after the file operation of the plan's placement at that place;
// before it, with the identity of the package about to be placed (or null
// when it was not opened).
void HistoryBeforePlacement(HistoryLog& log, const SortPlan& plan, size_t at, const FileIdentity* package);
void HistoryAfterPlacement(HistoryLog& log, const SortPlan& plan, size_t at);

// An undo of the plan's sort begins (written once per run and sort).
void HistoryUndoBegins(HistoryLog& log, const SortPlan& plan);

// How an undo step ended: taken back, never to be tried again, or failed for
// a system error (a held file, a missing folder), to be tried again.
enum class UndoStepEnd { Done, Final, Retry };

// Before and after an undo step, the plan's placement at that place. A record
// refused without a file operation has no line before: its status line is
// only held (HistoryHoldStatus) for the line after.
void HistoryBeforeUndoStep(HistoryLog& log, const SortPlan& plan, size_t at);
void HistoryHoldStatus(HistoryLog& log);
void HistoryAfterUndoStep(HistoryLog& log, const SortPlan& plan, size_t at, UndoStepEnd end, uint64_t putBackSize = 0,
                          uint64_t putBackTime = 0);
