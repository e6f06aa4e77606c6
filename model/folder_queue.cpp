#include "model/folder_queue.h"

#include <windows.h>
#include <winternl.h>

#include <tuple>

#include "util/ansi_text.h"
#include "util/final_path.h"
#include "util/scoped_handle.h"

namespace {

// The file index alone is asked of the native file services: the Win32 call
// that gives it also looks up the volume serial number, which Wine answers
// a hundred times slower than the index, and which a plain sub-folder shares
// with its parent anyway.
bool FileIndexOf(HANDLE handle, unsigned long long* index)
{
    IO_STATUS_BLOCK status;
    FILE_INTERNAL_INFORMATION info;
    if (!NT_SUCCESS(NtQueryInformationFile(handle, &status, &info, sizeof(info), FileInternalInformation)))
        return false;
    *index = static_cast<unsigned long long>(info.IndexNumber.QuadPart);
    return true;
}

}  // namespace

bool FolderIdentity::operator<(const FolderIdentity& other) const
{
    return std::tie(volume, index) < std::tie(other.volume, other.index);
}

void FolderQueueStart(FolderQueue& queue, const std::string& root)
{
    queue.clear();
    queue.pending.push_back({root, false, 0});
    queue.root = root;
    if (!FinalPathOfFolder(root, &queue.rootFinal))
        queue.rootFinal.clear();
}

bool FolderQueueTake(FolderQueue& queue, QueuedFolder* folder)
{
    if (queue.pending.empty())
        return false;
    *folder = std::move(queue.pending.back());
    queue.pending.pop_back();
    return true;
}

void FolderQueueAddSubfolders(FolderQueue& queue, const std::vector<QueuedFolder>& subfolders)
{
    // The next folder is taken from the back, so the first sibling goes last.
    queue.pending.insert(queue.pending.end(), subfolders.rbegin(), subfolders.rend());
}

bool FolderQueueMarkListed(FolderQueue& queue, const FolderIdentity& identity)
{
    // A file system without file indexes may report 0 for every folder; taken
    // as an identity, it would make every folder after the first a repeat.
    // Such a folder is walked, and the path length still ends a loop.
    if (identity.index == 0)
        return true;
    return queue.listed.insert(identity).second;
}

bool FolderIdentityOf(const QueuedFolder& folder, FolderIdentity* identity)
{
    // Opening a folder needs backup semantics; no access right is asked for,
    // so folders that refuse reading still tell who they are. The trailing
    // "\" keeps a bare drive such as "C:" from meaning its current folder.
    ScopedHandle handle(CreateFileA(WithTrailingBackslash(folder.path).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.Valid())
        return false;
    DWORD volume = folder.volume;
    bool known = FileIndexOf(handle.Get(), &identity->index)
                 && (folder.onParentVolume
                     || GetVolumeInformationByHandleW(handle.Get(), nullptr, 0, &volume, nullptr, nullptr, nullptr, 0));
    identity->volume = volume;
    return known;
}

bool FolderQueueFollows(FolderQueue& queue, const QueuedFolder& folder)
{
    // A plain sub-folder has no reparse point, so its final path is its
    // parent's and its name: it is not asked for, which keeps the walk of a
    // large tree as fast as it was.
    if (folder.onParentVolume || folder.path == queue.root)
        return true;
    std::string finalPath;
    if (!queue.rootFinal.empty() && FinalPathOfFolder(folder.path, &finalPath)
        && PathLiesBelow(queue.rootFinal, finalPath))
        return true;
    queue.notFollowed.insert(folder.path);
    return false;
}
