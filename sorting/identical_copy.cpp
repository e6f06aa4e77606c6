#include "sorting/identical_copy.h"

#include <windows.h>

#include "sorting/duplicate_file.h"

namespace {

// CopyFileA refuses to overwrite a read-only or hidden file; a system file
// is not the user's package either.
const DWORD Untouchable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                          | FILE_ATTRIBUTE_DIRECTORY;

bool SameStamp(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b)
{
    return a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow
           && CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

}  // namespace

bool IsIdenticalCopy(const std::string& destination, const std::string& source)
{
    WIN32_FILE_ATTRIBUTE_DATA there, package;
    if (!GetFileAttributesExA(destination.c_str(), GetFileExInfoStandard, &there)
        || !GetFileAttributesExA(source.c_str(), GetFileExInfoStandard, &package))
        return false;
    if ((there.dwFileAttributes & Untouchable) || (package.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // The same file under another spelling is no copy: a copy onto it fails.
    return SameStamp(there, package) && IsSeparateIdenticalCopy(destination, source);
}

PackageFileResult CopyPackageUnlessIdentical(const std::string& source, const std::string& destination,
                                             bool* identical)
{
    *identical = false;
    PackageFileResult kept = CopyFileKeeping(source, destination);
    if (kept.done || !kept.destinationExisted)
        return kept;
    if (IsIdenticalCopy(destination, source)) {
        *identical = true;
        return {true, 0, true, true};
    }
    return CopyPackageFile(source, destination);
}
