#include "sorting/package_file_ops.h"

#include <windows.h>

#include "util/ansi_text.h"
#include "util/scoped_handle.h"

namespace {

// Whether the package can be opened to read, as a copy or a move opens it
// first of all.
bool SourceReadable(const std::string& source)
{
    ScopedHandle file(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid();
}

bool IsAlreadyThere(DWORD error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

// The failure with its code, after removing the file the attempt left (the
// caller knows it made that file). The code is read before the removal can
// change it.
PackageFileResult FailedLeaving(const std::string& piece)
{
    DWORD error = GetLastError();
    DeleteFileA(piece.c_str());
    return {false, error, false};
}

std::string FolderOf(const std::string& path)
{
    size_t slash = AnsiFindLastBackslash(path);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Copies into the temporary file, then puts it in the destination's place.
PackageFileResult CopyThroughTemporary(const std::string& source, const char* temporary,
                                       const std::string& destination)
{
    if (!CopyFileA(source.c_str(), temporary, FALSE))
        return FailedLeaving(temporary);
    if (!MoveFileExA(temporary, destination.c_str(), MOVEFILE_REPLACE_EXISTING))
        return FailedLeaving(temporary);
    return {true, 0, true};
}

// A file of the destination's name is there: the copy goes to a temporary
// file beside it, which replaces that file only when complete. The temporary
// name ends in ".tmp", which no fetch lists as a package.
PackageFileResult CopyOverExisting(const std::string& source, const std::string& destination)
{
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(FolderOf(destination).c_str(), "qlt", 0, temporary))
        return {false, GetLastError(), true};
    // The source is held open without delete sharing meanwhile: when the
    // destination is the source itself under another spelling, replacing it
    // is refused, as a plain copy of a file onto itself is.
    ScopedHandle held(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return CopyThroughTemporary(source, temporary, destination);
}

PackageFileResult Existed(PackageFileResult result)
{
    result.destinationExisted = true;
    return result;
}

}  // namespace

PackageFileResult CopyPackageFile(const std::string& source, const std::string& destination)
{
    // The common case, one system call that refuses to replace anything.
    if (CopyFileA(source.c_str(), destination.c_str(), TRUE))
        return {true, 0, false};
    DWORD error = GetLastError();
    if (IsAlreadyThere(error))
        return Existed(CopyOverExisting(source, destination));
    // A copy that could not open its source (gone, or held by another
    // program) stopped before the destination, and whatever stands there is
    // not its own. Otherwise the destination was free and the copy made what
    // stands there now: under Wine a copy cut short (a full volume) leaves
    // its piece behind.
    if (SourceReadable(source))
        DeleteFileA(destination.c_str());
    return {false, error, false};
}

PackageFileResult MovePackageFile(const std::string& source, const std::string& destination)
{
    // A move never replaces a file, so one that went through found the
    // destination free.
    if (MoveFileA(source.c_str(), destination.c_str()))
        return {true, 0, false};
    DWORD error = GetLastError();
    if (IsAlreadyThere(error))
        return {false, error, true};
    // A move to another volume copies; under Wine one cut short leaves its
    // piece, which would make every later move of the package "already
    // exist". As with a copy, a move that could not open its source stopped
    // before the destination, and with the source open a file standing
    // there would have been "already there": so what stands there now, the
    // attempt made.
    if (SourceReadable(source))
        DeleteFileA(destination.c_str());
    return {false, error, false};
}
