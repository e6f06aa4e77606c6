// A run's own folder for data on its way: "~Quillet-<run id>" in the folder
// the data goes to (the target's folder; the source for an undo's copy back).
// Every copy is written there under a name of its own ("<n>.tmp") and gets
// its final name only when complete, so that a killed run leaves no piece
// under a name a user or a later run could take for a package. The folder is
// made inside the run's held folder at the first copy, held (without delete
// sharing) while the run lasts, and removed, empty, when the run ends, as the
// level of that held folder it was made as; a start removes what a dead run left
// (sorting/leftover_pieces.h).
#pragma once

#include <cstdint>
#include <string>

#include "file_acts/act_file.h"
#include "file_acts/act_folder.h"

extern const char StagingFolderPrefix[];  // "~Quillet-"

struct StagingFolder {
    const ActFolder* parent = nullptr;  // where it is made, held by the run
    std::string parentPath;             // its path, ending with "\", for the lines
    std::string runId;
    std::string name;                   // prefix + run id, once made
    ActFolder held;
    unsigned next = 0;
};

// Where a run whose destination folders are `folder` + a category keeps its
// copies: the folder up to its last "\" (a folder text without a final "\"
// is glued to the category).
std::string StagingParentOf(const std::string& folder);

// Names the run's folder inside the held parent (whose path is parentPath);
// nothing is made yet. A run without a history run id takes one of the same
// shape: the process's start second and id.
void StagingFolderSetUp(StagingFolder& staging, const ActFolder* parent, const std::string& parentPath,
                        const std::string& runId);

// Makes the next staged file ("<n>.tmp"), new and held for writing, making
// the folder at the first call. 0, or the system's code (a folder that cannot
// be made: the parent is not held, the volume refuses).
unsigned long StagingFolderCreate(StagingFolder& staging, ActFile& staged);

// Lets go of the folder and removes it when it is empty.
void StagingFolderEnd(StagingFolder& staging);

// The process id and start second a folder name "~Quillet-<run id>" holds;
// false for any other name.
bool StagingFolderRunOf(const std::string& name, uint64_t* seconds, unsigned long* processId);
