#include "sorting/placement_checks.h"

#include <windows.h>

#include "util/ansi_text.h"
#include "util/device_names.h"
#include "util/folder_relative.h"
#include "util/folder_tree.h"
#include "util/scoped_handle.h"

unsigned long PlacementRefusal(const std::string& folder, const std::string& fileName)
{
    std::string destination = folder + fileName;
    if (PathHoldsDeviceName(destination))
        return ERROR_INVALID_NAME;
    size_t folderLength = AnsiWideLength(WithoutTrailingBackslash(folder));
    if (folderLength >= FolderPathLimit || AnsiWideLength(destination) >= MAX_PATH)
        return ERROR_FILENAME_EXCED_RANGE;
    return 0;
}

unsigned long PackageOpenRefusal(const std::string& package, bool move)
{
    ScopedHandle file;
    return PackageOpenHeld(package, move, file);
}

unsigned long PackageOpenHeld(const std::string& package, bool move, ScopedHandle& held, HANDLE folder)
{
    DWORD access = GENERIC_READ | (move ? DELETE : 0);
    size_t slash = AnsiFindLastBackslash(package);
    if (folder && slash != std::string::npos)
        held.Reset(FileOpenInFolder(folder, package.substr(slash + 1), access, FILE_SHARE_READ, false));
    else
        held.Reset(CreateFileA(package.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    return held.Valid() ? 0 : GetLastError();
}

unsigned long ReplaceRefusal(const std::string& destination)
{
    DWORD attributes = GetFileAttributesA(destination.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return ERROR_ACCESS_DENIED;
    ScopedHandle file(CreateFileA(destination.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() ? 0 : GetLastError();
}
