#include "plan/package_facts.h"

#include <vector>

#include "contents/android_manifest.h"
#include "contents/version_resource.h"
#include "file_acts/act_file.h"
#include "util/ansi_text.h"
#include "util/file_identity.h"
#include "util/handle_source.h"
#include "util/scoped_handle.h"

namespace {

// Opened to be read, never changed: reading and deletion shared (another
// Quillet's sort may hold it so), writing not, so that a package still being
// written is not read half-way.
constexpr DWORD ReadSharing = FILE_SHARE_READ | FILE_SHARE_DELETE;

bool IsHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

// Character by character: each the code page lacks becomes the mark.
std::string MarkedCharacters(const std::string& utf8)
{
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (length <= 0)
        return std::string();
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    std::string text;
    for (size_t at = 0; at < wide.size();) {
        size_t units = IsHighSurrogate(wide[at]) && at + 1 < wide.size() ? 2 : 1;
        std::wstring one(wide.data() + at, units);
        bool exact = true;
        std::string ansi = AnsiTextFromWide(one.c_str(), &exact);
        text += exact ? ansi : std::string(1, PackageFactsMissing);
        at += units;
    }
    return text;
}

// The text cut to the longest run of whole characters that fits.
std::string Cut(const std::string& text)
{
    size_t end = 0;
    for (size_t at = 0; at < text.size(); at = AnsiNextCharacter(text, at)) {
        if (AnsiNextCharacter(text, at) > PackageFactsMaxText)
            break;
        end = AnsiNextCharacter(text, at);
    }
    return text.substr(0, end);
}

// The digits and dots from the first digit on, without dots at their end.
std::string LeadingNumber(const std::string& text)
{
    size_t start = text.find_first_of("0123456789");
    if (start == std::string::npos)
        return std::string();
    size_t end = text.find_first_not_of("0123456789.", start);
    std::string number = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    while (number.back() == '.')
        number.pop_back();
    return number;
}

void Keep(PackageFactsCache& cache, const std::string& key, uint64_t size, uint64_t time, const PackageFacts& facts)
{
    if (cache.files.size() >= PackageFactsMaxFiles && cache.files.find(key) == cache.files.end())
        cache.files.clear();
    cache.files[key] = {size, time, facts};
}

bool Cached(const PackageFactsCache& cache, const std::string& key, uint64_t size, uint64_t time, PackageFacts* facts)
{
    auto found = cache.files.find(key);
    if (found == cache.files.end() || found->second.size != size || found->second.lastWriteTime != time)
        return false;
    *facts = found->second.facts;
    return true;
}

// Through the open file, unless the cache holds it at the size and time the
// handle shows.
PackageFacts ThroughHandle(PackageFactsCache& cache, HANDLE file, const std::string& path, const std::string& name)
{
    uint64_t size = 0, time = 0;
    if (!FileStampOfHandle(file, &size, &time))
        return PackageFacts();
    std::string key = LowerAnsiText(path);
    PackageFacts facts;
    if (Cached(cache, key, size, time, &facts))
        return facts;
    facts = PackageFactsOfHandle(file, name);
    Keep(cache, key, size, time, facts);
    return facts;
}

std::string FileNameOf(const std::string& path)
{
    size_t slash = AnsiFindLastBackslash(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string PackageFactsText(const std::string& utf8)
{
    std::string clean = utf8;
    for (char& c : clean) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    bool exact = true;
    std::string text = AnsiTextFromUtf8(clean, &exact);
    return Cut(exact ? text : MarkedCharacters(clean));
}

std::string PackageFactsShown(std::string text)
{
    for (char& c : text) {
        if (c == PackageFactsMissing)
            c = '?';
    }
    return text;
}

PackageFormat PackageFactsFormat(const std::string& fileName)
{
    size_t tail = fileName.size() < 8 ? fileName.size() : 8;
    return PackageFormatOfLoweredName(LowerAnsiText(fileName.substr(fileName.size() - tail)));
}

PackageFacts PackageFactsOfHandle(HANDLE file, const std::string& fileName)
{
    PackageFacts facts;
    PackageFormat format = PackageFactsFormat(fileName);
    ApkFacts apk;
    VersionFacts program;
    if (format == PackageFormat::Apk && ApkFactsOf(ByteSourceOfHandle(file), &apk)) {
        facts.said = true;
        facts.packageId = PackageFactsText(apk.packageId);
        facts.label = PackageFactsText(apk.label);
        facts.versionName = PackageFactsText(apk.versionName);
        facts.versionCode = apk.versionCode;
        facts.hasVersionCode = apk.hasVersionCode;
    } else if (format == PackageFormat::PafExe && VersionFactsOf(ByteSourceOfHandle(file), &program)) {
        facts.said = true;
        facts.productName = PackageFactsText(program.productName);
        facts.originalFilename = PackageFactsText(program.originalFilename);
        facts.productVersion = PackageFactsText(program.productVersion);
    }
    return facts;
}

PackageFacts PackageFactsInFolder(PackageFactsCache& cache, const ActFolder& folder, const std::string& folderPath,
                                  const std::string& name)
{
    if (PackageFactsFormat(name) == PackageFormat::Other)
        return PackageFacts();
    ActFile file;
    if (ActFileOpen(file, folder, name, GENERIC_READ, ReadSharing, ActPurpose::Read))
        return PackageFacts();
    return ThroughHandle(cache, file.handle.Get(), folderPath + name, name);
}

PackageFacts PackageFactsAtPath(PackageFactsCache& cache, const std::string& path)
{
    std::string name = FileNameOf(path);
    if (PackageFactsFormat(name) == PackageFormat::Other)
        return PackageFacts();
    ScopedHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, ReadSharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return PackageFacts();
    return ThroughHandle(cache, file.Get(), path, name);
}

PackageFacts PackageFactsListed(PackageFactsCache& cache, const std::string& path, uint64_t size,
                                uint64_t lastWriteTime)
{
    PackageFacts facts;
    if (Cached(cache, LowerAnsiText(path), size, lastWriteTime, &facts))
        return facts;
    return PackageFactsAtPath(cache, path);
}

bool PackageFactsVersion(const PackageFacts& facts, const std::string& fileName, PackageVersion* version)
{
    PackageFormat format = PackageFactsFormat(fileName);
    if (!facts.said || format == PackageFormat::Other)
        return false;
    if (format == PackageFormat::Apk) {
        if (!facts.hasVersionCode || facts.packageId.empty())
            return false;
        version->app = "|apk|" + facts.packageId;
        version->version = std::to_string(facts.versionCode);
        return true;
    }
    std::string number = LeadingNumber(facts.productVersion);
    if (facts.productName.empty() || number.empty())
        return false;
    PackageVersion named;
    std::string edition = PackageVersionOf(fileName, &named) ? named.app.substr(named.app.find('|') + 1) : "";
    version->app = "|paf|" + LowerAnsiText(facts.productName) + "|" + edition;
    version->version = number;
    return true;
}
