#include "sorting/placement_checks.h"

#include <windows.h>

#include "util/ansi_text.h"
#include "util/device_names.h"
#include "util/folder_tree.h"

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
