// A run's own folder for data on its way: "~Quillet-<run id>" in the folder
// the data goes to (the target; the source for an undo's copy back). Every
// copy is written there under a name of its own ("<n>.tmp") and gets its
// final name only when complete, so that a killed run leaves no piece under a
// name a user or a later run could take for a package. The folder is made at
// the first copy, held without delete sharing while the run lasts, and
// removed, empty, when the run ends; a start removes what a dead run left
// (sorting/leftover_pieces.h).
#pragma once

#include <cstdint>
#include <string>

#include "util/scoped_handle.h"

extern const char StagingFolderPrefix[];  // "~Quillet-"

struct StagingFolder {
    std::string parent;  // ends with "\"
    std::string runId;
    std::string path;    // parent + prefix + run id + "\", once made
    ScopedHandle held;
    unsigned next = 0;
};

// Where a run whose destination folders are `folder` + a category keeps its
// copies: the folder up to its last "\" (a folder text without a final "\"
// is glued to the category).
std::string StagingParentOf(const std::string& folder);

// Names the run's folder; nothing is made yet. A run without a history run id
// takes one of the same shape: the process's start second and id.
void StagingFolderSetUp(StagingFolder& staging, const std::string& parent, const std::string& runId);

// The path for the next copy, making the folder at the first call; empty
// text, with the system's error as the last error, when it cannot be made.
std::string StagingFolderNextFile(StagingFolder& staging);

// Lets go of the folder and removes it when it is empty.
void StagingFolderEnd(StagingFolder& staging);

// The process id and start second a folder name "~Quillet-<run id>" holds;
// false for any other name.
bool StagingFolderRunOf(const std::string& name, uint64_t* seconds, unsigned long* processId);
