#include "sorting/package_file_ops.h"

#include <windows.h>

#include "sorting/placement_checks.h"
#include "sorting/staging_folder.h"
#include "util/ansi_text.h"
#include "util/file_facts.h"
#include "util/final_path.h"
#include "util/file_progress.h"
#include "util/folder_relative.h"
#include "util/scoped_handle.h"

// Every copy of data (a copy, a copy over a file, a move to another volume)
// goes into a new file of the run's staging folder ("<n>.tmp", made by
// CopyFileA with fail-if-exists), which is then held (FileOpenOwn) and
// renamed through that handle into place, never replacing: a file another
// program put at the destination meanwhile refuses the rename, and nothing
// there is touched. Only Copy then replaces a file of that name, as it always
// did, with the complete copy. A step that fails deletes the staged copy
// through its handle, read-only or not: it is provably the operation's own.
// A kill leaves the copy under its "<n>.tmp" name in the staging folder,
// which the next start removes.
// Read-only packages: Windows gives a copy its source's read-only attribute
// (Wine does not when CopyFileA overwrites, and this copy never does). A
// read-only file may still be opened for deletion and renamed, so the staged
// copy is held and renamed either way; only its deletion needs the attribute
// cleared first, which FileDeleteThroughHandle does for our own files. A
// read-only file of that name at the destination refuses Copy's replacing
// rename on Windows: the copy then fails and its staged copy goes.
// A package the run holds open (its open was its check) is copied through
// that handle into a staged copy made and held by this copy: CopyFileA's
// work without its second open and its close of each file, each a round trip
// to Wine's server. Only packages under 16 MB without streams of their own
// go this way; larger ones, and on Windows a package with a named stream (a
// download's zone mark), go through CopyFileA, which copies the streams too.
// The copy is renamed into the category folder relative to the run's handle
// on that folder, so that no link swapped in on the way can bend it.
// Why this way: the staging folder stays small, so creating the staged copy
// costs Wine no walk through a large folder; the rename through the handle
// costs what a rename by path costs; and the placed copy's size and time come
// from the handle (see bench/bench_sort_run.cpp).

namespace {

bool SystemCopy(const std::string& from, const std::string& to)
{
    return FileProgressCopy(from, to);
}

bool SystemRename(const std::string& from, const std::string& to, bool replace)
{
    return MoveFileExA(from.c_str(), to.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0) != 0;
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

// A staged copy that could not be held is deleted by its name, which only
// this run hands out.
void DropStaged(const std::string& staged)
{
    SetFileAttributesA(staged.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(staged.c_str());
}

// The failure with its code, after deleting the held copy. The code is read
// before the deletion can change it.
PackageFileResult FailedDropping(ScopedHandle& held, DWORD error)
{
    FileDeleteThroughHandle(held.Get(), true);
    held.Reset();
    return Failed(error);
}

PackageFileResult Placed(HANDLE held, bool replaced)
{
    PackageFileResult result{true, 0, true, replaced};
    result.stamped = FileStampOfHandle(held, &result.size, &result.lastWriteTime);
    return result;
}

// A name taken at the destination is a file of that name only when the file
// found there carries it as its long name: on Windows "FORM~4C1.LKS" opens
// "Format_Factory_Long_Name_2.90.lks", which is another file; it is neither
// replaced nor taken for a copy of the package.
PackageFileResult WithAliasNoted(PackageFileResult result, const std::string& destination)
{
    if (result.done || !result.destinationExisted)
        return result;
    size_t slash = AnsiFindLastBackslash(destination);
    std::string name = slash == std::string::npos ? destination : destination.substr(slash + 1);
    if (!FoundNameIs(destination, name)) {
        result.destinationKnown = false;
        result.destinationExisted = false;
        result.anotherFile = true;
    }
    return result;
}

std::string NameOf(const std::string& path)
{
    size_t slash = AnsiFindLastBackslash(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Renames the held file to the destination: relative to the held folder it
// lies in, when there is one.
bool RenameIntoPlace(HANDLE file, HANDLE folder, const std::string& destination, bool replace)
{
    if (folder)
        return FileRenameIntoFolder(file, folder, NameOf(destination), replace);
    return FileRenameThroughHandle(file, destination, replace);
}

const uint64_t HandleCopyBytes = 16ull * 1024 * 1024;

// Whether the file has a stream besides its data. Wine keeps no named
// streams and answers that it cannot tell: none.
bool HasNamedStreams(HANDLE file)
{
    alignas(8) char buffer[4096];
    if (!GetFileInformationByHandleEx(file, FileStreamInfo, buffer, sizeof buffer))
        return GetLastError() == ERROR_MORE_DATA;
    const FILE_STREAM_INFO* info = reinterpret_cast<const FILE_STREAM_INFO*>(buffer);
    return info->NextEntryOffset != 0 || info->StreamNameLength != 7 * sizeof(WCHAR);
}

bool CopyBytes(HANDLE from, HANDLE to, uint64_t size)
{
    std::string buffer(static_cast<size_t>(size < (1u << 20) ? size + 1 : 1u << 20), '\0');
    for (;;) {
        DWORD read = 0, written = 0;
        if (!ReadFile(from, &buffer[0], static_cast<DWORD>(buffer.size()), &read, nullptr))
            return false;
        if (read == 0)
            return true;
        if (!WriteFile(to, buffer.data(), read, &written, nullptr))
            return false;
        if (written != read) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
    }
}

// What CopyFileA gives a copy: its package's attributes and last-write time.
bool TakeStamp(HANDLE copy, const FILE_BASIC_INFO& package)
{
    const DWORD Kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                       | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    FILE_BASIC_INFO stamp = {};
    stamp.LastWriteTime = package.LastWriteTime;
    stamp.FileAttributes = package.FileAttributes & Kept;
    return SetFileInformationByHandle(copy, FileBasicInfo, &stamp, sizeof stamp) != 0;
}

enum class HandleCopy { Made, Failed, NotThisWay };

// Copies the held package into a new staged file, held in `held`; NotThisWay
// for a package CopyFileA must copy.
HandleCopy CopyThroughHandles(HANDLE package, const std::string& staged, ScopedHandle& held)
{
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    if (!GetFileInformationByHandleEx(package, FileBasicInfo, &basic, sizeof basic)
        || !GetFileInformationByHandleEx(package, FileStandardInfo, &standard, sizeof standard)
        || static_cast<uint64_t>(standard.EndOfFile.QuadPart) >= HandleCopyBytes || HasNamedStreams(package))
        return HandleCopy::NotThisWay;
    held.Reset(CreateFileA(staged.c_str(), GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held.Valid())
        return HandleCopy::Failed;
    LARGE_INTEGER start = {};
    if (SetFilePointerEx(package, start, nullptr, FILE_BEGIN)
        && CopyBytes(package, held.Get(), static_cast<uint64_t>(standard.EndOfFile.QuadPart))
        && TakeStamp(held.Get(), basic))
        return HandleCopy::Made;
    DWORD error = GetLastError();
    FileDeleteThroughHandle(held.Get(), true);
    held.Reset();
    SetLastError(error);
    return HandleCopy::Failed;
}

// A file of that name is at the destination: the complete copy replaces it.
// The source is held without delete sharing meanwhile: when the destination
// is the source itself under another spelling, replacing it is refused, as a
// plain copy of a file onto itself is.
PackageFileResult Replace(const std::string& source, const std::string& destination, HANDLE folder,
                          ScopedHandle& held)
{
    ScopedHandle source_held(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!RenameIntoPlace(held.Get(), folder, destination, true)) {
        PackageFileResult result = FailedDropping(held, GetLastError());
        result.destinationKnown = result.destinationExisted = true;
        return result;
    }
    return Placed(held.Get(), true);
}

// Puts the source's staged copy into the staging folder: through the held
// package's handle where it can, else by CopyFileA; the copy stays held.
PackageFileResult Stage(const PackageFileCalls& calls, const std::string& source, ScopedHandle* package,
                        StagingFolder& staging, ScopedHandle& held)
{
    std::string staged = StagingFolderNextFile(staging);
    if (staged.empty())
        return Failed(GetLastError());
    HandleCopy copied = package && package->Valid() ? CopyThroughHandles(package->Get(), staged, held)
                                                    : HandleCopy::NotThisWay;
    if (copied == HandleCopy::Made)
        return {true};
    if (copied == HandleCopy::Failed) {
        DWORD error = GetLastError();
        return Failed(error == ERROR_FILE_EXISTS ? ERROR_CANNOT_MAKE : error);
    }
    if (!calls.copy(source, staged)) {
        DWORD error = GetLastError();
        DropStaged(staged);
        return Failed(error == ERROR_FILE_EXISTS ? ERROR_CANNOT_MAKE : error);
    }
    held.Reset(FileOpenOwn(staged));
    if (!held.Valid()) {
        DWORD error = GetLastError();
        DropStaged(staged);
        return Failed(error);
    }
    return {true};
}

// Copies the source into the staging folder and renames the copy into place
// (relative to the held folder, when given); `replace`: over a file of that
// name, too. The placed copy stays held.
PackageFileResult PlaceThroughStaging(const PackageFileCalls& calls, const std::string& source, ScopedHandle* package,
                                      const std::string& destination, HANDLE folder, StagingFolder& staging,
                                      bool replace, ScopedHandle& held)
{
    PackageFileResult staged = Stage(calls, source, package, staging, held);
    if (!staged.done)
        return staged;
    if (RenameIntoPlace(held.Get(), folder, destination, false))
        return Placed(held.Get(), false);
    DWORD error = GetLastError();
    if (!replace || !IsAlreadyThere(error))
        return WithAliasNoted(FailedDropping(held, error), destination);
    // Only a file that carries the package's name is replaced, and only as
    // Windows would: its read-only mark is kept on both systems, as the
    // preview foresees (Wine replaces a read-only file, Windows refuses).
    PackageFileResult refused = WithAliasNoted(Failed(error), destination);
    if (refused.anotherFile) {
        FailedDropping(held, error);
        return refused;
    }
    if (unsigned long refusal = ReplaceRefusal(destination)) {
        PackageFileResult result = FailedDropping(held, refusal);
        result.destinationKnown = result.destinationExisted = true;
        return result;
    }
    return Replace(source, destination, folder, held);
}

}  // namespace

const PackageFileCalls& SystemFileCalls()
{
    static const PackageFileCalls calls = {SystemCopy, SystemRename, FileDeleteIfSame};
    return calls;
}

PackageFileResult CopyPackageFile(const std::string& source, const std::string& destination, StagingFolder& staging,
                                  const PackageFileCalls& calls)
{
    ScopedHandle held;
    return PlaceThroughStaging(calls, source, nullptr, destination, nullptr, staging, true, held);
}

PackageFileResult CopyHeldPackageFile(ScopedHandle& package, HANDLE folder, const std::string& source,
                                      const std::string& destination, StagingFolder& staging)
{
    ScopedHandle held;
    PackageFileResult result =
        PlaceThroughStaging(SystemFileCalls(), source, &package, destination, folder, staging, true, held);
    package.Reset();
    return result;
}

PackageFileResult CopyFileKeeping(const std::string& source, const std::string& destination, StagingFolder& staging,
                                  const PackageFileCalls& calls)
{
    ScopedHandle held;
    return PlaceThroughStaging(calls, source, nullptr, destination, nullptr, staging, false, held);
}

namespace {

PackageFileResult MoveAcrossVolumes(const PackageFileCalls& calls, const std::string& source,
                                    const std::string& destination, StagingFolder& staging)
{
    DWORD error = 0;
    // To another volume: copied, the copy put in place, and then the package
    // deleted, but only while it is still the file that was copied. When it
    // has gone meanwhile (another program, a second Quillet), the copy is
    // what is left of it and stays. Only when the package is still there and
    // cannot be deleted (a read-only medium, another program holding it) does
    // the copy go, through the handle held on it since it was made: the
    // package is never left in two places, nor in none.
    // A file of that name found there refuses the move before any data is
    // copied; one that comes meanwhile refuses the rename into place.
    if (PathExists(destination))
        return WithAliasNoted(Failed(ERROR_FILE_EXISTS), destination);
    FileIdentity noted;
    if (!FileIdentityRead(source, &noted, &error))
        return Failed(error);
    ScopedHandle held;
    PackageFileResult result = PlaceThroughStaging(calls, source, nullptr, destination, nullptr, staging, false, held);
    if (!result.done)
        return result;
    if (calls.remove(source, noted, &error) != SameFileDelete::Refused)
        return result;
    PackageFileResult failed = FailedDropping(held, error);
    failed.destinationKnown = true;
    return failed;
}

}  // namespace

PackageFileResult MovePackageFile(const std::string& source, const std::string& destination, StagingFolder& staging,
                                  const PackageFileCalls& calls)
{
    // Within one volume a move is a rename: it copies nothing, so it leaves
    // no piece, and it never replaces. Drive letters cannot tell volumes
    // apart (under Wine every path is on Z:), so the rename is tried first.
    if (calls.rename(source, destination, false))
        return {true, 0, true, false};
    DWORD error = GetLastError();
    if (error != ERROR_NOT_SAME_DEVICE)
        return WithAliasNoted(Failed(error), destination);
    return MoveAcrossVolumes(calls, source, destination, staging);
}

PackageFileResult MoveHeldPackageFile(ScopedHandle& package, HANDLE folder, const std::string& source,
                                      const std::string& destination, StagingFolder& staging)
{
    // The same rename, through the handle the package is held by: a rename
    // by path would open and close the file once more. The holder shares
    // neither writing nor deletion, so the move to another volume, which
    // deletes the package by its path, lets it go first.
    bool renamed = RenameIntoPlace(package.Get(), folder, destination, false);
    DWORD error = renamed ? 0 : GetLastError();
    package.Reset();
    if (renamed)
        return {true, 0, true, false};
    if (error != ERROR_NOT_SAME_DEVICE)
        return WithAliasNoted(Failed(error), destination);
    return MoveAcrossVolumes(SystemFileCalls(), source, destination, staging);
}
