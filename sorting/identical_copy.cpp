#include "sorting/identical_copy.h"

#include <windows.h>

#include "sorting/duplicate_file.h"
#include "util/scoped_handle.h"

namespace {

// CopyFileA refuses to overwrite a read-only or hidden file; a system file
// is not the user's package either.
const DWORD Untouchable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                          | FILE_ATTRIBUTE_DIRECTORY;

// NtQueryInformationFile's FileInternalInformation: the file's index on
// its volume. Not GetFileInformationByHandle, nor the identity class of
// GetFileInformationByHandleEx: under Wine both ask the mount manager's
// process for the volume's serial number, about 0.6 ms a file, more than a
// repeated Copy run saves by not copying. Without the volume, two files of
// one index on two volumes count as the same file: then the copy is simply
// made, as if no identical copy stood there.
typedef LONG(NTAPI* QueryInformationFile)(HANDLE, void* status, void* info, ULONG length, int infoClass);
const int FileInternalInformation = 6;

bool FileIndexOf(HANDLE file, LONGLONG* index)
{
    static const auto query = reinterpret_cast<QueryInformationFile>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationFile")));
    struct {
        void* pointer;
        ULONG_PTR information;
    } status;
    return query && query(file, &status, index, sizeof(*index), FileInternalInformation) >= 0;
}

// The size, last-write time and attributes, asked by path: under Wine that
// is cheaper than asking an open handle, and it spares opening files that
// differ anyway.
bool ReadStamp(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA* data)
{
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, data) != 0;
}

bool SameStamp(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b)
{
    return a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow
           && CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

HANDLE OpenToCompare(const std::string& path)
{
    // No sharing for writing: a file someone is still writing is not a copy yet.
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

}  // namespace

bool IsIdenticalCopy(const std::string& destination, const std::string& source)
{
    WIN32_FILE_ATTRIBUTE_DATA there, package;
    if (!ReadStamp(destination, &there) || !ReadStamp(source, &package) || !SameStamp(there, package))
        return false;
    if ((there.dwFileAttributes & Untouchable) || (package.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    ScopedHandle copy(OpenToCompare(destination));
    ScopedHandle original(OpenToCompare(source));
    LONGLONG copyIndex = 0, originalIndex = 0;
    if (!copy.Valid() || !original.Valid() || !FileIndexOf(copy.Get(), &copyIndex)
        || !FileIndexOf(original.Get(), &originalIndex))
        return false;
    // The same file under another spelling is no copy: a copy onto it fails.
    return copyIndex != originalIndex && FilesHoldSameBytes(copy.Get(), original.Get());
}

PackageFileResult CopyPackageUnlessIdentical(const std::string& source, const std::string& destination,
                                             StagingFolder& staging, bool standing, bool* identical,
                                             ScopedHandle* package, HANDLE folder)
{
    *identical = standing && IsIdenticalCopy(destination, source);
    if (*identical)
        return {true, 0, true, true};
    if (package && package->Valid())
        return CopyHeldPackageFile(*package, folder, source, destination, staging);
    return CopyPackageFile(source, destination, staging);
}
