#include "util/file_identity.h"

#include "util/scoped_handle.h"

namespace {

uint64_t Join(DWORD high, DWORD low)
{
    return (static_cast<uint64_t>(high) << 32) | low;
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
