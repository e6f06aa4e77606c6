#include "util/final_path.h"

#include <vector>

#include "util/ansi_text.h"
#include "util/scoped_handle.h"

std::string PlainFinalPath(const std::string& path)
{
    if (path.compare(0, 8, "\\\\?\\UNC\\") == 0)
        return "\\\\" + path.substr(8);
    if (path.compare(0, 4, "\\\\?\\") == 0)
        return path.substr(4);
    return path;
}

namespace {

// The folder's final path, or false with the system's error for the open.
// The trailing "\" keeps "C:" from meaning a current folder.
bool OpenedFinalPath(const std::string& folder, std::string* finalPath, DWORD* error)
{
    ScopedHandle handle(CreateFileA(WithTrailingBackslash(folder).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    *error = handle.Valid() ? 0 : GetLastError();
    return handle.Valid() && FinalPathOfHandle(handle.Get(), finalPath);
}

}  // namespace

bool FinalPathOfHandle(HANDLE handle, std::string* finalPath)
{
    std::vector<wchar_t> buffer(MAX_PATH + 8);
    DWORD length = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= buffer.size())
        return false;
    bool exact = false;
    std::string path = PlainFinalPath(AnsiTextFromWide(buffer.data(), &exact));
    if (!exact) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    // A drive's root keeps its "\": "C:" alone would mean a current folder.
    *finalPath = path.size() > 3 ? WithoutTrailingBackslash(path) : path;
    return true;
}

bool FinalPathOfFolder(const std::string& path, std::string* finalPath, MissingLevels missing)
{
    // Up from the folder to the first level that can be opened, for as long
    // as the system says a level is not there. Any other failure resolves
    // nothing.
    std::string level = WithoutTrailingBackslash(path);
    std::string below;
    while (!level.empty()) {
        DWORD error = 0;
        if (OpenedFinalPath(level, finalPath, &error)) {
            if (!below.empty())
                *finalPath = WithTrailingBackslash(*finalPath) + WithoutTrailingBackslash(below);
            return true;
        }
        size_t slash = AnsiFindLastBackslash(level);
        if (missing != MissingLevels::Appended || (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            || slash == std::string::npos)
            return false;
        below = level.substr(slash + 1) + "\\" + below;
        level.resize(slash);
    }
    return false;
}

bool PathLiesBelow(const std::string& folder, const std::string& path, bool orSame)
{
    if (folder.empty() || path.empty())
        return false;
    std::string above = LowerAnsiText(WithTrailingBackslash(folder));
    std::string below = LowerAnsiText(WithTrailingBackslash(path));
    return below.compare(0, above.size(), above) == 0 && (orSame || below.size() > above.size());
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
