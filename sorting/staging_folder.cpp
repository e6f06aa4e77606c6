#include "sorting/staging_folder.h"

#include <windows.h>

#include <cstdio>

#include "util/ansi_text.h"

const char StagingFolderPrefix[] = "~Quillet-";

namespace {

// The shape of the history's run ids: start second and process id in hex,
// then the run's number.
std::string ProcessRunId()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    uint64_t seconds = ((static_cast<uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime) / 10000000;
    static unsigned runs = 0;
    char id[64];
    std::snprintf(id, sizeof id, "%llX-%lX-s%u", static_cast<unsigned long long>(seconds),
                  static_cast<unsigned long>(GetCurrentProcessId()), ++runs);
    return id;
}

bool IsHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// Makes the folder and holds it: others may read and write in it, but
// neither delete nor rename it while the run lasts. A name already taken is
// not used: it is no folder of this run's.
bool MakeAndHold(StagingFolder& staging, const std::string& path)
{
    if (!CreateDirectoryA(path.c_str(), nullptr))
        return false;
    staging.held.Reset(CreateFileA(path.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!staging.held.Valid()) {
        DWORD error = GetLastError();
        RemoveDirectoryA(path.c_str());
        SetLastError(error);
        return false;
    }
    staging.path = path + "\\";
    return true;
}

}  // namespace

std::string StagingParentOf(const std::string& folder)
{
    size_t slash = AnsiFindLastBackslash(folder);
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

void StagingFolderSetUp(StagingFolder& staging, const std::string& parent, const std::string& runId)
{
    StagingFolderEnd(staging);
    staging.parent = parent;
    uint64_t seconds;
    unsigned long processId;
    staging.runId = StagingFolderRunOf(StagingFolderPrefix + runId, &seconds, &processId) ? runId : ProcessRunId();
    staging.next = 0;
}

std::string StagingFolderNextFile(StagingFolder& staging)
{
    if (staging.path.empty() && !MakeAndHold(staging, staging.parent + StagingFolderPrefix + staging.runId))
        return std::string();
    return staging.path + std::to_string(++staging.next) + ".tmp";
}

void StagingFolderEnd(StagingFolder& staging)
{
    if (staging.path.empty())
        return;
    staging.held.Reset();
    RemoveDirectoryA(staging.path.c_str());
    staging.path.clear();
}

bool StagingFolderRunOf(const std::string& name, uint64_t* seconds, unsigned long* processId)
{
    const size_t prefix = sizeof StagingFolderPrefix - 1;
    if (name.compare(0, prefix, StagingFolderPrefix) != 0 || name.size() <= prefix || !IsHex(name[prefix]))
        return false;
    unsigned long long start = 0;
    unsigned long id = 0;
    int used = 0;
    if (std::sscanf(name.c_str() + prefix, "%llX-%lX-%n", &start, &id, &used) != 2 || used == 0)
        return false;
    *seconds = start;
    *processId = id;
    return true;
}
