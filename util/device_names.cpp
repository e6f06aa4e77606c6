#include "util/device_names.h"

#include <algorithm>
#include <cstring>

#include "util/ansi_text.h"

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

// COM and LPT with a digit: 0 to 9, or the superscript one, two or three,
// which code page 1252 spells 0xB9, 0xB2 and 0xB3; Windows keeps all of them.
bool IsNumberedPort(const std::string& base)
{
    if (base.size() != 4 || (base.compare(0, 3, "com") != 0 && base.compare(0, 3, "lpt") != 0))
        return false;
    unsigned char digit = static_cast<unsigned char>(base[3]);
    return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
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

bool PathHoldsDeviceName(const std::string& path)
{
    for (size_t start = 0; start <= path.size();) {
        size_t end = std::min(AnsiFindBackslash(path, start), path.size());
        // Every device name starts with one of these letters.
        if (end > start && std::strchr("cCpPaAnNlL", path[start]) && IsDeviceName(path.substr(start, end - start)))
            return true;
        start = end + 1;
    }
    return false;
}
