#include "sorting/leftover_pieces.h"

#include <windows.h>

#include <cstdint>
#include <set>
#include <vector>

#include "sorting/staging_folder.h"
#include "util/ansi_text.h"
#include "file_acts/act_file.h"
#include "file_acts/act_folder.h"
#include "util/scoped_handle.h"
#include "window/status_list.h"

namespace {

// Deletes one file of a dead run's folder through the room of file acts:
// ours, so a read-only attribute is cleared first; a link, or a file that
// other names share, is left.
void RemovePiece(const ActFolder& staging, const std::string& name, const std::string& path)
{
    ActFile piece;
    if (ActFileOpen(piece, staging, name, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                    ActPurpose::Change)
        || ActFileDelete(piece, nullptr, true, false))
        return;
    ReportActivity(Activity::PieceRemoved, path);
}

// Empties the staging folder `name` of the held parent (whose path is
// `parentPath`) and removes it, each act inside the held folder. A link
// named like one is no folder of ours and is not followed.
void EmptyAndRemove(const ActFolder& parent, const std::string& parentPath, const std::string& name)
{
    ActFolder staging;
    ActFolderOpenIn(staging, parent, name, false, nullptr, true);
    if (!ActFolderIsLevel(staging, parent, name))
        return;
    std::vector<std::string> files;
    ActFolderList(staging, [&](const ActListed& entry) {
        if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(entry.name);
    });
    for (const std::string& file : files)
        RemovePiece(staging, file, parentPath + name + "\\" + file);
    ActFolderRemove(staging, parent, name);
}

// The staging folders of dead runs directly in the folder.
void SettleFolder(const std::string& folder)
{
    ActFolder parent;
    ActFolderOpen(parent, folder);
    std::vector<std::string> dead;
    const std::string prefix = StagingFolderPrefix;
    ActFolderList(parent, [&](const ActListed& entry) {
        uint64_t seconds = 0;
        unsigned long processId = 0;
        if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) && !(entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            && entry.name.compare(0, prefix.size(), prefix) == 0
            && StagingFolderRunOf(entry.name, &seconds, &processId) && !LeftoverPiecesRunAlive(seconds, processId))
            dead.push_back(entry.name);
    });
    for (const std::string& name : dead)
        EmptyAndRemove(parent, folder, name);
}

}  // namespace

// The run id's second was taken after the process started: a process of
// that id started later is another one, which reuses the id.
bool LeftoverPiecesRunAlive(unsigned long long seconds, unsigned long processId)
{
    ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process.Valid())
        return GetLastError() == ERROR_ACCESS_DENIED;
    FILETIME created, exited, kernel, user;
    DWORD exitCode = 0;
    if (!GetProcessTimes(process.Get(), &created, &exited, &kernel, &user)
        || !GetExitCodeProcess(process.Get(), &exitCode))
        return true;
    uint64_t started = ((static_cast<uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime) / 10000000;
    return exitCode == STILL_ACTIVE && started <= seconds;
}

void LeftoverPiecesSettle(const std::vector<std::string>& folders)
{
    std::set<std::string> seen;
    // A source is the folder itself; a target may be glued to its categories.
    for (const std::string& folder : folders) {
        for (const std::string& parent : {WithTrailingBackslash(folder), StagingParentOf(folder)}) {
            if (!folder.empty() && !parent.empty() && seen.insert(LowerAnsiText(parent)).second)
                SettleFolder(parent);
        }
    }
}
