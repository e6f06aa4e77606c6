#include "util/run_lock.h"

#include <cstdint>
#include <cstdio>

#include "util/ansi_text.h"
#include "util/final_path.h"
#include "util/text_hash.h"

namespace {

// The folder's final path (links and short names resolved), or its full
// path where the system cannot tell.
std::string FinalPathOf(const std::string& folder)
{
    std::string finalPath;
    if (FinalPathOfFolder(folder, &finalPath))
        return finalPath;
    char buffer[1024];
    DWORD length = GetFullPathNameA(folder.c_str(), sizeof buffer, buffer, nullptr);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : folder;
}

// Waits for the mutex; an abandoned one is taken as free.
bool Acquired(DWORD woke)
{
    return woke == WAIT_OBJECT_0 || woke == WAIT_ABANDONED;
}

}  // namespace

std::string RunLockName(const std::string& folder, const char* kind)
{
    std::string path = WithoutTrailingBackslash(FinalPathOf(folder));
    if (!path.empty())
        CharUpperBuffA(&path[0], static_cast<DWORD>(path.size()));
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llX", static_cast<unsigned long long>(TextHash(path)));
    return std::string("Global\\Quillet-") + hash + kind;
}

bool RunLock::Take(const std::string& folder, DWORD milliseconds, RunLockWait wait)
{
    Release();
    mutex_ = CreateMutexA(nullptr, FALSE, RunLockName(folder).c_str());
    // A mutex that cannot be made or opened keeps the run out, as a taken one does.
    DWORD start = GetTickCount();
    while (!mutex_ && GetTickCount() - start < milliseconds) {
        Sleep(250);
        mutex_ = CreateMutexA(nullptr, FALSE, RunLockName(folder).c_str());
    }
    if (!mutex_)
        return false;
    DWORD waited = GetTickCount() - start;
    held_ = Acquired(wait(mutex_, waited >= milliseconds ? 0 : milliseconds - waited));
    return held_;
}

void RunLock::Release()
{
    if (held_)
        ReleaseMutex(mutex_);
    if (mutex_)
        CloseHandle(mutex_);
    mutex_ = nullptr;
    held_ = false;
}

HANDLE RunLockAppendTake(const std::string& historyPath)
{
    static std::string openFor;
    static HANDLE open = nullptr;
    if (!open || openFor != historyPath) {
        if (open)
            CloseHandle(open);
        size_t slash = historyPath.find_last_of('\\');
        std::string folder = slash == std::string::npos ? std::string(".") : historyPath.substr(0, slash);
        open = CreateMutexA(nullptr, FALSE, RunLockName(folder, "-History").c_str());
        openFor = historyPath;
    }
    // Without its mutex the line is still written: the history is never
    // given up for want of a lock.
    return open && Acquired(WaitForSingleObject(open, 10000)) ? open : nullptr;
}

void RunLockAppendGive(HANDLE mutex)
{
    if (mutex)
        ReleaseMutex(mutex);
}

RunLockAppend::RunLockAppend(const std::string& historyPath) : mutex_(RunLockAppendTake(historyPath)) {}

RunLockAppend::~RunLockAppend()
{
    RunLockAppendGive(mutex_);
}
