// The history file as the running program holds it: where it lies, the run
// its lines now belong to, the open file while a run writes, and whether it
// has failed this session. The functions that write it are in history/.
#pragma once

#include <string>

struct HistoryLog {
    std::string path;          // BaseFolder + "Quillet.History.Log"; empty: no history is kept
    std::string session;       // this process's part of every run id
    unsigned runNumber = 0;
    std::string runId;         // the run the lines now written belong to
    bool runUsed = false;      // a line carries the run id: the next run takes a new one
    std::string sortIndex;     // the index of the sort under way, named in its lines
    void* file = nullptr;      // the open file (a HANDLE) while a run writes, else null
    bool unflushed = false;    // lines written since the last flush
    bool startingUp = false;   // a fault now is shown after the start-up line
    bool faulted = false;      // a write failed: no more lines this session, undo uses memory
    std::string pendingFault;  // the fault's text, kept until start-up ends
    // Shows the fault's status line; installed by start-up.
    void (*showFault)(const std::string& detail) = nullptr;
    // While a file operation is under way, its status line is held and goes
    // into the line that gives the operation's outcome.
    bool holding = false;
    std::string heldTitle;
    std::string heldText;
    // Status lines after the held one (a twin's "Twin removed" after its
    // "Cannot move file"), as Status lines after the outcome's line.
    std::string heldAfter;
    // A placement's outcome line, kept to go out in one write with the next
    // line (the next placement's line before it, as a rule) or at the run's end.
    std::string deferred;
    std::string composing;  // a placement's line as it is made (its room kept)
    // A run that writes a line or two per file keeps the history's append
    // mutex (a HANDLE) between its writes, taking it anew now and then.
    bool keepAppendLock = false;
    void* appendLock = nullptr;
    unsigned long appendLockSince = 0;  // tick count when it was taken
    std::string undoWrittenFor;  // run id + sort id of the last undo start line
    bool undoAvailable = false;  // the history holds a sort with something left to take back
};
