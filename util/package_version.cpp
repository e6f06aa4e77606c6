#include "util/package_version.h"

#include <cstring>

#include "util/ansi_text.h"

namespace {

// In the order the fetch tests them.
const char* const Endings[] = {".lks", ".paf.exe", ".apk"};
const size_t LongestEnding = 8;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The segment starting at the position, without its leading zeros; the
// position moves past it and its dot.
std::string NextSegment(const std::string& version, size_t* at)
{
    size_t end = version.find('.', *at);
    if (end == std::string::npos)
        end = version.size();
    size_t start = version.find_first_not_of('0', *at);
    std::string segment = start < end ? version.substr(start, end - start) : std::string();
    *at = end + 1;
    return segment;
}

// The length of the package ending the lower-cased name ends with, or 0.
size_t LoweredEndingLength(const std::string& lowered)
{
    for (const char* ending : Endings) {
        size_t length = std::strlen(ending);
        if (lowered.size() >= length && lowered.compare(lowered.size() - length, length, ending) == 0)
            return length;
    }
    return 0;
}

}  // namespace

size_t PackageAppLength(const std::string& fileName)
{
    // A digit is never the second byte of a double-byte character; a "_" can be.
    for (size_t at = 0; at + 1 < fileName.size(); at = AnsiNextCharacter(fileName, at)) {
        if (fileName[at] == '_' && IsDigit(fileName[at + 1]))
            return at + 1;
    }
    return 0;
}

size_t PackageEndingLength(const std::string& fileName)
{
    size_t tail = fileName.size() < LongestEnding ? fileName.size() : LongestEnding;
    return LoweredEndingLength(LowerAnsiText(fileName.substr(fileName.size() - tail)));
}

bool PackageVersionOf(const std::string& fileName, PackageVersion* found)
{
    // Lower-cased once: the system keeps every byte where it was.
    std::string lowered = LowerAnsiText(fileName);
    size_t ending = LoweredEndingLength(lowered);
    size_t app = PackageAppLength(fileName);
    size_t stem = fileName.size() - ending;
    if (!ending || !app || app >= stem)
        return false;
    size_t end = app;
    while (end < stem && (IsDigit(fileName[end]) || fileName[end] == '.'))
        ++end;
    while (fileName[end - 1] == '.')
        --end;
    found->version = fileName.substr(app, end - app);
    // "|" stands in no file name: app and edition cannot run into each other.
    found->app = lowered.substr(0, app) + "|" + lowered.substr(end);
    return true;
}

int PackageVersionCompare(const std::string& a, const std::string& b)
{
    for (size_t atA = 0, atB = 0; atA <= a.size() || atB <= b.size();) {
        std::string segmentA = atA <= a.size() ? NextSegment(a, &atA) : std::string();
        std::string segmentB = atB <= b.size() ? NextSegment(b, &atB) : std::string();
        if (segmentA.size() != segmentB.size())
            return segmentA.size() < segmentB.size() ? -1 : 1;
        int order = segmentA.compare(segmentB);
        if (order != 0)
            return order < 0 ? -1 : 1;
    }
    return 0;
}
