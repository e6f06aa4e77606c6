#include "util/package_version.h"

#include <cstring>

#include "util/ansi_text.h"

namespace {

// In the order the fetch tests them.
const char* const Endings[] = {".lks", ".paf.exe", ".apk"};
const size_t LongestEnding = 8;

// The words after a number that keep it a version (see the header), in lower case.
const char* const EditionWords[] = {
    "x64", "x86", "amd64", "arm64", "win32", "win64", "32bit", "64bit",
    "english", "multilingual", "ml", "german", "deutsch", "french", "spanish", "italian", "russian",
    "portable", "setup", "online", "offline", "alpha", "beta", "rc", "final", "lite", "full", "pro", "dev",
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether the ASCII word, in lower case, stands in the name at the position,
// letter case aside.
bool WordAt(const std::string& name, size_t at, size_t stem, const char* word)
{
    size_t length = std::strlen(word);
    if (at + length > stem)
        return false;
    for (size_t i = 0; i < length; ++i) {
        char c = name[at + i];
        if ((c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c) != word[i])
            return false;
    }
    return true;
}

// Whether an edition word, with any digits after it, stands at the position
// and ends at the stem's end or at "_", "-", "." or a blank. The words are
// ASCII, so a match never ends inside a character of two bytes.
bool EditionWordAt(const std::string& name, size_t at, size_t stem)
{
    for (const char* word : EditionWords) {
        if (!WordAt(name, at, stem, word))
            continue;
        size_t end = at + std::strlen(word);
        while (end < stem && IsDigit(name[end]))
            ++end;
        if (end == stem || std::string("_-. ").find(name[end]) != std::string::npos)
            return true;
    }
    return false;
}

// The end of the version starting at the digit at the position: the run of
// digits and dots, without the dots at its end.
size_t VersionEnd(const std::string& name, size_t at, size_t stem)
{
    size_t end = at;
    while (end < stem && (IsDigit(name[end]) || name[end] == '.'))
        ++end;
    while (name[end - 1] == '.')
        --end;
    return end;
}

// Whether the number from at to end is a word of the app's name: no dot in
// it, and "_" with more of the name after it that is no edition word.
bool NumberInName(const std::string& name, size_t at, size_t end, size_t stem)
{
    if (name.find('.', at) < end || end + 1 >= stem || name[end] != '_')
        return false;
    return !EditionWordAt(name, end + 1, stem);
}

// The app part's length in the name whose words end at stem, or 0. A digit
// is never the second byte of a double-byte character; a "_" can be.
size_t AppLengthIn(const std::string& name, size_t stem)
{
    for (size_t at = 0; at + 1 < stem; at = AnsiNextCharacter(name, at)) {
        bool number = name[at] == '_' && IsDigit(name[at + 1]);
        if (number && !NumberInName(name, at + 1, VersionEnd(name, at + 1, stem), stem))
            return at + 1;
    }
    return 0;
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
    return AppLengthIn(fileName, fileName.size() - PackageEndingLength(fileName));
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
    size_t stem = fileName.size() - ending;
    size_t app = ending ? AppLengthIn(fileName, stem) : 0;
    if (!app)
        return false;
    size_t end = VersionEnd(fileName, app, stem);
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
