#include "sorting/staging_folder.h"

#include <windows.h>

#include <cstdio>

#include "file_acts/act_refusals.h"
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

// Makes the folder inside the held parent and holds it. The hold asks for no
// delete access: a program that lists the folder (sharing reading and
// writing, not deletion) still can. A name already taken is not used: it is
// no folder of this run's.
unsigned long MakeAndHold(StagingFolder& staging)
{
    if (!staging.parent || staging.parent->error)
        return staging.parent ? staging.parent->error : ERROR_PATH_NOT_FOUND;
    std::string name = StagingFolderPrefix + staging.runId;
    bool created = false;
    ActFolderOpenIn(staging.held, *staging.parent, name, true, &created);
    if (staging.held.error)
        return staging.held.error;
    if (!created || !ActFolderIsLevel(staging.held, *staging.parent, name)) {
        staging.held.handle.Reset();
        return created ? ActLeadsOut : ERROR_ALREADY_EXISTS;
    }
    staging.name = name;
    return 0;
}

}  // namespace

std::string StagingParentOf(const std::string& folder)
{
    size_t slash = AnsiFindLastBackslash(folder);
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

void StagingFolderSetUp(StagingFolder& staging, const ActFolder* parent, const std::string& parentPath,
                        const std::string& runId)
{
    StagingFolderEnd(staging);
    staging.parent = parent;
    staging.parentPath = parentPath;
    uint64_t seconds;
    unsigned long processId;
    staging.runId = StagingFolderRunOf(StagingFolderPrefix + runId, &seconds, &processId) ? runId : ProcessRunId();
    staging.next = 0;
}

unsigned long StagingFolderCreate(StagingFolder& staging, ActFile& staged)
{
    if (staging.name.empty()) {
        if (unsigned long error = MakeAndHold(staging))
            return error;
    }
    return ActFileCreate(staged, staging.held, std::to_string(++staging.next) + ".tmp");
}

void StagingFolderEnd(StagingFolder& staging)
{
    if (staging.name.empty())
        return;
    staging.held.handle.Reset();
    ActFolderRemoveIn(*staging.parent, staging.name);
    staging.name.clear();
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
