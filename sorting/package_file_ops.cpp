#include "sorting/package_file_ops.h"

#include <windows.h>

namespace {

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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
    size_t slash = path.find_last_of('\\');
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
    HANDLE held = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    PackageFileResult result = CopyThroughTemporary(source, temporary, destination);
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
    return result;
}

PackageFileResult Existed(PackageFileResult result)
{
    result.destinationExisted = true;
    return result;
}

}  // namespace

PackageFileResult CopyPackageFile(const std::string& source, const std::string& destination)
{
    // Looked at first: a copy that fails before it reaches the destination
    // (the source gone or held) must not lead to removing an older copy.
    if (PathExists(destination))
        return Existed(CopyOverExisting(source, destination));
    // The common case, one system call: nothing is there to lose.
    if (CopyFileA(source.c_str(), destination.c_str(), TRUE))
        return {true, 0, false};
    if (IsAlreadyThere(GetLastError()))
        return Existed(CopyOverExisting(source, destination));
    // Under Wine a copy cut short (a full volume) leaves its piece behind.
    return FailedLeaving(destination);
}

PackageFileResult MovePackageFile(const std::string& source, const std::string& destination)
{
    bool wasThere = PathExists(destination);
    if (MoveFileA(source.c_str(), destination.c_str()))
        return {true, 0, wasThere};
    DWORD error = GetLastError();
    // A move to another volume copies; under Wine one cut short leaves its
    // piece, which would make every later move of the package "already exist".
    if (!wasThere && !IsAlreadyThere(error) && PathExists(destination))
        DeleteFileA(destination.c_str());
    return {false, error, wasThere};
}
