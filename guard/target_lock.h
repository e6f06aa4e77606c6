// Two computers never sort into one target at once. The run lock (a mutex)
// is one computer's own; a target on a share (or a stick passed around) is
// kept by a lock file in the target's folder, "~Quillet.lock", which stays
// there. A sort (the watch's too), an undo, putting older versions aside and
// /tidy hold an exclusive byte-range lock on it, taken after the run lock;
// a preview, which changes no file, takes none. The holder writes its
// computer's name into the file, outside the locked byte, so that another
// one waiting names it in its line.
//
// The file is opened through the room of file acts inside the held target:
// no reparse point, its name the target's and its own, one link, at most
// 1 KB, beginning with Quillet's own first line; anything else is no lock
// file of Quillet's, and no run goes on. Locally the system lets go of a
// dead holder's lock at once; on a share (SMB) the server does so only when
// it drops that client's connection, which can take minutes.
#pragma once

#include <string>

#include "file_acts/act_file.h"
#include "file_acts/act_folder.h"
#include "util/run_lock.h"

struct AppState;

struct TargetLock {
    ActFolder folder;
    ActFile file;
    bool held = false;
    ~TargetLock();
};

// Takes the lock of the active target's folder, waiting (the window painted)
// while another computer holds it, as long as a run waits for the run lock.
// When it must wait, one line "Another Quillet is busy" names the target and
// the computer that holds it. False, with that line, when the lock was not
// had in time, or when the lock file is not Quillet's (the line says why).
// A run without a target takes no lock and goes on.
bool TargetLockTake(TargetLock& lock, AppState& app);

// Lets go of the lock; the file stays.
void TargetLockRelease(TargetLock& lock);

// Both locks of a run that changes files in the target, let go of together.
struct RunHold {
    RunLock run;
    TargetLock target;
};

// This folder's run lock (guard/run_guard.h), then the target's lock; false,
// with the line that says who holds which, when either was not had.
bool RunHoldTake(RunHold& hold, AppState& app);
