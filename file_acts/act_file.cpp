#include "file_acts/act_file.h"

#include "file_acts/act_names.h"
#include "file_acts/act_refusals.h"
#include "file_acts/nt_calls.h"
#include "util/ansi_text.h"

namespace {

bool IsLink(HANDLE handle)
{
    FILE_ATTRIBUTE_TAG_INFO tag;
    return GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag)
           && (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Whether the file named `shown` is the open file itself: then the name is
// true and the file lies there. Under Wine a relative open after a folder's
// swap reaches the held folder's own file while the name shows where the old
// path leads now, which is another file or none.
bool ShownNameIsTheFile(HANDLE file, const std::wstring& shown)
{
    ScopedHandle there(NtOpenByName(shown));
    uint64_t opened = 0, found = 0;
    return there.Valid() && NtFileIndex(file, &opened) && NtFileIndex(there.Get(), &found) && opened == found;
}

// 0 when the open file's name is the folder's name and its own.
unsigned long CheckName(HANDLE file, const ActFolder& folder, const std::string& name, ActPurpose purpose)
{
    std::wstring shown, expected = ActNameJoin(folder.name, WideFromAnsi(name));
    if (!NtObjectName(file, &shown))
        return GetLastError() ? GetLastError() : ERROR_INVALID_HANDLE;
    if (ActNamesEqual(shown, expected))
        return 0;
    if (ActNamesEqual(ActNameParent(shown), folder.name))
        return ActOtherName;
    if (purpose == ActPurpose::Read && !ShownNameIsTheFile(file, shown))
        return 0;
    return ActLeadsOut;
}

unsigned long Check(ActFile& file, const ActFolder& folder, const std::string& name, ActPurpose purpose)
{
    unsigned long refusal = IsLink(file.handle.Get()) ? ActLeadsOut : CheckName(file.handle.Get(), folder, name, purpose);
    if (refusal) {
        file.handle.Reset();
        return refusal;
    }
    file.folder = &folder;
    file.name = name;
    file.forChange = purpose == ActPurpose::Change;
    return 0;
}

unsigned long Opened(ActFile& file, HANDLE handle, const ActFolder& folder, const std::string& name,
                     ActPurpose purpose)
{
    file.handle.Reset(handle);
    file.forChange = false;
    if (!file.handle.Valid())
        return GetLastError();
    return Check(file, folder, name, purpose);
}

// The file's basic facts, its attributes and times, read and written through
// its handle.
bool ClearReadOnly(HANDLE file)
{
    FILE_BASIC_INFO basic;
    if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic))
        return false;
    if (!(basic.FileAttributes & FILE_ATTRIBUTE_READONLY))
        return true;
    FILE_BASIC_INFO cleared = {};
    cleared.FileAttributes = basic.FileAttributes & ~FILE_ATTRIBUTE_READONLY;
    if (cleared.FileAttributes == 0)
        cleared.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(file, FileBasicInfo, &cleared, sizeof cleared) != 0;
}

unsigned long ReadyForChange(const ActFile& file)
{
    if (!file.handle.Valid() || !file.folder)
        return ERROR_INVALID_HANDLE;
    if (!file.forChange || IsLink(file.handle.Get()))
        return ActLeadsOut;
    return 0;
}

}  // namespace

unsigned long ActFileOpen(ActFile& file, const ActFolder& folder, const std::string& name, DWORD access, DWORD sharing,
                          ActPurpose purpose)
{
    std::wstring wide = WideFromAnsi(name);
    if (folder.error || wide.empty() || AnsiFindBackslash(name) != std::string::npos) {
        file.handle.Reset();
        return folder.error ? folder.error : ERROR_INVALID_NAME;
    }
    NtOpenRequest request = {access, sharing, NtOpen::Existing, false, true};
    return Opened(file, NtOpenIn(folder.handle.Get(), wide, request), folder, name, purpose);
}

unsigned long ActFileCreate(ActFile& file, const ActFolder& folder, const std::string& name)
{
    std::wstring wide = WideFromAnsi(name);
    if (folder.error || wide.empty() || AnsiFindBackslash(name) != std::string::npos) {
        file.handle.Reset();
        return folder.error ? folder.error : ERROR_INVALID_NAME;
    }
    NtOpenRequest request = {GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, NtOpen::New};
    unsigned long error = Opened(file, NtOpenIn(folder.handle.Get(), wide, request), folder, name, ActPurpose::Change);
    // A file made and then refused is the act's own: it goes again.
    if (error && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS && file.handle.Valid())
        NtMarkForDeletion(file.handle.Get(), true);
    return error;
}

bool ActFileIdentity(const ActFile& file, FileIdentity* identity)
{
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    if (!GetFileInformationByHandleEx(file.handle.Get(), FileBasicInfo, &basic, sizeof basic)
        || !GetFileInformationByHandleEx(file.handle.Get(), FileStandardInfo, &standard, sizeof standard)
        || !NtFileIndex(file.handle.Get(), &identity->index))
        return false;
    identity->size = static_cast<uint64_t>(standard.EndOfFile.QuadPart);
    identity->lastWriteTime = static_cast<uint64_t>(basic.LastWriteTime.QuadPart);
    identity->attributes = basic.FileAttributes;
    identity->links = standard.NumberOfLinks;
    return true;
}

bool ActSameFile(const FileIdentity& a, const FileIdentity& b)
{
    return a.index == b.index && a.size == b.size && a.lastWriteTime == b.lastWriteTime;
}

unsigned long ActFileRenameInto(ActFile& file, const ActFolder& into, const std::string& name, bool replace)
{
    if (unsigned long refusal = ReadyForChange(file))
        return refusal;
    std::wstring wide = WideFromAnsi(name);
    if (into.error || wide.empty() || AnsiFindBackslash(name) != std::string::npos)
        return into.error ? into.error : ERROR_INVALID_NAME;
    if (!NtRenameInto(file.handle.Get(), into.handle.Get(), wide, replace))
        return GetLastError();
    file.folder = &into;
    file.name = name;
    return 0;
}

unsigned long ActFileDelete(ActFile& file, const FileIdentity* noted, bool clearReadOnly, bool anyLinks)
{
    if (unsigned long refusal = ReadyForChange(file))
        return refusal;
    FileIdentity now;
    if (!ActFileIdentity(file, &now))
        return GetLastError();
    if (noted && !ActSameFile(now, *noted))
        return ActNotTheFile;
    if (!anyLinks && now.links > 1)
        return ActOtherLinks;
    if (clearReadOnly)
        ClearReadOnly(file.handle.Get());
    if (!NtMarkForDeletion(file.handle.Get(), true))
        return GetLastError();
    const ActFolder& folder = *file.folder;
    std::string name = file.name;
    ActFileClose(file);
    return ActFolderHolds(folder, name) ? ActStillThere : 0;
}

unsigned long ActLookOpen(const std::string& path, DWORD access, DWORD sharing)
{
    ScopedHandle file(CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() ? 0 : GetLastError();
}

void ActFileClose(ActFile& file)
{
    file.handle.Reset();
    file.forChange = false;
}
