#include "history/history_file.h"

#include <algorithm>

#include "util/scoped_handle.h"

namespace {

// Ends a line cut short, so that the next line stands alone. The cut line
// fails its check and is never read as a record.
const char CutShortEnd[] = "\t(cut short)\r\n";

// Whether the file's last byte is other than a line feed.
bool EndsMidLine(const std::string& path)
{
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size;
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size) || size.QuadPart == 0)
        return false;
    LARGE_INTEGER last;
    last.QuadPart = size.QuadPart - 1;
    char byte = '\n';
    DWORD read = 0;
    return SetFilePointerEx(file.Get(), last, nullptr, FILE_BEGIN) && ReadFile(file.Get(), &byte, 1, &read, nullptr)
           && read == 1 && byte != '\n';
}

}  // namespace

HANDLE HistoryFileOpen(const std::string& path, DWORD* error)
{
    // Append access alone: the system puts every write at the end of the
    // file, so lines of several processes never overwrite each other.
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    *error = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (file != INVALID_HANDLE_VALUE && EndsMidLine(path) && !HistoryFileAppend(file, CutShortEnd, error)) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

bool HistoryFileAppend(HANDLE file, const std::string& text, DWORD* error)
{
    DWORD written = 0;
    if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        *error = GetLastError();
        return false;
    }
    if (written != text.size()) {
        *error = ERROR_DISK_FULL;
        return false;
    }
    return true;
}

bool HistoryFileRead(const std::string& path, std::string* text)
{
    text->clear();
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid())
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x40000000)
        return false;
    text->resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < text->size()) {
        DWORD read = 0;
        DWORD ask = static_cast<DWORD>(std::min<size_t>(text->size() - done, 1u << 24));
        if (!ReadFile(file.Get(), &(*text)[done], ask, &read, nullptr))
            return false;
        if (read == 0)
            break;
        done += read;
    }
    // Lines appended meanwhile by another process wait for the next reading.
    text->resize(done);
    return true;
}

void HistoryFileRotate(const std::string& path, const std::string& oldPath, uint64_t limit,
                       std::string (*carried)(const std::string& text))
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return;
    uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (size <= limit)
        return;
    std::string text, lines;
    if (carried && HistoryFileRead(path, &text))
        lines = carried(text);
    if (!MoveFileExA(path.c_str(), oldPath.c_str(), MOVEFILE_REPLACE_EXISTING) || lines.empty())
        return;
    DWORD error = 0;
    HANDLE file = HistoryFileOpen(path, &error);
    if (file == INVALID_HANDLE_VALUE)
        return;
    HistoryFileAppend(file, lines, &error);
    FlushFileBuffers(file);
    CloseHandle(file);
}
