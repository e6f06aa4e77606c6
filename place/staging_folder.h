// A run's own folder for data on its way: "~Quillet-<computer>-<run id>" in
// the folder the data goes to (the target's folder; the source for an undo's
// copy back). Every copy is written there under a name of its own ("<n>.tmp")
// and gets its final name only when complete, so that a killed run leaves no
// piece under a name a user or a later run could take for a package. At the
// first copy the run names the folder in the history and flushes it
// (history/history_staging.h), then makes the folder inside the run's held
// folder, holds it (without delete sharing) while the run lasts, and removes
// it, empty, when the run ends, as the level of that held folder it was made
// as; the history then says so. A start settles only what the history names
// (cleanup/leftover_pieces.h): a folder of this name that no history line
// names is never touched, whoever made it.
#pragma once

#include <string>

#include "file_acts/act_file.h"
#include "file_acts/act_folder.h"

struct HistoryLog;

extern const char StagingFolderPrefix[];  // "~Quillet-"

struct StagingFolder {
    const ActFolder* parent = nullptr;  // where it is made, held by the run
    std::string parentPath;             // its path, ending with "\"
    std::string name;                   // prefix + computer + "-" + run id
    std::string runId;
    HistoryLog* history = nullptr;      // where it is named before it is made
    std::string sortId;                 // the sort whose folders it lies in
    bool made = false;
    ActFolder held;
    unsigned next = 0;
};

// The folder's name for the run: "~Quillet-<computer>-<run id>".
std::string StagingFolderName(const std::string& computer, const std::string& runId);

// Where a run whose destination folders are `folder` + a category keeps its
// copies: the folder up to its last "\" (a folder text without a final "\"
// is glued to the category).
std::string StagingParentOf(const std::string& folder);

// Names the run's folder inside the held parent (whose path is parentPath);
// nothing is made yet. The history, when given, is where the folder is named
// before it is made (a run without one leaves a killed run's folder for the
// user: nothing names it); sortId is the sort whose folders it lies in. A run
// without a history run id takes one of the process's own.
void StagingFolderSetUp(StagingFolder& staging, const ActFolder* parent, const std::string& parentPath,
                        const std::string& runId, HistoryLog* history = nullptr, const std::string& sortId = "");

// Makes the next staged file ("<n>.tmp"), new and held for writing, making
// the folder at the first call. 0, or the system's code (a folder that cannot
// be made: the parent is not held, the volume refuses).
unsigned long StagingFolderCreate(StagingFolder& staging, ActFile& staged);

// Lets go of the folder and removes it when it is empty.
void StagingFolderEnd(StagingFolder& staging);
