#include "util/final_path.h"

#include <windows.h>

#include <vector>

#include "util/ansi_text.h"
#include "util/scoped_handle.h"

namespace {

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
