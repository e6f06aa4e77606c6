// Copying a file's contents from one open file into another, through the
// two handles alone: its bytes, its named streams (a download's zone mark)
// and the attributes and last-write time CopyFileA gives a copy. The source
// is the file the caller opened and checked; the copy is a file the caller
// made (ActFileCreate), so no path is opened on the way.
#pragma once

#include <cstdint>

#include "file_acts/act_file.h"

// Copies everything of `from` into the new file `to`, reporting the bytes
// copied into the calling thread's FileProgress (util/file_progress.h). 0, or
// the system's code; on failure `to` holds an unknown part, for the caller
// to delete. The time and the attributes are set apart: a file system that
// refuses one of them (some mounts refuse attributes through an open file,
// FAT keeps no "not indexed" mark) leaves the copy without it, and
// *stampRefused (when given) gets the code; without it, that fails the copy.
unsigned long ActFileCopyContents(const ActFile& from, ActFile& to, unsigned long* stampRefused = nullptr);

// Whether the file, one of the caller's own, lies on a FAT volume, which
// takes no file of 4 GB or more: its file system's name says so on Windows;
// under Wine, which names every mount NTFS, a time with odd 100 ns units set
// on it and read back kept to whole 2 seconds does (FAT's resolution).
bool ActFileOnFat(ActFile& own);
