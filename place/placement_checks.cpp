#include "place/placement_checks.h"

#include <windows.h>

#include "file_acts/folder_tree.h"
#include "util/ansi_text.h"
#include "util/device_names.h"

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

unsigned long PackageOpen(ActFile& package, const ActFolder& folder, const std::string& name, bool move)
{
    return ActFileOpen(package, folder, name, GENERIC_READ | (move ? DELETE : 0), FILE_SHARE_READ,
                       move ? ActPurpose::Change : ActPurpose::Read);
}

bool PackageIdentityOf(const ActFile& package, FileIdentity* identity)
{
    if (!package.handle.Valid() || !package.folder || !ActFileIdentity(package, identity))
        return false;
    identity->volume = ActFolderVolume(*package.folder);
    return true;
}

unsigned long PackageOpenRefusal(const std::string& package, bool move)
{
    return ActLookOpen(package, GENERIC_READ | (move ? DELETE : 0), FILE_SHARE_READ);
}
