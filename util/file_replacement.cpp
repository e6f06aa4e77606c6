#include "util/file_replacement.h"

#include "util/scoped_handle.h"

namespace {

// What a replacement takes over from the file it replaces. Read-only is left
// out: such a file is never replaced, and a read-only temporary file could
// not be deleted after a failed rename.
const DWORD CarriedAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool WriteWhole(HANDLE file, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        if (!WriteFile(file, text.data() + done, static_cast<DWORD>(text.size() - done), &written, nullptr)
            || written == 0)
            return false;
        done += written;
    }
    return true;
}

// The temporary file that stands in for the file until the rename.
std::string ReplacementPath(const std::string& path)
{
    return path + ".tmp";
}

// Set on the temporary file before the rename, so the file never shows
// without them. The archive mark is set as on any file whose text changed.
void CarryAttributes(const std::string& path, const std::string& temporary)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(temporary.c_str(), (attributes & CarriedAttributes) | FILE_ATTRIBUTE_ARCHIVE);
}

}  // namespace

HANDLE ReplacementBegin(const std::string& path)
{
    // A temporary file left by a run that was killed is simply overwritten.
    return CreateFileA(ReplacementPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool ReplacementCommit(HANDLE replacement, const std::string& path, const std::string& text)
{
    std::string temporary = ReplacementPath(path);
    bool written = WriteWhole(replacement, text) && FlushFileBuffers(replacement);
    CloseHandle(replacement);
    if (written) {
        CarryAttributes(path, temporary);
        if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
    }
    DeleteFileA(temporary.c_str());
    return false;
}

void ReplacementDrop(HANDLE replacement, const std::string& path)
{
    CloseHandle(replacement);
    DeleteFileA(ReplacementPath(path).c_str());
}

bool FileIsLinked(const std::string& path)
{
    // The name's own attributes: opening a symbolic link opens what it names.
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return true;
    const DWORD anySharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    ScopedHandle file(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, anySharing, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    return file.Valid() && GetFileInformationByHandle(file.Get(), &info) && info.nNumberOfLinks > 1;
}

bool WriteInPlace(HANDLE file, const std::string& text)
{
    // The new end is set first: a disk too full for a longer text refuses it
    // before a byte of the old text is overwritten.
    LONG size = static_cast<LONG>(text.size());
    return SetFilePointer(file, size, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER && SetEndOfFile(file)
           && SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 && WriteWhole(file, text) && FlushFileBuffers(file);
}
