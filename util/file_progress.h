// How far one long file operation has come, shared between the worker thread
// that does it and the window's thread that shows it (see off_thread.h). A
// copy reports the bytes it has written, a comparison the bytes it has
// compared: both loops are the program's own, so the bytes come from them.
#pragma once

#include <atomic>
#include <cstdint>

struct FileProgress {
    explicit FileProgress(uint64_t totalBytes) : total(totalBytes) {}
    const uint64_t total;                   // bytes of the file the operation works on
    std::atomic<uint64_t> copiedBytes{0};   // what a copy has written
    std::atomic<uint64_t> comparedBytes{0}; // what a comparison has compared
};

// The progress the calling thread's copies and comparisons report into;
// nullptr (the default) reports nothing.
void FileProgressBind(FileProgress* progress);

// A copy has written this many more bytes.
void FileProgressCopied(uint64_t bytes);

// A comparison has compared this many more bytes of each file.
void FileProgressCompared(uint64_t bytes);

// The whole percent done, from the bytes copied or compared, whichever is
// further. At most 99: the operation is not done until it has returned.
int FileProgressPercent(FileProgress& progress);
