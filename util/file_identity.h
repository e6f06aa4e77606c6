// Knowing a file again: its identity (volume, file index, size, last-write
// time) read from an open handle or, only to look, from a path. What changes
// a file goes through the file acts (file_acts/act_file.h).
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
