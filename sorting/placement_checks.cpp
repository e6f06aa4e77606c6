#include "sorting/placement_checks.h"

#include <windows.h>

#include <cstring>

#include "util/device_names.h"

namespace {

size_t CharacterCount(const std::string& text)
{
    if (text.empty())
        return 0;
    return static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0));
}

// Steps by character, so that the second byte of a double-byte character is
// never taken for a "\".
bool HoldsDeviceName(const std::string& path)
{
    size_t start = 0;
    for (size_t at = 0; at <= path.size();) {
        if (at == path.size() || path[at] == '\\') {
            // Every device name starts with one of these letters.
            if (at > start && std::strchr("cCpPaAnNlL", path[start]) && IsDeviceName(path.substr(start, at - start)))
                return true;
            start = ++at;
        } else {
            at += IsDBCSLeadByte(static_cast<BYTE>(path[at])) && at + 1 < path.size() ? 2 : 1;
        }
    }
    return false;
}

}  // namespace

unsigned long PlacementRefusal(const std::string& folder, const std::string& fileName)
{
    std::string destination = folder + fileName;
    if (HoldsDeviceName(destination))
        return ERROR_INVALID_NAME;
    size_t folderLength = CharacterCount(folder);
    if (!folder.empty() && folder.back() == '\\')
        --folderLength;
    if (folderLength >= MAX_PATH - 12 || CharacterCount(destination) >= MAX_PATH)
        return ERROR_FILENAME_EXCED_RANGE;
    return 0;
}
