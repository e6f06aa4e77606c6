// What the file system says of a path, asked once: whether anything stands
// there, and a file's size and last-write time, by which a sort recognises
// the files it placed.
#pragma once

#include <cstdint>
#include <string>

bool PathExists(const std::string& path);

struct FileStamp {
    uint64_t size = 0;
    uint64_t lastWriteTime = 0;  // FILETIME as one number
};

// The stamp of the file at the path; false when nothing or a folder is there.
bool ReadFileStamp(const std::string& path, FileStamp* stamp);
