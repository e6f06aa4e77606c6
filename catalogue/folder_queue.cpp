#include "catalogue/folder_queue.h"

#include <windows.h>

#include <tuple>

#include "app/ansi_text.h"

bool FolderIdentity::operator<(const FolderIdentity& other) const
{
    return std::tie(volume, indexHigh, indexLow) < std::tie(other.volume, other.indexHigh, other.indexLow);
}

void FolderQueueStart(FolderQueue& queue, const std::string& root)
{
    queue.clear();
    queue.pending.push_back(root);
}

bool FolderQueueTake(FolderQueue& queue, std::string* folder)
{
    if (queue.pending.empty())
        return false;
    *folder = std::move(queue.pending.back());
    queue.pending.pop_back();
    return true;
}

void FolderQueueAddSubfolders(FolderQueue& queue, const std::vector<std::string>& subfolders)
{
    // The next folder is taken from the back, so the first sibling goes last.
    queue.pending.insert(queue.pending.end(), subfolders.rbegin(), subfolders.rend());
}

bool FolderQueueMarkListed(FolderQueue& queue, const FolderIdentity& identity)
{
    return queue.listed.insert(identity).second;
}

bool FolderIdentityOf(const std::string& folder, FolderIdentity* identity)
{
    // Opening a folder needs backup semantics; no access right is asked for,
    // so folders that refuse reading still tell who they are. The trailing
    // "\" keeps a bare drive such as "C:" from meaning its current folder.
    HANDLE handle = CreateFileA(WithTrailingBackslash(folder).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    BOOL known = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!known)
        return false;
    *identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}
