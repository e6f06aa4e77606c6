#include "file_acts/act_folder.h"

#include "file_acts/act_names.h"
#include "file_acts/act_refusals.h"
#include "file_acts/nt_calls.h"
#include "util/ansi_text.h"

namespace {

// Enough to list the folder and to open and create names in it. Reading and
// writing are shared, so that files come and go in a held folder as ever (a
// rename into it opens it for writing); deleting is not, so that the folder
// can be neither renamed nor removed while it is held.
const DWORD HeldAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
const DWORD HeldSharing = FILE_SHARE_READ | FILE_SHARE_WRITE;

bool TakeName(ActFolder& folder)
{
    if (NtObjectName(folder.handle.Get(), &folder.name))
        return true;
    folder.error = GetLastError() ? GetLastError() : ERROR_PATH_NOT_FOUND;
    folder.handle.Reset();
    return false;
}

bool IsLink(HANDLE handle)
{
    FILE_ATTRIBUTE_TAG_INFO tag;
    return GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag)
           && (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// A level name the Win32 paths would read as another name.
bool IsBentName(const std::string& name)
{
    return name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ';
}

}  // namespace

void ActFolderOpen(ActFolder& folder, const std::string& path)
{
    folder.handle.Reset(CreateFileA(WithTrailingBackslash(path).c_str(), HeldAccess, HeldSharing, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    folder.error = 0;
    if (!folder.handle.Valid()) {
        folder.error = GetLastError() == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : GetLastError();
        return;
    }
    TakeName(folder);
}

void ActFolderOpenIn(ActFolder& folder, const ActFolder& parent, const std::string& name, bool make, bool* created,
                     bool removable)
{
    folder.error = 0;
    std::wstring wide = WideFromAnsi(name);
    if (IsBentName(name) || wide.empty()) {
        folder.error = wide.empty() && !name.empty() ? ERROR_INVALID_NAME : ActLeadsOut;
        return;
    }
    NtOpenRequest request = {HeldAccess | (removable ? DELETE : 0), HeldSharing,
                             make ? NtOpen::ExistingOrNew : NtOpen::Existing, true};
    bool made = false;
    folder.handle.Reset(NtOpenIn(parent.handle.Get(), wide, request, &made));
    if (created)
        *created = made && folder.handle.Valid();
    if (!folder.handle.Valid()) {
        folder.error = GetLastError() == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : GetLastError();
        return;
    }
    TakeName(folder);
}

bool ActFolderIsLevel(const ActFolder& folder, const ActFolder& parent, const std::string& name)
{
    return !folder.error && !parent.error && folder.handle.Valid() && !IsLink(folder.handle.Get())
           && ActNamesEqual(folder.name, ActNameJoin(parent.name, WideFromAnsi(name)));
}

bool ActFolderWithin(const ActFolder& outer, const ActFolder& inner)
{
    return !outer.error && !inner.error && ActNameWithin(outer.name, inner.name);
}

uint32_t ActFolderVolume(const ActFolder& folder)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!folder.volumeKnown && !folder.error && GetFileInformationByHandle(folder.handle.Get(), &info))
        folder.volume = info.dwVolumeSerialNumber;
    folder.volumeKnown = true;
    return folder.volume;
}

bool ActFolderList(const ActFolder& folder, const std::function<void(const ActListed&)>& each)
{
    if (folder.error || !folder.handle.Valid())
        return false;
    return NtListFolder(folder.handle.Get(), std::wstring(), [&](const NtListed& listed) {
        each({AnsiTextFromWide(listed.name.c_str()), listed.size, listed.lastWriteTime, listed.attributes});
    });
}

bool ActFolderHolds(const ActFolder& folder, const std::string& name, ActListed* found)
{
    std::wstring wide = WideFromAnsi(name);
    bool holds = false;
    if (folder.error || wide.empty() || wide.find_first_of(L"*?<>\"") != std::wstring::npos)
        return false;
    NtListFolder(folder.handle.Get(), wide, [&](const NtListed& listed) {
        holds = true;
        if (found)
            *found = {AnsiTextFromWide(listed.name.c_str()), listed.size, listed.lastWriteTime, listed.attributes};
    });
    return holds;
}

unsigned long ActFolderRemove(ActFolder& folder, const ActFolder& parent, const std::string& name)
{
    if (folder.error || !folder.handle.Valid())
        return folder.error ? folder.error : ERROR_INVALID_HANDLE;
    if (!ActFolderIsLevel(folder, parent, name))
        return ActLeadsOut;
    // Windows refuses the mark on a folder that is not empty; Wine takes it
    // and then keeps the folder: the listing tells.
    if (!NtMarkForDeletion(folder.handle.Get(), true))
        return GetLastError();
    folder.handle.Reset();
    return ActFolderHolds(parent, name) ? ActStillThere : 0;
}

unsigned long ActFolderRemoveIn(const ActFolder& parent, const std::string& name)
{
    ActFolder level;
    ActFolderOpenIn(level, parent, name, false, nullptr, true);
    if (level.error)
        return level.error;
    return ActFolderRemove(level, parent, name);
}
