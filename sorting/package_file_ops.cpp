#include "sorting/package_file_ops.h"

#include <windows.h>

#include "util/ansi_text.h"
#include "util/file_progress.h"
#include "util/scoped_handle.h"

// Where data is copied (a copy, a move to another volume), the operation
// first creates the destination itself, empty, with CREATE_NEW: that either
// makes a file which from then on is this operation's own, or fails because
// a name is taken, and then nothing there is touched. The copy then goes onto
// that own file, and it, and only it, is deleted when a step fails. There is
// no moment at which a file another program put at the destination could be
// taken for ours ("look whether the destination is free, then copy" has one),
// and the rule does not rest on the order in which a system's copy fails:
// Windows opens a held source before the destination, Wine the other way
// round, and a failure code never tells which.
// A copy onto a file of that name goes through a file of its own beside it
// ("qltXXXX.tmp", made by GetTempFileNameA, a name no fetch lists as a
// package), which takes the destination's place only when complete.
// Why not every copy that way: under Wine the rename into place costs about
// as much as the copy of a small file (it reads the folder for the name, twice),
// so the sort run's copy took 1.57 times as long; creating the destination
// first costs what CopyFileA's own creation of it would have cost (see
// bench/bench_sort_run.cpp).

namespace {

bool SystemCopy(const std::string& from, const std::string& to)
{
    return FileProgressCopy(from, to);
}

bool SystemRename(const std::string& from, const std::string& to, bool replace)
{
    return MoveFileExA(from.c_str(), to.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0) != 0;
}

bool SystemRemove(const std::string& path)
{
    return DeleteFileA(path.c_str()) != 0;
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

// Creates the file empty, refusing a name that is taken.
bool CreateOwn(const std::string& path)
{
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid();
}

std::string FolderOf(const std::string& path)
{
    size_t slash = AnsiFindLastBackslash(path);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A file of that name is at the destination: the copy goes into a file of
// its own beside it, which replaces that file only when complete. The source
// is held without delete sharing meanwhile: when the destination is the
// source itself under another spelling, replacing it is refused, as a plain
// copy of a file onto itself is.
PackageFileResult CopyOverExisting(const PackageFileCalls& calls, const std::string& source,
                                   const std::string& destination)
{
    PackageFileResult result = Failed(ERROR_ALREADY_EXISTS);
    char own[MAX_PATH];
    if (!GetTempFileNameA(FolderOf(destination).c_str(), "qlt", 0, own)) {
        result.error = GetLastError();
        return result;
    }
    ScopedHandle held(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    result.done = calls.copy(source, own) && calls.rename(own, destination, true);
    result.error = result.done ? 0 : GetLastError();
    if (!result.done)
        DeleteFileA(own);
    return result;
}

// Copies onto the destination once it is the operation's own.
PackageFileResult CopyOntoOwn(const PackageFileCalls& calls, const std::string& source,
                              const std::string& destination)
{
    if (!CreateOwn(destination))
        return Failed(GetLastError());
    if (!calls.copy(source, destination))
        return FailedLeaving(destination);
    return {true, 0, true, false};
}

}  // namespace

const PackageFileCalls& SystemFileCalls()
{
    static const PackageFileCalls calls = {SystemCopy, SystemRename, SystemRemove};
    return calls;
}

PackageFileResult CopyPackageFile(const std::string& source, const std::string& destination,
                                  const PackageFileCalls& calls)
{
    PackageFileResult result = CopyOntoOwn(calls, source, destination);
    if (!result.done && result.destinationExisted)
        return CopyOverExisting(calls, source, destination);
    return result;
}

PackageFileResult CopyFileKeeping(const std::string& source, const std::string& destination,
                                  const PackageFileCalls& calls)
{
    return CopyOntoOwn(calls, source, destination);
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
    // To another volume: copied, and the package deleted once the copy is
    // complete. A package that cannot be deleted (a read-only medium, another
    // program holding it) fails the move at the source, as Windows fails it,
    // and the copy goes: the package is never left in two places.
    PackageFileResult result = CopyOntoOwn(calls, source, destination);
    if (result.done && !calls.remove(source))
        return FailedLeaving(destination);
    return result;
}
