#include "place/package_file_ops.h"

#include <windows.h>

#include "file_acts/act_copy.h"
#include "file_acts/act_refusals.h"
#include "place/staging_folder.h"
#include "util/ansi_text.h"

// Every copy of data (a copy, a copy over a file, a move to another volume)
// goes into a new file of the run's staging folder ("<n>.tmp"), made and
// held by the copy itself, written through that handle from the handle the
// package was opened and checked by, and renamed through it into the held
// folder, never replacing: a file another program put at the destination
// meanwhile refuses the rename, and nothing there is touched. Only Copy then
// replaces a file of that name, as it always did, with the complete copy. A
// step that fails deletes the staged copy through its handle: it is provably
// the operation's own. A kill leaves the copy under its "<n>.tmp" name in
// the staging folder, which the next start removes.
// Read-only packages: the copy takes its package's read-only attribute, as
// CopyFileA's does. A read-only file may still be renamed through a handle
// opened for it; only its deletion needs the attribute cleared first, which
// the deletion of a staged copy does. A read-only file of that name at the
// destination is never replaced (Windows refuses it; Wine would not).

namespace {

bool IsAlreadyThere(DWORD error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

// A failure with its code; whether a file stood at the destination is known
// only when that is what the failure says.
PackageFileResult Failed(unsigned long error)
{
    return {false, error, IsAlreadyThere(error), IsAlreadyThere(error)};
}

// The failure with its code, after deleting the staged copy, which is the
// operation's own. The code is taken before the deletion can change it.
PackageFileResult FailedDropping(ActFile& staged, unsigned long error)
{
    ActFileDelete(staged, nullptr, true, false);
    ActFileClose(staged);
    return Failed(error);
}

PackageFileResult Placed(const ActFile& placed, bool replaced)
{
    PackageFileResult result{true, 0, true, replaced};
    FileIdentity identity;
    result.stamped = ActFileIdentity(placed, &identity);
    result.size = identity.size;
    result.lastWriteTime = identity.lastWriteTime;
    return result;
}

// A name taken at the destination is a file of that name only when the file
// found there carries it as its long name: on Windows "FORM~4C1.LKS" finds
// "Format_Factory_Long_Name_2.90.lks", which is another file; it is neither
// replaced nor taken for a copy of the package.
PackageFileResult WithAliasNoted(PackageFileResult result, const ActFolder& folder, const std::string& name)
{
    if (result.done || !result.destinationExisted)
        return result;
    ActListed found;
    if (!ActFolderHolds(folder, name, &found) || !AnsiEqualsIgnoringCase(found.name, name)) {
        result.destinationKnown = false;
        result.destinationExisted = false;
        result.anotherFile = true;
    }
    return result;
}

PackageFileResult WithStamp(PackageFileResult result, unsigned long stampRefused)
{
    if (result.done)
        result.stampRefused = stampRefused;
    return result;
}

// Makes the staged copy of the file in the staging folder, held in `staged`.
PackageFileResult Stage(const PackageFileCalls& calls, const ActFile& file, StagingFolder& staging, ActFile& staged)
{
    if (unsigned long error = StagingFolderCreate(staging, staged))
        return Failed(IsAlreadyThere(error) ? ERROR_CANNOT_MAKE : error);
    PackageFileResult made{true};
    if (unsigned long error = calls.copy(file, staged, &made.stampRefused))
        return FailedDropping(staged, error);
    return made;
}

// The staged copy was refused its name: a file of that name stands there.
// Only Copy replaces it, and only when it carries that very name and may be
// replaced. The file (the package) is still held without delete sharing, so
// a destination that is the package itself under another spelling refuses
// the replacing rename, as a copy of a file onto itself fails.
PackageFileResult Replace(const PackageFileCalls& calls, const std::string& name, const ActFolder& folder,
                          ActFile& staged, unsigned long error)
{
    PackageFileResult refused = WithAliasNoted(Failed(error), folder, name);
    if (refused.anotherFile) {
        FailedDropping(staged, error);
        return refused;
    }
    unsigned long refusal = PackageReplaceRefusal(folder, name);
    if (!refusal)
        refusal = calls.rename(staged, folder, name, true);
    if (refusal) {
        PackageFileResult result = FailedDropping(staged, refusal);
        result.destinationKnown = result.destinationExisted = true;
        return result;
    }
    return Placed(staged, true);
}

// Copies the file into the staging folder and renames the copy into the
// folder under the file's name; `replace`: over a file of that name, too.
// The placed copy stays held in `staged`.
PackageFileResult PlaceThroughStaging(const PackageFileCalls& calls, const ActFile& file, const ActFolder& folder,
                                      StagingFolder& staging, bool replace, ActFile& staged)
{
    PackageFileResult result = Stage(calls, file, staging, staged);
    if (!result.done)
        return result;
    unsigned long stampRefused = result.stampRefused;
    unsigned long error = calls.rename(staged, folder, file.name, false);
    if (!error)
        return WithStamp(Placed(staged, false), stampRefused);
    if (!replace || !IsAlreadyThere(error))
        return WithAliasNoted(FailedDropping(staged, error), folder, file.name);
    return WithStamp(Replace(calls, file.name, folder, staged, error), stampRefused);
}

unsigned long SystemCopy(const ActFile& from, ActFile& to, unsigned long* stampRefused)
{
    return ActFileCopyContents(from, to, stampRefused);
}

// To another volume: copied, the copy put in place, and then the file
// deleted through its handle, which has shared neither writing nor deletion
// since it was opened: the file deleted is the file copied. Only when it
// cannot be deleted (a read-only medium) does the copy go, through the
// handle held on it since it was made: the package is never left in two
// places, nor in none. A file of that name found there refuses the move
// before any data is copied; one that comes meanwhile refuses the rename.
PackageFileResult MoveAcrossVolumes(const PackageFileCalls& calls, ActFile& file, const ActFolder& folder,
                                    StagingFolder& staging)
{
    if (ActFolderHolds(folder, file.name))
        return WithAliasNoted(Failed(ERROR_FILE_EXISTS), folder, file.name);
    FileIdentity noted;
    if (!ActFileIdentity(file, &noted))
        return Failed(GetLastError());
    ActFile placed;
    PackageFileResult result = PlaceThroughStaging(calls, file, folder, staging, false, placed);
    if (!result.done)
        return result;
    unsigned long error = calls.remove(file, &noted, false, true);
    if (!error)
        return result;
    PackageFileResult failed = FailedDropping(placed, error);
    failed.destinationKnown = true;
    return failed;
}

}  // namespace

unsigned long PackageReplaceRefusal(const ActFolder& folder, const std::string& name)
{
    ActListed found;
    if (ActFolderHolds(folder, name, &found) && (found.attributes & FILE_ATTRIBUTE_READONLY))
        return ERROR_ACCESS_DENIED;
    ActFile there;
    return ActFileOpen(there, folder, name, DELETE | FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, ActPurpose::Change);
}

const PackageFileCalls& SystemFileCalls()
{
    static const PackageFileCalls calls = {SystemCopy, ActFileRenameInto, ActFileDelete};
    return calls;
}

PackageFileResult CopyPackageFile(const ActFile& file, const ActFolder& folder, StagingFolder& staging, bool replace,
                                  const PackageFileCalls& calls)
{
    ActFile staged;
    return PlaceThroughStaging(calls, file, folder, staging, replace, staged);
}

PackageFileResult MovePackageFile(ActFile& file, const ActFolder& folder, StagingFolder& staging,
                                  const PackageFileCalls& calls)
{
    // Within one volume a move is a rename: it copies nothing, so it leaves
    // no piece, and it never replaces. Drive letters cannot tell volumes
    // apart (under Wine every path is on Z:), so the rename is tried first.
    std::string name = file.name;
    unsigned long error = calls.rename(file, folder, name, false);
    if (!error) {
        PackageFileResult result = Placed(file, false);
        ActFileClose(file);
        return result;
    }
    if (error != ERROR_NOT_SAME_DEVICE)
        return WithAliasNoted(Failed(error), folder, name);
    return MoveAcrossVolumes(calls, file, folder, staging);
}
