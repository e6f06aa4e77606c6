#include "util/file_progress.h"

#include <windows.h>

#include <algorithm>

namespace {

thread_local FileProgress* t_bound = nullptr;

uint64_t Bytes(LARGE_INTEGER value)
{
    return static_cast<uint64_t>(value.QuadPart);
}

DWORD CALLBACK CopyRoutine(LARGE_INTEGER, LARGE_INTEGER transferred, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                           HANDLE, HANDLE, LPVOID data)
{
    FileProgress* progress = static_cast<FileProgress*>(data);
    progress->routineBytes = Bytes(transferred);
    progress->routineCalled = true;
    return PROGRESS_CONTINUE;
}

void SetWriting(FileProgress& progress, const std::string& path)
{
    std::lock_guard<std::mutex> guard(progress.lock);
    progress.writing = path;
}

// The size of the file being written; 0 when none is or it cannot be read.
uint64_t WrittenBytes(FileProgress& progress)
{
    std::string path;
    {
        std::lock_guard<std::mutex> guard(progress.lock);
        path = progress.writing;
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

void FileProgressBind(FileProgress* progress)
{
    t_bound = progress;
}

void FileProgressCompared(uint64_t bytes)
{
    if (t_bound)
        t_bound->comparedBytes += bytes;
}

bool FileProgressCopy(const std::string& from, const std::string& to)
{
    FileProgress* progress = t_bound;
    if (!progress)
        return CopyFileExA(from.c_str(), to.c_str(), nullptr, nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS) != 0;
    progress->comparedBytes = 0;
    SetWriting(*progress, to);
    BOOL copied = CopyFileExA(from.c_str(), to.c_str(), CopyRoutine, progress, nullptr, COPY_FILE_FAIL_IF_EXISTS);
    DWORD error = GetLastError();
    SetWriting(*progress, std::string());
    SetLastError(error);
    return copied != 0;
}

int FileProgressPercent(FileProgress& progress)
{
    uint64_t done = progress.routineCalled ? progress.routineBytes.load() : WrittenBytes(progress);
    done = std::max(done, progress.comparedBytes.load());
    if (progress.total == 0)
        return 0;
    return static_cast<int>(std::min<uint64_t>(99, done * 100 / progress.total));
}
