#include "settings/settings_file.h"

#include "util/file_replacement.h"
#include "util/scoped_handle.h"

namespace {

// Far beyond any settings file; reading a larger one whole could exhaust the
// address space of a 32-bit process.
const DWORD LargestReadableFile = 16 * 1024 * 1024;

HANDLE OpenExisting(const std::string& path, DWORD access, DWORD sharing)
{
    return CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Windows refuses write access to a file marked read-only by itself; a file
// system that lets the owner write anyway must not make us overwrite it.
HANDLE OpenForWriting(const std::string& path)
{
    HANDLE file = OpenExisting(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ);
    BY_HANDLE_FILE_INFORMATION info;
    if (file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &info)
        && (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

}  // namespace

bool ReadWholeFile(HANDLE file, std::string* bytes)
{
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);  // INVALID_FILE_SIZE is beyond the limit too
    if (high != 0 || size > LargestReadableFile) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return false;
    }
    bytes->assign(size, '\0');
    DWORD done = 0;
    while (done < size) {
        DWORD got = 0;
        if (!ReadFile(file, &(*bytes)[done], size - done, &got, nullptr))
            return false;
        if (got == 0)
            break;
        done += got;
    }
    bytes->resize(done);
    return true;
}

bool ReadFileOnly(const std::string& path, std::string* bytes)
{
    ScopedHandle file(OpenExisting(path, GENERIC_READ, FILE_SHARE_READ));
    if (!file.Valid())
        file.Reset(OpenExisting(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE));
    if (!file.Valid())
        return false;
    bool read = ReadWholeFile(file.Get(), bytes);
    // The reason of a failed read outlives the closing of the file.
    DWORD error = GetLastError();
    file.Reset();
    SetLastError(error);
    return read;
}

SettingsFile::~SettingsFile()
{
    Close();
}

void SettingsFile::Create(const std::string& path)
{
    Close();
    path_ = path;
    replacement_ = ReplacementBegin(path);
    if (replacement_ == INVALID_HANDLE_VALUE)
        return;
    open_ = true;
    // A created file is written at Close even when nothing was added to it.
    document_.changed = true;
}

bool SettingsFile::Open(const std::string& path)
{
    Close();
    path_ = path;
    file_ = OpenForWriting(path);
    if (file_ == INVALID_HANDLE_VALUE) {
        readOnly_ = true;
        file_ = OpenExisting(path, GENERIC_READ, FILE_SHARE_READ);
    }
    if (file_ == INVALID_HANDLE_VALUE)
        file_ = OpenExisting(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    std::string bytes;
    if (file_ == INVALID_HANDLE_VALUE || !ReadWholeFile(file_, &bytes)) {
        Close();
        return false;
    }
    document_ = DocumentParse(bytes);
    open_ = true;
    return true;
}

bool SettingsFile::SelectGroup(const std::string& name)
{
    return open_ && DocumentSelectGroup(document_, name);
}

void SettingsFile::AddComment(const std::string& text)
{
    if (open_)
        DocumentAddComment(document_, text);
}

void SettingsFile::WriteKey(const std::string& key, const std::string& value)
{
    if (open_)
        DocumentWriteKey(document_, key, value);
}

std::string SettingsFile::ReadKey(const std::string& key, const std::string& fallback) const
{
    return open_ ? DocumentReadKey(document_, key, fallback) : fallback;
}

bool SettingsFile::Close()
{
    bool written = true;
    if (open_ && document_.changed && !readOnly_)
        written = WriteBack(DocumentText(document_));
    if (replacement_ != INVALID_HANDLE_VALUE)
        ReplacementDrop(replacement_, path_);
    ReleaseFile();
    replacement_ = INVALID_HANDLE_VALUE;
    open_ = false;
    readOnly_ = false;
    document_ = SettingsDocument();
    return written;
}

bool SettingsFile::WriteBack(const std::string& text)
{
    // Our own hold would refuse both the rename and the opening below.
    ReleaseFile();
    // A link is written through: a new file in its place would no longer be
    // the one the other names share.
    if (!FileIsLinked(path_)) {
        HANDLE replacement = replacement_ != INVALID_HANDLE_VALUE ? replacement_ : ReplacementBegin(path_);
        replacement_ = INVALID_HANDLE_VALUE;
        if (replacement != INVALID_HANDLE_VALUE && ReplacementCommit(replacement, path_, text))
            return true;
    }
    // Any failure of the temporary file (it cannot be made or written, or
    // another program's open file refuses the rename) leaves the old text
    // whole, and a write in place may still succeed. Opened anew, a file
    // marked read-only meanwhile is left alone.
    file_ = OpenForWriting(path_);
    return file_ != INVALID_HANDLE_VALUE && WriteInPlace(file_, text);
}

void SettingsFile::ReleaseFile()
{
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}
