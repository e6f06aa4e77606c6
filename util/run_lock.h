// One run at a time per working folder. A sort, a preview, an undo and each
// sort of the watch hold the folder's run lock, the named mutex
// "Global\Quillet-" + a hash of the folder's upper-cased final path, so two
// Quillets over one folder (a scheduled /sort beside the window's watch)
// never race for the same files; each append to the history holds a second,
// brief one of the same kind, so their lines never tear.
//
// A mutex whose holder ended without letting go (a killed run) is abandoned
// and counts as free. "Global\" puts the name in the one namespace of every
// logon session, so a scheduled task running in another session (session 0,
// another account) meets the same mutex; Quillet runs elevated, and the
// default security of a mutex an administrator makes lets Administrators and
// SYSTEM, the accounts such a task runs as, open it. Not tested under Wine,
// which has a single session.
#pragma once

#include <windows.h>

#include <string>

// The mutex's name for the folder; `kind` follows the hash ("" for the run
// lock). Two spellings of one folder (letter case, a link, a short name) give
// one name.
std::string RunLockName(const std::string& folder, const char* kind = "");

// How a wait on the lock spends its time: waits on the mutex for at most
// `milliseconds` and returns what WaitForSingleObject would. The window's
// wait keeps the window painted meanwhile.
using RunLockWait = DWORD (*)(HANDLE mutex, DWORD milliseconds);

// How long a run waits for another to end before it gives up.
constexpr DWORD RunLockPatience = 10 * 60 * 1000;

class RunLock {
public:
    RunLock() = default;
    ~RunLock() { Release(); }
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    // Takes the folder's run lock, waiting up to `milliseconds` through
    // `wait`; false when another run still holds it then.
    bool Take(const std::string& folder, DWORD milliseconds, RunLockWait wait);
    void Release();

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

// The brief lock around appends to the history file at `historyPath`: takes
// its mutex (waiting at most 10 s) and returns it, or null when it was not
// had; RunLockAppendGive lets it go. The mutex of the last history used is
// kept open.
HANDLE RunLockAppendTake(const std::string& historyPath);
void RunLockAppendGive(HANDLE mutex);

// The lock around one append, held while this lives.
class RunLockAppend {
public:
    explicit RunLockAppend(const std::string& historyPath);
    ~RunLockAppend();
    RunLockAppend(const RunLockAppend&) = delete;
    RunLockAppend& operator=(const RunLockAppend&) = delete;

private:
    HANDLE mutex_ = nullptr;
};
