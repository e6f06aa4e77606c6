#include "history/history_log.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "history/history_file.h"
#include "history/history_line.h"
#include "history/history_staging.h"
#include "model/history_log.h"
#include "model/sort_plan.h"
#include "util/file_identity.h"
#include "util/run_lock.h"
#include "util/system_error.h"

namespace {

// "<°)))o><²³" and the blanks after it start every explanation; the history
// keeps the text after them.
std::string WithoutMarker(const std::string& explanation)
{
    const std::string marker = "<\xB0)))o><\xB2\xB3";
    if (explanation.compare(0, marker.size(), marker) != 0)
        return explanation;
    size_t text = explanation.find_first_not_of(' ', marker.size());
    return text == std::string::npos ? std::string() : explanation.substr(text);
}

void Fault(HistoryLog& log, DWORD error)
{
    log.faulted = true;
    RunLockAppendGive(static_cast<HANDLE>(log.appendLock));
    log.appendLock = nullptr;
    if (log.file) {
        CloseHandle(static_cast<HANDLE>(log.file));
        log.file = nullptr;
    }
    std::string detail = log.path + "  " + HistoryField(ErrorTextOrCode(error));
    if (log.startingUp)
        log.pendingFault = detail;
    else if (log.showFault)
        log.showFault(detail);
}

// How long a run keeps the append mutex before it lets the other processes
// that write this history have it.
const DWORD AppendLockTurn = 50;

void LetGoAppendLock(HistoryLog& log)
{
    RunLockAppendGive(static_cast<HANDLE>(log.appendLock));
    log.appendLock = nullptr;
}

// Takes the append mutex for a run that keeps it, or takes it anew once it
// has been kept for a turn: letting go hands it to a process waiting for it.
void KeepAppendLock(HistoryLog& log)
{
    DWORD now = GetTickCount();
    if (log.appendLock && now - log.appendLockSince < AppendLockTurn)
        return;
    LetGoAppendLock(log);
    log.appendLock = RunLockAppendTake(log.path);
    log.appendLockSince = now;
}

// Appends under the append mutex: one brief turn of it, or the run's kept one.
bool AppendLocked(HistoryLog& log, const std::string& lines, DWORD* error)
{
    if (log.keepAppendLock) {
        KeepAppendLock(log);
        return HistoryFileAppend(static_cast<HANDLE>(log.file), lines, error);
    }
    RunLockAppend append(log.path);
    return HistoryFileAppend(static_cast<HANDLE>(log.file), lines, error);
}

// Writes the deferred line, if any, and then the text, in one write. The
// deferred text keeps its room for the next lines.
void WriteText(HistoryLog& log, const std::string& text)
{
    if (log.path.empty() || log.faulted)
        return;
    log.deferred += text;
    if (log.deferred.empty())
        return;
    DWORD error = 0;
    if (!log.file) {
        HANDLE file = HistoryFileOpen(log.path, &error);
        if (file == INVALID_HANDLE_VALUE) {
            log.deferred.clear();
            return Fault(log, error);
        }
        log.file = file;
    }
    bool written = AppendLocked(log, log.deferred, &error);
    log.deferred.clear();
    if (!written)
        return Fault(log, error);
    log.unflushed = true;
    log.runUsed = true;
}

void Write(HistoryLog& log, const std::vector<std::string>& fields, const std::string& time = HistoryTimeNow())
{
    if (log.path.empty() || log.faulted)
        return;
    WriteText(log, HistoryLineText(time, log.runId, fields));
}

void NewRunId(HistoryLog& log)
{
    log.runId = log.session + "-" + std::to_string(++log.runNumber);
    log.runUsed = false;
}

const char* ModeText(CopyMode mode)
{
    return mode == CopyMode::Copy    ? "Copy"
           : mode == CopyMode::Move  ? "Move"
           : mode == CopyMode::Older ? "Older"
                                     : "Other";
}

const char* OutcomeText(PlacementOutcome outcome)
{
    switch (outcome) {
    case PlacementOutcome::Placed:
        return "placed";
    case PlacementOutcome::Failed:
        return "failed";
    case PlacementOutcome::SourceRemoved:
        return "package removed";
    case PlacementOutcome::Identical:
        return "identical";
    default:
        return "not run";
    }
}

// A placement's number in the history of its sort.
std::string NumberOf(const SortPlan& plan, size_t at)
{
    return std::to_string(at < plan.historyNumbers.size() ? plan.historyNumbers[at] : at);
}

// The hold ends: the held line goes to the line that takes it (see TakeHeld);
// the lines held after it come out, to be written after that line.
std::string LetGoHeld(HistoryLog& log)
{
    log.holding = false;
    log.heldTitle.clear();
    log.heldText.clear();
    std::string after;
    after.swap(log.heldAfter);
    return after;
}

// The held status line, given up to the line that takes it; the lines held
// after it come out of the hold, to be written after that line.
std::string TakeHeld(HistoryLog& log, std::vector<std::string>& fields)
{
    fields.push_back(log.heldTitle);
    fields.push_back(log.heldText);
    return LetGoHeld(log);
}

// The placement's folders made, as fields of its line.
void AddFolders(const SortPlan& plan, const Placement& placement, std::string& line)
{
    for (uint32_t i = 0; i < placement.createdFolderCount; ++i)
        HistoryLineAdd(line, plan.createdFolders[placement.firstCreatedFolder + i]);
}

// Whether the run writes lines: a line not written is not made either.
bool Writes(const HistoryLog& log)
{
    return !log.path.empty() && !log.faulted;
}

}  // namespace

void HistoryLogSetUp(HistoryLog& log, const std::string& baseFolder)
{
    log.path = baseFolder + "Quillet.History.Log";
    // The staging folders of runs not settled yet stay named in the new file.
    HistoryFileRotate(log.path, baseFolder + "Quillet.History.Old.Log", HistoryFileLimit, HistoryUnsettledLines);
    // Process id and start time: no two processes share a run id.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    uint64_t seconds = ((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000000;
    char session[48];
    std::snprintf(session, sizeof session, "%llX-%lX", static_cast<unsigned long long>(seconds),
                  static_cast<unsigned long>(GetCurrentProcessId()));
    log.session = session;
    NewRunId(log);
}

void HistoryWriteLine(HistoryLog& log, const std::vector<std::string>& fields)
{
    Write(log, fields);
}

void HistoryFlush(HistoryLog& log)
{
    WriteText(log, std::string());
    if (log.file && log.unflushed) {
        FlushFileBuffers(static_cast<HANDLE>(log.file));
        log.unflushed = false;
    }
}

void HistoryRunBegins(HistoryLog& log)
{
    if (log.runUsed)
        NewRunId(log);
}

void HistoryRunEnds(HistoryLog& log)
{
    WriteText(log, std::string());
    HistoryKeepAppendLock(log, false);
    if (!log.file)
        return;
    if (log.unflushed)
        FlushFileBuffers(static_cast<HANDLE>(log.file));
    CloseHandle(static_cast<HANDLE>(log.file));
    log.file = nullptr;
    log.unflushed = false;
}

void HistoryKeepAppendLock(HistoryLog& log, bool keep)
{
    log.keepAppendLock = keep;
    if (!keep)
        LetGoAppendLock(log);
}

void HistoryStartupBegins(HistoryLog& log)
{
    log.startingUp = true;
    HistoryRunBegins(log);
}

void HistoryStartupEnds(HistoryLog& log)
{
    log.startingUp = false;
    if (!log.pendingFault.empty() && log.showFault)
        log.showFault(log.pendingFault);
    log.pendingFault.clear();
}

void HistoryStatusLine(HistoryLog& log, const std::string& title, const std::string& explanation)
{
    if (log.holding && !log.heldTitle.empty()) {
        if (!log.path.empty() && !log.faulted)
            log.heldAfter += HistoryLineText(HistoryTimeNow(), log.runId, {"Status", title, WithoutMarker(explanation)});
        return;
    }
    if (log.holding) {
        log.heldTitle = title;
        log.heldText = WithoutMarker(explanation);
        return;
    }
    Write(log, {"Status", title, WithoutMarker(explanation)});
}

void HistorySortBegins(HistoryLog& log, const std::string& index, const std::string& source,
                       const std::string& target, SortPlan& plan)
{
    HistoryRunBegins(log);
    plan.historyId = log.runId;
    plan.index = index;
    plan.time = HistoryTimeNow();
    log.sortIndex = index;
    Write(log, {"Sort", index, ModeText(plan.mode), source, target}, plan.time);
}

void HistorySortEnds(HistoryLog& log, const SortPlan& plan)
{
    for (const Placement& placement : plan.placements) {
        if (placement.outcome == PlacementOutcome::Placed || placement.outcome == PlacementOutcome::SourceRemoved)
            log.undoAvailable = true;
    }
    HistoryRunEnds(log);
}

// The two lines of a placement are made field by field into one text that
// keeps its room (HistoryLog::composing): a sort writes them for every file.
void HistoryBeforePlacement(HistoryLog& log, const SortPlan& plan, size_t at, const FileIdentity* identity)
{
    log.holding = true;
    if (!Writes(log))
        return;
    const Placement& placement = plan.placements[at];
    const PlannedPackage& package = plan.packages[placement.package];
    FileIdentity known = identity ? *identity : FileIdentity();
    std::string& line = log.composing;
    HistoryLineBegin(line, HistoryTimeNow(), log.runId);
    HistoryLineAdd(line, "Place");
    HistoryLineAddNumber(line, at);
    HistoryLineAdd(line, log.sortIndex);
    HistoryLineAdd(line, ModeText(plan.mode));
    HistoryLineAdd(line, package.folder, package.name);
    HistoryLineAdd(line, placement.folder, package.name);
    for (unsigned long long number : {known.size, known.lastWriteTime, static_cast<uint64_t>(known.volume), known.index})
        HistoryLineAddNumber(line, number);
    AddFolders(plan, placement, line);
    HistoryLineFrame(line);
    WriteText(log, line);
}

void HistoryAfterPlacement(HistoryLog& log, const SortPlan& plan, size_t at)
{
    if (!Writes(log)) {
        LetGoHeld(log);
        return;
    }
    const Placement& placement = plan.placements[at];
    const PlannedPackage& package = plan.packages[placement.package];
    std::string& line = log.composing;
    HistoryLineBegin(line, HistoryTimeNow(), log.runId);
    HistoryLineAdd(line, "Placed");
    HistoryLineAddNumber(line, at);
    HistoryLineAdd(line, OutcomeText(placement.outcome));
    HistoryLineAdd(line, log.sortIndex);
    HistoryLineAdd(line, ModeText(plan.mode));
    HistoryLineAdd(line, package.folder, package.name);
    HistoryLineAdd(line, placement.folder, package.name);
    HistoryLineAddNumber(line, placement.size);
    HistoryLineAddNumber(line, placement.lastWriteTime);
    HistoryLineAdd(line, placement.destinationExisted ? "yes" : "no");
    HistoryLineAdd(line, log.heldTitle);
    HistoryLineAdd(line, log.heldText);
    if (!package.knownAs.empty())
        HistoryLineAdd(line, HistoryKnownAsPrefix, package.knownAs);
    AddFolders(plan, placement, line);
    HistoryLineFrame(line);
    // The line, stamped now, goes out with the next line or at the run's end: a
    // placement's outcome line and the next placement's line before its file
    // operation then take one write (and one turn of the history's lock) instead
    // of two. A killed run then lacks the outcome line only of the placement whose
    // line before it is the run's last, which the history's reader settles by
    // what the disk shows, as it does for an operation cut short.
    log.deferred += line;
    log.deferred += LetGoHeld(log);
    log.runUsed = true;
}

void HistoryUndoBegins(HistoryLog& log, const SortPlan& plan)
{
    std::string key = log.runId + "\t" + plan.historyId;
    if (log.undoWrittenFor == key)
        return;
    log.undoWrittenFor = key;
    Write(log, {"Undo", plan.historyId});
}

void HistoryBeforeUndoStep(HistoryLog& log, const SortPlan& plan, size_t at)
{
    const Placement& placement = plan.placements[at];
    const PlannedPackage& package = plan.packages[placement.package];
    Write(log, {"Undoing", plan.historyId, NumberOf(plan, at), placement.folder + package.name,
                package.folder + package.name});
    log.holding = true;
}

void HistoryHoldStatus(HistoryLog& log)
{
    log.holding = true;
}

void HistoryAfterUndoStep(HistoryLog& log, const SortPlan& plan, size_t at, UndoStepEnd end, uint64_t putBackSize,
                          uint64_t putBackTime)
{
    const Placement& placement = plan.placements[at];
    const PlannedPackage& package = plan.packages[placement.package];
    const char* result = end == UndoStepEnd::Done ? "done" : end == UndoStepEnd::Final ? "final" : "retry";
    std::vector<std::string> fields = {"Undone", plan.historyId, NumberOf(plan, at), result,
                                       placement.folder + package.name, package.folder + package.name};
    std::string after = TakeHeld(log, fields);
    fields.push_back(std::to_string(putBackSize));
    fields.push_back(std::to_string(putBackTime));
    Write(log, fields);
    WriteText(log, after);
}
