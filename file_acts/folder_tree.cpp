#include "file_acts/folder_tree.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace {

// The length of the folder path in characters, without its terminator and a
// trailing "\".
size_t FolderPathLength(const std::vector<wchar_t>& wide)
{
    size_t length = wide.size() - 1;
    return length > 0 && wide[length - 1] == L'\\' ? length - 1 : length;
}

}  // namespace

int CreateFolderTree(const std::string& path)
{
    // A folder that is already there is what a sort run meets for nearly
    // every package; the shell call would refuse it as well, only far slower.
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    // The shell call wants UTF-16; the path is converted by the ANSI code page,
    // its terminator included.
    int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return 0;
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    // The shell call would cut a longer path short, make the cut piece and
    // report success; such a path is refused here, the way Windows refuses it.
    if (FolderPathLength(wide) >= FolderPathLimit) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    return SHCreateDirectory(nullptr, wide.data()) == ERROR_SUCCESS ? 1 : 0;
}
