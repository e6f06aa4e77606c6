// Copying and moving one package file so that a failure removes only what
// this very operation made, and a killed run leaves no piece under a name a
// user or a later run could take for a package: every copy of data is
// written into a file of the run's staging folder (place/staging_folder.h)
// and renamed into place only when complete. A file that stood at the
// destination is never deleted or cut short by a failed attempt. Each
// operation works on a file the caller opened and checked inside a held
// folder and on held folders (file_acts/), never on a path; it touches no
// window and no application state.
#pragma once

#include <cstdint>
#include <string>

#include "file_acts/act_file.h"
#include "file_acts/act_folder.h"
#include "util/file_identity.h"

struct StagingFolder;

struct PackageFileResult {
    bool done = false;
    unsigned long error = 0;          // the code when not done, taken right at the failure
    bool destinationKnown = false;    // the attempt learnt whether a file of that name stood there
    bool destinationExisted = false;  //   and one did, before the attempt changed anything
    bool anotherFile = false;         // what answers to the destination's name is another file,
                                      //   of another long name (a short-name alias): left alone
    bool stamped = false;             // the placed copy's size and last-write time, read
    uint64_t size = 0;                //   through the handle that placed it
    uint64_t lastWriteTime = 0;
    unsigned long stampRefused = 0;   // why the copy stands without its package's
                                      //   time or attributes (its file system refused them)
};

// The file acts the operations are made of. Tests pass acts that fail at a
// chosen step, in the orders Windows fails in and Wine does not.
struct PackageFileCalls {
    // Copies the contents of the open file into the new staged file.
    unsigned long (*copy)(const ActFile& from, ActFile& to, unsigned long* stampRefused);
    // Renames the open file into the held folder (ActFileRenameInto).
    unsigned long (*rename)(ActFile& file, const ActFolder& into, const std::string& name, bool replace);
    // Deletes the open file when it is still the file noted (ActFileDelete).
    unsigned long (*remove)(ActFile& file, const FileIdentity* noted, bool clearReadOnly, bool anyLinks);
};

// The real acts.
const PackageFileCalls& SystemFileCalls();

// Copies the file (open for reading) into the folder under its own name,
// through a staged copy renamed into place; over a file of that name only
// with `replace`, and only as Windows would (never a read-only file, never
// another file a short name leads to). The file stays open.
PackageFileResult CopyPackageFile(const ActFile& file, const ActFolder& folder, StagingFolder& staging, bool replace,
                                  const PackageFileCalls& calls = SystemFileCalls());

// Why the file of that name in the held folder could not be replaced by a
// copy, or 0: a read-only file, or one held by a program that does not share
// its deletion, refuses the replacing rename. Only a look: the file is opened
// and closed again, and nothing is done through it.
unsigned long PackageReplaceRefusal(const ActFolder& folder, const std::string& name);

// Moves the file (open for a change) into the folder under its own name,
// never over a file of that name: a rename through its handle, or, to
// another volume, a copy through the staging folder and then the file's
// deletion through its handle. The handle is closed when the file is gone.
// Neither operation asks beforehand whether the name is free: in a folder of
// many files, asking costs Wine a walk through the folder.
PackageFileResult MovePackageFile(ActFile& file, const ActFolder& folder, StagingFolder& staging,
                                  const PackageFileCalls& calls = SystemFileCalls());
