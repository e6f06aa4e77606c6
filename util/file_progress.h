// How far one long file operation has come, shared between the worker thread
// that does it and the window's thread that shows it (see off_thread.h).
//
// Two sources tell the bytes done. CopyFileEx's progress routine, where the
// system calls it: Windows does, and there the destination is sized in full
// before it is written, so its size says nothing. Where the routine is never
// called (Wine calls it for no chunk at all), the size of the file being
// written, which grows as it is written. A comparison reports the bytes it
// has compared itself. The routine's path is reasoned, not tested, under Wine.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

struct FileProgress {
    explicit FileProgress(uint64_t totalBytes) : total(totalBytes) {}
    const uint64_t total;                     // bytes of the file the operation works on
    std::atomic<uint64_t> routineBytes{0};    // what the system's progress routine reported
    std::atomic<bool> routineCalled{false};
    std::atomic<uint64_t> comparedBytes{0};   // what a comparison has compared
    std::mutex lock;                          // guards writing
    std::string writing;                      // the file a copy now writes, or empty
};

// The progress the calling thread's copies and comparisons report into;
// nullptr (the default) reports nothing.
void FileProgressBind(FileProgress* progress);

// A comparison has compared this many more bytes of each file.
void FileProgressCompared(uint64_t bytes);

// CopyFileA (never replacing a file of that name) that reports into the thread's
// progress: CopyFileExA with a progress routine when one is bound, else
// without one.
bool FileProgressCopy(const std::string& from, const std::string& to);

// The whole percent done, from the routine's bytes once it has been called,
// else from the size of the file being written, else from the bytes compared.
// At most 99: the operation is not done until it has returned.
int FileProgressPercent(FileProgress& progress);
