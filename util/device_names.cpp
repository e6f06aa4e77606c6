#include "util/device_names.h"

namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool IsDeviceName(const std::string& segment)
{
    // The base name ends at the first dot; Windows drops blanks before it.
    std::string base = segment.substr(0, segment.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (char& c : base)
        c = Lower(c);
    static const char* const fixed[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
    for (const char* name : fixed) {
        if (base == name)
            return true;
    }
    return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0)
           && base[3] >= '1' && base[3] <= '9';
}
