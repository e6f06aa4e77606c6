// Knowing a file again, and acting on that very file: its identity (volume,
// file index, size, last-write time) read from an open handle, and the
// rename and deletion of a file through a handle held on it, so that no
// other file put under the same name meanwhile is touched.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct FileIdentity {
    uint32_t volume = 0;
    uint64_t index = 0;
    uint64_t size = 0;
    uint64_t lastWriteTime = 0;  // FILETIME as one number
    uint32_t attributes = 0;
    uint32_t links = 0;
};

bool FileIdentityOfHandle(HANDLE file, FileIdentity* identity);

// Only the size and last-write time of the file held. Cheaper under Wine
// than the whole identity, whose volume serial number is a request to
// another process.
bool FileStampOfHandle(HANDLE file, uint64_t* size, uint64_t* lastWriteTime);

// The identity of the file at the path, opened for its attributes alone,
// which no other program's sharing refuses. The error when it cannot be read.
bool FileIdentityRead(const std::string& path, FileIdentity* identity, DWORD* error);

// The same file, unchanged: volume, index, size and last-write time agree.
bool FileIdentitySame(const FileIdentity& a, const FileIdentity& b);

// Gives the file held (opened with DELETE access) a new name; never replaces
// a file of that name unless told to.
bool FileRenameThroughHandle(HANDLE file, const std::string& to, bool replace);

// Marks the file held (opened with DELETE access, and FILE_WRITE_ATTRIBUTES
// when its read-only attribute is to be cleared) for deletion, which happens
// when the last handle on it closes.
bool FileDeleteThroughHandle(HANDLE file, bool clearReadOnly);

// Opens a file of Quillet's own for renaming and deleting: nobody else may
// write or delete it while it is held.
HANDLE FileOpenOwn(const std::string& path);

// Deletes the file at the path only when it is still the file noted.
enum class SameFileDelete {
    Deleted,
    Gone,     // nothing stands at the path
    NotSame,  // another file, or one that changed, or one that cannot be told
    Refused,  // the file noted is there and cannot be deleted
};
SameFileDelete FileDeleteIfSame(const std::string& path, const FileIdentity& noted, DWORD* error);
