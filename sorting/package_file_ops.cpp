#include "sorting/package_file_ops.h"

#include <windows.h>

#include "util/scoped_handle.h"

// Where data is copied (a copy, a move to another volume), it goes into a
// file of the operation's own beside the destination, which GetTempFileNameA
// creates under a name nobody had ("qltXXXX.tmp", which no fetch lists as a
// package). That file, and only that, is deleted when a step fails. The
// complete copy then takes the destination's name by a rename that does not
// replace, and for a copy over a file of that name by one that does. There is
// no moment at which a file another program put at the destination could be
// taken for ours; "look whether the destination is free, then copy" has one.
// Nor does the rule rest on the order in which a system's copy fails: Wine
// opens the destination before failing on a held source, Windows the other
// way round, and a failure code never tells which.
// The price is one more file creation and one rename per package placed; see
// bench/bench_sort_run.cpp for what it costs against a single CopyFileA.

namespace {

bool SystemCopy(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool SystemRename(const std::string& from, const std::string& to, bool replace)
{
    return MoveFileExA(from.c_str(), to.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0) != 0;
}

bool MarkForDeletion(HANDLE file, bool remove)
{
    FILE_DISPOSITION_INFO disposition = {static_cast<BOOLEAN>(remove)};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof(disposition)) != 0;
}

void* SystemClaim(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    if (!MarkForDeletion(file, true)) {
        DWORD error = GetLastError();
        CloseHandle(file);
        SetLastError(error);
        return nullptr;
    }
    return file;
}

void SystemRelease(void* claimed, bool keep)
{
    if (keep)
        MarkForDeletion(claimed, false);
    CloseHandle(claimed);
}

bool IsAlreadyThere(DWORD error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

// A failure with its code; whether a file stood at the destination is known
// only when that is what the failure says.
PackageFileResult Failed(DWORD error)
{
    return {false, error, IsAlreadyThere(error), IsAlreadyThere(error)};
}

// The failure with its code, after deleting the operation's own file. The
// code is read before the deletion can change it.
PackageFileResult FailedLeaving(const std::string& own)
{
    PackageFileResult result = Failed(GetLastError());
    DeleteFileA(own.c_str());
    return result;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A new empty file beside the destination that this attempt created.
bool MakeOwnFile(const std::string& destination, std::string* own)
{
    char name[MAX_PATH];
    if (!GetTempFileNameA(FolderOf(destination).c_str(), "qlt", 0, name))
        return false;
    *own = name;
    return true;
}

// Gives the complete copy the destination's name. Replacing, the source is
// held without delete sharing: when the destination is the source itself
// under another spelling, replacing it is refused, as a plain copy of a file
// onto itself is.
PackageFileResult PutInPlace(const PackageFileCalls& calls, const std::string& own, const std::string& source,
                             const std::string& destination, bool replace)
{
    if (calls.rename(own, destination, false))
        return {true, 0, true, false};
    PackageFileResult result = Failed(GetLastError());
    if (replace && result.destinationExisted) {
        ScopedHandle held(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        result.done = calls.rename(own, destination, true);
        result.error = result.done ? 0 : GetLastError();
    }
    if (!result.done)
        DeleteFileA(own.c_str());
    return result;
}

PackageFileResult CopyThroughOwnFile(const PackageFileCalls& calls, const std::string& source,
                                     const std::string& destination, bool replace)
{
    std::string own;
    if (!MakeOwnFile(destination, &own))
        return Failed(GetLastError());
    if (!calls.copy(source, own))
        return FailedLeaving(own);
    return PutInPlace(calls, own, source, destination, replace);
}

// The copy is made first; then the source is claimed (marked to go, others
// kept from changing or deleting it) before the copy takes the destination's
// name, and let go again when that fails. A source that cannot be deleted (a
// read-only medium, another program holding it) fails the move at the
// source, as Windows fails it, instead of leaving the package in two places.
PackageFileResult MoveAcrossVolumes(const PackageFileCalls& calls, const std::string& source,
                                    const std::string& destination)
{
    std::string own;
    if (!MakeOwnFile(destination, &own))
        return Failed(GetLastError());
    if (!calls.copy(source, own))
        return FailedLeaving(own);
    void* claimed = calls.claim(source);
    if (!claimed)
        return FailedLeaving(own);
    PackageFileResult result = PutInPlace(calls, own, source, destination, false);
    calls.release(claimed, !result.done);
    return result;
}

}  // namespace

const PackageFileCalls& SystemFileCalls()
{
    static const PackageFileCalls calls = {SystemCopy, SystemRename, SystemClaim, SystemRelease};
    return calls;
}

PackageFileResult CopyPackageFile(const std::string& source, const std::string& destination,
                                  const PackageFileCalls& calls)
{
    return CopyThroughOwnFile(calls, source, destination, true);
}

PackageFileResult CopyFileKeeping(const std::string& source, const std::string& destination,
                                  const PackageFileCalls& calls)
{
    return CopyThroughOwnFile(calls, source, destination, false);
}

PackageFileResult MovePackageFile(const std::string& source, const std::string& destination,
                                  const PackageFileCalls& calls)
{
    // Within one volume a move is a rename: it copies nothing, so it leaves
    // no piece, and it never replaces. Drive letters cannot tell volumes
    // apart (under Wine every path is on Z:), so the rename is tried first.
    if (calls.rename(source, destination, false))
        return {true, 0, true, false};
    DWORD error = GetLastError();
    if (error != ERROR_NOT_SAME_DEVICE)
        return Failed(error);
    return MoveAcrossVolumes(calls, source, destination);
}
