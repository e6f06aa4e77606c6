#include "util/file_identity.h"

#include <vector>

#include "util/scoped_handle.h"

namespace {

uint64_t Join(DWORD high, DWORD low)
{
    return (static_cast<uint64_t>(high) << 32) | low;
}

bool IsNotFound(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

bool FileIdentityOfHandle(HANDLE file, FileIdentity* identity)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info))
        return false;
    identity->volume = info.dwVolumeSerialNumber;
    identity->index = Join(info.nFileIndexHigh, info.nFileIndexLow);
    identity->size = Join(info.nFileSizeHigh, info.nFileSizeLow);
    identity->lastWriteTime = Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    identity->attributes = info.dwFileAttributes;
    identity->links = info.nNumberOfLinks;
    return true;
}

bool FileStampOfHandle(HANDLE file, uint64_t* size, uint64_t* lastWriteTime)
{
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)
        || !GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard))
        return false;
    *size = static_cast<uint64_t>(standard.EndOfFile.QuadPart);
    *lastWriteTime = static_cast<uint64_t>(basic.LastWriteTime.QuadPart);
    return true;
}

bool FileIdentityRead(const std::string& path, FileIdentity* identity, DWORD* error)
{
    ScopedHandle file(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.Valid() || !FileIdentityOfHandle(file.Get(), identity)) {
        *error = GetLastError();
        return false;
    }
    return true;
}

bool FileIdentitySame(const FileIdentity& a, const FileIdentity& b)
{
    return a.volume == b.volume && a.index == b.index && a.size == b.size && a.lastWriteTime == b.lastWriteTime;
}

// The name goes to the system as UTF-16, converted from the ANSI code page:
// that conversion names exactly the file the A functions would.
bool FileRenameThroughHandle(HANDLE file, const std::string& to, bool replace)
{
    int length = MultiByteToWideChar(CP_ACP, 0, to.c_str(), static_cast<int>(to.size()), nullptr, 0);
    if (length <= 0 && !to.empty())
        return false;
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + sizeof(WCHAR) * (length + 1), 0);
    FILE_RENAME_INFO* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = replace ? TRUE : FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(length * sizeof(WCHAR));
    MultiByteToWideChar(CP_ACP, 0, to.c_str(), static_cast<int>(to.size()), info->FileName, length);
    return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size())) != 0;
}

bool FileDeleteThroughHandle(HANDLE file, bool clearReadOnly)
{
    FILE_BASIC_INFO basic;
    if (clearReadOnly && GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)
        && (basic.FileAttributes & FILE_ATTRIBUTE_READONLY)) {
        FILE_BASIC_INFO cleared = {};
        cleared.FileAttributes = (basic.FileAttributes & ~FILE_ATTRIBUTE_READONLY) | FILE_ATTRIBUTE_NORMAL;
        if (cleared.FileAttributes != FILE_ATTRIBUTE_NORMAL)
            cleared.FileAttributes &= ~FILE_ATTRIBUTE_NORMAL;
        SetFileInformationByHandle(file, FileBasicInfo, &cleared, sizeof cleared);
    }
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

HANDLE FileOpenOwn(const std::string& path)
{
    return CreateFileA(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                       OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

SameFileDelete FileDeleteIfSame(const std::string& path, const FileIdentity& noted, DWORD* error)
{
    // Held sharing only reading: nobody writes or renames it once it is found
    // to be the file noted.
    ScopedHandle file(CreateFileA(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    FileIdentity now;
    if (!file.Valid()) {
        *error = GetLastError();
        // Held by another program: whether it is still the file noted is
        // told by its attributes, which any sharing lets us read.
        DWORD readError = 0;
        if (IsNotFound(*error))
            return SameFileDelete::Gone;
        if (!FileIdentityRead(path, &now, &readError))
            return IsNotFound(readError) ? SameFileDelete::Gone : SameFileDelete::NotSame;
        return FileIdentitySame(now, noted) ? SameFileDelete::Refused : SameFileDelete::NotSame;
    }
    if (!FileIdentityOfHandle(file.Get(), &now) || !FileIdentitySame(now, noted))
        return SameFileDelete::NotSame;
    if (!FileDeleteThroughHandle(file.Get(), false)) {
        *error = GetLastError();
        return SameFileDelete::Refused;
    }
    return SameFileDelete::Deleted;
}
