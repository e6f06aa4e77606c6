// Copying and moving one package file so that a failure removes only what
// this very operation made, and a killed run leaves no piece under a name a
// user or a later run could take for a package: every copy of data is
// written into a file of the run's staging folder (sorting/staging_folder.h)
// and renamed into place only when complete. A file that stood at the
// destination is never deleted or cut short by a failed attempt. Each
// operation takes paths and returns its result; it touches no window and no
// application state.
#pragma once

#include <cstdint>
#include <string>

#include "util/file_identity.h"
#include "util/scoped_handle.h"

struct StagingFolder;

struct PackageFileResult {
    bool done = false;
    unsigned long error = 0;          // the system's error code when not done, taken right at the failure
    bool destinationKnown = false;    // the attempt learnt whether a file of that name stood there
    bool destinationExisted = false;  //   and one did, before the attempt changed anything
    bool anotherFile = false;         // what answers to the destination's name is another file,
                                      //   of another long name (a short-name alias): left alone
    bool stamped = false;             // the placed copy's size and last-write time, read
    uint64_t size = 0;                //   through the handle that placed it
    uint64_t lastWriteTime = 0;
};

// The system calls the operations make, each setting the last error when it
// fails. Tests pass calls that fail at a chosen step, in the orders Windows
// fails in and Wine does not.
struct PackageFileCalls {
    // Copies the file onto a new file of the operation's own (CopyFileA,
    // never replacing).
    bool (*copy)(const std::string& from, const std::string& to);
    // Renames within one volume (MoveFileExA, never copying).
    bool (*rename)(const std::string& from, const std::string& to, bool replace);
    // Deletes the moved package once its copy is in place, only when it is
    // still the file that was copied (FileDeleteIfSame).
    SameFileDelete (*remove)(const std::string& path, const FileIdentity& noted, DWORD* error);
};

// The real calls.
const PackageFileCalls& SystemFileCalls();

// Copies the package to the destination, replacing a file of that name there
// only once the whole copy is made.
PackageFileResult CopyPackageFile(const std::string& source, const std::string& destination, StagingFolder& staging,
                                  const PackageFileCalls& calls = SystemFileCalls());

// CopyPackageFile for a package held open for reading (PackageOpenHeld),
// into the destination's folder held open by the run (its handle, or null):
// small packages are copied through the held handle, and the copy is renamed
// into the folder relative to the folder's handle. The package's handle is
// closed on return.
PackageFileResult CopyHeldPackageFile(ScopedHandle& package, HANDLE folder, const std::string& source,
                                      const std::string& destination, StagingFolder& staging);

// Copies the file to the destination; a file of that name there is kept and
// the copy refused ("already exists").
PackageFileResult CopyFileKeeping(const std::string& source, const std::string& destination, StagingFolder& staging,
                                  const PackageFileCalls& calls = SystemFileCalls());

// Moves the package to the destination. A file of that name already there is
// kept and the move refused ("already exists"). Neither function looks at the
// destination beforehand: in a folder of many files, asking whether a name is
// free costs Wine a walk through the folder.
PackageFileResult MovePackageFile(const std::string& source, const std::string& destination, StagingFolder& staging,
                                  const PackageFileCalls& calls = SystemFileCalls());

// MovePackageFile with the real calls, for a package held open with delete
// access (PackageOpenHeld): within one volume it is renamed through that
// handle, into the destination's folder relative to the folder's handle held
// by the run (or by path, without one). The handle is closed on return.
PackageFileResult MoveHeldPackageFile(ScopedHandle& package, HANDLE folder, const std::string& source,
                                      const std::string& destination, StagingFolder& staging);
