// The window's side of the run lock (util/run_lock.h): a sort, preview, undo
// or watch sort first takes the working folder's lock, waiting for another
// Quillet's run to end while the window keeps painting and the events raised
// meanwhile are dropped, as a long run drops them.
#pragma once

#include <string>

#include "util/run_lock.h"

// Takes the lock of the folder (the working folder) within RunLockPatience;
// false, with the line "Another Quillet is busy" naming the folder, when it
// stayed taken.
bool RunGuardTake(RunLock& lock, const std::string& folder);
