#include "sorting/leftover_pieces.h"

#include <windows.h>

#include <cstdint>
#include <set>

#include "sorting/staging_folder.h"
#include "util/ansi_text.h"
#include "util/file_identity.h"
#include "util/scoped_handle.h"
#include "window/status_list.h"

namespace {

bool IsDots(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Deletes one file of a dead run's folder: ours, so a read-only attribute
// is cleared first; a file that other names share is left.
void RemovePiece(const std::string& path)
{
    ScopedHandle file(FileOpenOwn(path));
    FileIdentity identity;
    if (!file.Valid() || !FileIdentityOfHandle(file.Get(), &identity) || identity.links > 1)
        return;
    if ((identity.attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !FileDeleteThroughHandle(file.Get(), true))
        return;
    file.Reset();
    ReportActivity(Activity::PieceRemoved, path);
}

void EmptyAndRemove(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    {
        ScopedFind find(FindFirstFileA((folder + "*").c_str(), &entry));
        if (!find.Valid())
            return;
        do {
            if (!IsDots(entry.cFileName) && !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                RemovePiece(folder + entry.cFileName);
        } while (FindNextFileA(find.Get(), &entry));
    }
    RemoveDirectoryA(folder.c_str());
}

// The staging folders of dead runs directly in the folder. A link named like
// one is no folder of ours and is not followed.
void SettleFolder(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    std::vector<std::string> dead;
    {
        ScopedFind find(FindFirstFileA((folder + StagingFolderPrefix + "*").c_str(), &entry));
        if (!find.Valid())
            return;
        do {
            uint64_t seconds = 0;
            unsigned long processId = 0;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                && StagingFolderRunOf(entry.cFileName, &seconds, &processId)
                && !LeftoverPiecesRunAlive(seconds, processId))
                dead.push_back(folder + entry.cFileName + "\\");
        } while (FindNextFileA(find.Get(), &entry));
    }
    for (const std::string& staging : dead)
        EmptyAndRemove(staging);
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
