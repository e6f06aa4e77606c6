#include "util/device_names.h"

namespace {

const char* const DeviceNames[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};

std::string AsciiLower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool IsNumberedPort(const std::string& base)
{
    return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) && base[3] >= '1'
           && base[3] <= '9';
}

}  // namespace

bool IsDeviceName(const std::string& segment)
{
    // The system drops what follows the first "." and the blanks before it
    // ("." is never the second byte of a double-byte character).
    std::string base = AsciiLower(segment.substr(0, segment.find('.')));
    base.erase(base.find_last_not_of(' ') + 1);
    if (IsNumberedPort(base))
        return true;
    for (const char* name : DeviceNames) {
        if (base == name)
            return true;
    }
    return false;
}
