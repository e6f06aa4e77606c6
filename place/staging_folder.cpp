#include "place/staging_folder.h"

#include <windows.h>

#include <cstdio>

#include "file_acts/act_refusals.h"
#include "history/history_staging.h"
#include "util/ansi_text.h"
#include "util/this_process.h"

const char StagingFolderPrefix[] = "~Quillet-";

namespace {

// A run id of the history's shape for a run without one: the process's start
// second and id in hex, then the run's number.
std::string ProcessRunId()
{
    static unsigned runs = 0;
    char id[64];
    std::snprintf(id, sizeof id, "%llX-%lX-s%u", static_cast<unsigned long long>(ThisProcessCreated() / 10000000),
                  static_cast<unsigned long>(GetCurrentProcessId()), ++runs);
    return id;
}

// Names the folder in the history, makes it inside the held parent and holds
// it. The hold asks for no delete access: a program that lists the folder
// (sharing reading and writing, not deletion) still can. A name already
// taken is not used: it is no folder of this run's.
unsigned long MakeAndHold(StagingFolder& staging)
{
    if (!staging.parent || staging.parent->error)
        return staging.parent ? staging.parent->error : ERROR_PATH_NOT_FOUND;
    if (staging.history)
        HistoryStagingNamed(*staging.history, staging.parentPath + staging.name, staging.sortId);
    bool created = false;
    ActFolderOpenIn(staging.held, *staging.parent, staging.name, true, &created);
    if (staging.held.error)
        return staging.held.error;
    if (!created || !ActFolderIsLevel(staging.held, *staging.parent, staging.name)) {
        staging.held.handle.Reset();
        return created ? ActLeadsOut : ERROR_ALREADY_EXISTS;
    }
    staging.made = true;
    return 0;
}

}  // namespace

std::string StagingFolderName(const std::string& computer, const std::string& runId)
{
    return StagingFolderPrefix + computer + "-" + runId;
}

std::string StagingParentOf(const std::string& folder)
{
    size_t slash = AnsiFindLastBackslash(folder);
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

void StagingFolderSetUp(StagingFolder& staging, const ActFolder* parent, const std::string& parentPath,
                        const std::string& runId, HistoryLog* history, const std::string& sortId)
{
    StagingFolderEnd(staging);
    staging.parent = parent;
    staging.parentPath = parentPath;
    staging.runId = runId.empty() ? ProcessRunId() : runId;
    staging.name = StagingFolderName(ThisComputerName(), staging.runId);
    staging.history = history;
    staging.sortId = sortId.empty() ? staging.runId : sortId;
    staging.next = 0;
}

unsigned long StagingFolderCreate(StagingFolder& staging, ActFile& staged)
{
    if (!staging.made) {
        if (unsigned long error = MakeAndHold(staging))
            return error;
    }
    return ActFileCreate(staged, staging.held, std::to_string(++staging.next) + ".tmp");
}

void StagingFolderEnd(StagingFolder& staging)
{
    if (!staging.made)
        return;
    staging.held.handle.Reset();
    // A folder left with a piece in it stays named: a later start settles it.
    if (!ActFolderRemoveIn(*staging.parent, staging.name) && staging.history)
        HistoryStagingEnded(*staging.history, staging.parentPath + staging.name, staging.runId);
    staging.made = false;
}
