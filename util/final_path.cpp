#include "util/final_path.h"

#include <vector>

#include "util/ansi_text.h"
#include "util/scoped_handle.h"

namespace {

// The system writes final paths as "\\?\C:\..." or "\\?\UNC\server\...".
std::string PlainPath(const std::string& path)
{
    if (path.compare(0, 8, "\\\\?\\UNC\\") == 0)
        return "\\\\" + path.substr(8);
    if (path.compare(0, 4, "\\\\?\\") == 0)
        return path.substr(4);
    return path;
}

std::string UpperAnsiText(std::string text)
{
    if (!text.empty())
        CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::wstring WideFromAnsi(const std::string& text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    return std::wstring(wide.data());
}

// The final path of an existing folder without its trailing "\"; empty when
// it cannot be opened (the error then says why) or resolved (error 0). Only
// attributes are asked for, and every sharing is allowed: the check must not
// stand in another program's way.
std::string OpenedFinalPath(const std::string& folder, DWORD* error)
{
    ScopedHandle handle(CreateFileW(WideFromAnsi(folder).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    *error = handle.Valid() ? 0 : GetLastError();
    if (!handle.Valid())
        return std::string();
    wchar_t path[1024];
    DWORD length = GetFinalPathNameByHandleW(handle.Get(), path, 1024, FILE_NAME_NORMALIZED);
    if (length == 0 || length >= 1024)
        return std::string();
    bool exact = false;
    std::string ansi = AnsiTextFromWide(path, &exact);
    return exact ? WithoutTrailingBackslash(ansi) : std::string();
}

}  // namespace

bool FinalPathOfHandle(HANDLE handle, std::string* finalPath)
{
    std::vector<char> buffer(MAX_PATH + 8);
    DWORD length = GetFinalPathNameByHandleA(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = GetFinalPathNameByHandleA(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= buffer.size())
        return false;
    std::string path = PlainPath(std::string(buffer.data(), length));
    // A drive's root keeps its "\": "C:" alone would mean a current folder.
    *finalPath = path.size() > 3 ? WithoutTrailingBackslash(path) : path;
    return true;
}

bool FinalPathOfFolder(const std::string& path, std::string* finalPath)
{
    // No access right is asked for and every kind of sharing is given: this
    // only looks. The trailing "\" keeps "C:" from meaning a current folder.
    ScopedHandle folder(CreateFileA(WithTrailingBackslash(path).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return folder.Valid() && FinalPathOfHandle(folder.Get(), finalPath);
}

bool PathLiesBelow(const std::string& folder, const std::string& path)
{
    std::string above = UpperAnsiText(WithTrailingBackslash(folder));
    std::string below = UpperAnsiText(WithTrailingBackslash(path));
    return below.compare(0, above.size(), above) == 0;
}

std::string FinalFolderPath(const std::string& folder)
{
    // Up from the folder to the first level that can be opened, for as long
    // as the system says a level is not there; what lies below it is
    // appended as written. Any other failure resolves nothing.
    std::string level = WithoutTrailingBackslash(folder);
    std::string missing;
    while (!level.empty()) {
        DWORD error = 0;
        std::string final = OpenedFinalPath(level + "\\", &error);
        if (!final.empty())
            return final + "\\" + missing;
        size_t slash = AnsiFindLastBackslash(level);
        if ((error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) || slash == std::string::npos)
            return std::string();
        missing = level.substr(slash + 1) + "\\" + missing;
        level.resize(slash);
    }
    return std::string();
}

bool FinalPathBelow(const std::string& path, const std::string& folder, bool orSame)
{
    if (folder.empty() || path.size() < folder.size() || (!orSame && path.size() == folder.size()))
        return false;
    return AnsiEqualsIgnoringCase(path.substr(0, folder.size()), folder);
}

bool FoundNameIs(const std::string& path, const std::string& name)
{
    WIN32_FIND_DATAW found;
    ScopedFind find(FindFirstFileW(WideFromAnsi(path).c_str(), &found));
    if (!find.Valid())
        return false;
    bool exact = false;
    std::string longName = AnsiTextFromWide(found.cFileName, &exact);
    return exact && AnsiEqualsIgnoringCase(longName, name);
}
