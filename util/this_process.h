// Who this run is, as far as another run can tell: the computer's name, the
// process's id and its creation time. Together they name a run's staging
// folder and let a later start tell a dead run from a live one: a process id
// means nothing on another computer, and one process id is reused by others.
#pragma once

#include <cstdint>
#include <string>

// The computer's NetBIOS name ("computer" when the system gives none).
std::string ThisComputerName();

// The creation time of the calling process (FILETIME as one number).
uint64_t ThisProcessCreated();

// Whether a process of that id, created at that time, still runs on this
// computer. One that cannot be asked (access denied) counts as running.
bool ProcessStillRuns(unsigned long processId, uint64_t created);
