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
