#include "place/duplicate_file.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "file_acts/nt_calls.h"
#include "util/file_progress.h"
#include "util/scoped_handle.h"

namespace {

HANDLE OpenToCompare(const std::string& path)
{
    // No sharing for writing: a file someone is still writing is not a copy yet.
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

}  // namespace

bool FilesHoldSameBytes(HANDLE a, HANDLE b)
{
    const DWORD chunk = 64 * 1024;
    std::vector<char> bytesA(chunk), bytesB(chunk);
    for (;;) {
        DWORD gotA = 0, gotB = 0;
        if (!ReadFile(a, bytesA.data(), chunk, &gotA, nullptr) || !ReadFile(b, bytesB.data(), chunk, &gotB, nullptr))
            return false;
        if (gotA != gotB)
            return false;
        if (gotA == 0)
            return true;
        if (!std::equal(bytesA.begin(), bytesA.begin() + gotA, bytesB.begin()))
            return false;
        FileProgressCompared(gotA);
    }
}

namespace {

bool SameIdentity(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b)
{
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh
           && a.nFileIndexLow == b.nFileIndexLow;
}

bool SeparateIdenticalFiles(HANDLE copy, HANDLE original)
{
    BY_HANDLE_FILE_INFORMATION a, b;
    if (!GetFileInformationByHandle(copy, &a) || !GetFileInformationByHandle(original, &b))
        return false;
    if ((a.dwFileAttributes | b.dwFileAttributes) & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    if (SameIdentity(a, b))
        return false;
    if (a.nFileSizeHigh != b.nFileSizeHigh || a.nFileSizeLow != b.nFileSizeLow)
        return false;
    return FilesHoldSameBytes(copy, original);
}

}  // namespace

bool OpenFilesSeparateIdentical(HANDLE copy, HANDLE original)
{
    FILE_STANDARD_INFO a, b;
    uint64_t indexA = 0, indexB = 0;
    LARGE_INTEGER start = {};
    if (!GetFileInformationByHandleEx(copy, FileStandardInfo, &a, sizeof a)
        || !GetFileInformationByHandleEx(original, FileStandardInfo, &b, sizeof b) || a.Directory || b.Directory
        || a.EndOfFile.QuadPart != b.EndOfFile.QuadPart || !NtFileIndex(copy, &indexA)
        || !NtFileIndex(original, &indexB) || indexA == indexB)
        return false;
    return SetFilePointerEx(copy, start, nullptr, FILE_BEGIN) && SetFilePointerEx(original, start, nullptr, FILE_BEGIN)
           && FilesHoldSameBytes(copy, original);
}

bool IsSeparateIdenticalCopy(const std::string& copyPath, const std::string& originalPath)
{
    ScopedHandle copy(OpenToCompare(copyPath));
    ScopedHandle original(OpenToCompare(originalPath));
    return copy.Valid() && original.Valid() && SeparateIdenticalFiles(copy.Get(), original.Get());
}
