#include "sorting/folder_tree.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

int CreateFolderTree(const std::string& path)
{
    // The shell call wants UTF-16; the path is converted by the ANSI code page,
    // its terminator included.
    int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return 0;
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    return SHCreateDirectory(nullptr, wide.data()) == ERROR_SUCCESS ? 1 : 0;
}
