#include "place/identical_copy.h"

#include <windows.h>

#include "place/duplicate_file.h"
#include "util/file_times.h"

namespace {

// CopyFileA refuses to overwrite a read-only or hidden file; a system file
// is not the user's package either.
const DWORD Untouchable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                          | FILE_ATTRIBUTE_DIRECTORY;

// The same size, and times that agree as finely as the file system at the
// destination keeps them (a USB stick keeps them to 10 ms or 2 seconds).
bool SameStamp(uint64_t packageSize, uint64_t packageTime, uint64_t copySize, uint64_t copyTime)
{
    return packageSize == copySize && FileTimesAgreeAsKept(copyTime, packageTime);
}

}  // namespace

bool IdenticalCopyStamps(const FileIdentity& package, const FileIdentity& copy)
{
    return SameStamp(package.size, package.lastWriteTime, copy.size, copy.lastWriteTime)
           && !(copy.attributes & Untouchable);
}

bool IsIdenticalCopy(const ActFile& package, const ActFolder& folder, const ListedFile& there)
{
    FileIdentity original, copy;
    if ((there.attributes & Untouchable) || !ActFileIdentity(package, &original)
        || !SameStamp(original.size, original.lastWriteTime, there.size, there.lastWriteTime))
        return false;
    // No sharing for writing: a file someone is still writing is not a copy yet.
    ActFile found;
    if (ActFileOpen(found, folder, package.name, GENERIC_READ, FILE_SHARE_READ, ActPurpose::Read)
        || !ActFileIdentity(found, &copy) || !IdenticalCopyStamps(original, copy))
        return false;
    // The same file under another spelling is no copy: a copy onto it fails.
    return OpenFilesSeparateIdentical(found.handle.Get(), package.handle.Get());
}

bool IsTwinCopy(const ActFile& package, const ActFolder& folder, FileIdentity* copy)
{
    ActFile found;
    return package.handle.Valid()
           && !ActFileOpen(found, folder, package.name, GENERIC_READ, FILE_SHARE_READ, ActPurpose::Read)
           && ActFileIdentity(found, copy) && OpenFilesSeparateIdentical(found.handle.Get(), package.handle.Get());
}

PackageFileResult CopyPackageUnlessIdentical(const ActFile& package, const ActFolder& folder, StagingFolder& staging,
                                             const ListedFile* there, bool* identical)
{
    *identical = there && IsIdenticalCopy(package, folder, *there);
    if (*identical) {
        PackageFileResult result{true, 0, true, true};
        result.stamped = true;
        result.size = there->size;
        result.lastWriteTime = there->lastWriteTime;
        return result;
    }
    return CopyPackageFile(package, folder, staging, true);
}
