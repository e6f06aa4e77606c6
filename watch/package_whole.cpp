#include "watch/package_whole.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "util/ansi_text.h"
#include "util/scoped_handle.h"

namespace {

const uint64_t ZeroTailLength = 65536;
const uint64_t EndRecordLength = 22;
const uint64_t EndRecordReach = EndRecordLength + 65535;  // the record and its longest comment
const uint32_t NsisSignature = 0xDEADBEEF;

// The package opened for reading beside any other reader or writer.
class PackageBytes {
public:
    explicit PackageBytes(const std::string& path)
        : file_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        LARGE_INTEGER size;
        if (file_.Valid() && GetFileSizeEx(file_.Get(), &size))
            size_ = static_cast<uint64_t>(size.QuadPart);
    }
    uint64_t Size() const { return size_; }
    // Exactly `length` bytes from `offset`; false past the end or on failure.
    bool Read(uint64_t offset, uint64_t length, std::string* bytes) const
    {
        if (!file_.Valid() || offset > size_ || length > size_ - offset || length > 0x1000000)
            return false;
        bytes->assign(static_cast<size_t>(length), '\0');
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(offset);
        DWORD read = 0;
        return SetFilePointerEx(file_.Get(), at, nullptr, FILE_BEGIN)
               && (length == 0 || ReadFile(file_.Get(), &(*bytes)[0], static_cast<DWORD>(length), &read, nullptr))
               && read == length;
    }

private:
    ScopedHandle file_;
    uint64_t size_ = 0;
};

uint64_t Little(const std::string& bytes, size_t at, int count)
{
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

bool EndsWith(const std::string& lowered, const char* ending)
{
    std::string tail(ending);
    return lowered.size() >= tail.size() && lowered.compare(lowered.size() - tail.size(), tail.size(), tail) == 0;
}

bool TailAllZero(const PackageBytes& file)
{
    uint64_t length = std::min(file.Size(), ZeroTailLength);
    std::string tail;
    if (!file.Read(file.Size() - length, length, &tail))
        return true;
    return std::all_of(tail.begin(), tail.end(), [](char c) { return c == '\0'; });
}

// A ZIP64 archive's end: its locator right before the end record names the
// ZIP64 end record, which must end at the locator, and the central directory
// that record names must end where it starts.
bool Zip64EndsRight(const PackageBytes& file, uint64_t endRecord)
{
    std::string locator, record;
    if (endRecord < 20 || !file.Read(endRecord - 20, 20, &locator) || locator.compare(0, 4, "PK\6\7") != 0)
        return false;
    uint64_t at = Little(locator, 8, 8);
    if (!file.Read(at, 56, &record) || record.compare(0, 4, "PK\6\6") != 0)
        return false;
    return at + 12 + Little(record, 4, 8) == endRecord - 20 && Little(record, 48, 8) + Little(record, 40, 8) == at;
}

// One end record at `at` in the tail: it ends, with its comment, at the end
// of the file, and its central directory ends where it starts.
bool EndRecordFits(const PackageBytes& file, const std::string& tail, uint64_t tailStart, size_t at)
{
    if (tail.compare(at, 4, "PK\5\6") != 0 || at + EndRecordLength + Little(tail, at + 20, 2) != tail.size())
        return false;
    uint64_t record = tailStart + at;
    uint64_t directorySize = Little(tail, at + 12, 4), directoryOffset = Little(tail, at + 16, 4);
    if (directorySize == 0xFFFFFFFF || directoryOffset == 0xFFFFFFFF)
        return Zip64EndsRight(file, record);
    return directoryOffset + directorySize == record;
}

PackageWholeness ArchiveWholeness(const PackageBytes& file)
{
    std::string head, tail;
    if (!file.Read(0, 4, &head) || head != std::string("PK\3\4", 4))
        return PackageWholeness::NotWhole;
    uint64_t reach = std::min(file.Size(), EndRecordReach);
    if (reach < EndRecordLength || !file.Read(file.Size() - reach, reach, &tail))
        return PackageWholeness::NotWhole;
    for (size_t at = tail.size() - EndRecordLength + 1; at-- > 0;) {
        if (EndRecordFits(file, tail, file.Size() - reach, at))
            return PackageWholeness::Whole;
    }
    return PackageWholeness::NotWhole;
}

// Where the program's image ends (its headers and the raw data of its
// sections) and where its certificate table ends; false when the headers
// cannot be read as a Windows program's.
bool ProgramEnds(const PackageBytes& file, uint64_t* imageEnd, uint64_t* certificatesEnd)
{
    std::string dos, header, table;
    if (!file.Read(0, 64, &dos) || dos.compare(0, 2, "MZ") != 0)
        return false;
    uint64_t nt = Little(dos, 0x3C, 4);
    if (!file.Read(nt, 24, &header) || header.compare(0, 4, std::string("PE\0\0", 4)) != 0)
        return false;
    uint64_t sections = Little(header, 6, 2), optional = Little(header, 20, 2);
    if (!file.Read(nt + 24, optional + sections * 40, &table) || optional < 64)
        return false;
    uint64_t magic = Little(table, 0, 2);
    size_t directories = magic == 0x20B ? 112 : 96, count = magic == 0x20B ? 108 : 92;
    *imageEnd = Little(table, 60, 4);
    *certificatesEnd = 0;
    if (optional >= directories + 40 && Little(table, count, 4) > 4)
        *certificatesEnd = Little(table, directories + 32, 4) + Little(table, directories + 36, 4);
    for (uint64_t section = 0; section < sections; ++section) {
        size_t at = static_cast<size_t>(optional + section * 40);
        if (Little(table, at + 16, 4) > 0)
            *imageEnd = std::max(*imageEnd, Little(table, at + 20, 4) + Little(table, at + 16, 4));
    }
    return true;
}

PackageWholeness ProgramWholeness(const PackageBytes& file)
{
    uint64_t imageEnd = 0, certificatesEnd = 0;
    if (!ProgramEnds(file, &imageEnd, &certificatesEnd) || file.Size() < imageEnd || file.Size() < certificatesEnd)
        return PackageWholeness::NotWhole;
    // The NSIS first header stands at the first 512-byte boundary at or past
    // the image's end; its data length counts from the header's own start.
    uint64_t boundary = (imageEnd + 511) / 512 * 512;
    std::string first;
    if (!file.Read(boundary, 28, &first) || Little(first, 4, 4) != NsisSignature
        || first.compare(8, 12, "NullsoftInst") != 0)
        return PackageWholeness::Unproven;
    return file.Size() >= boundary + Little(first, 24, 4) ? PackageWholeness::Whole : PackageWholeness::NotWhole;
}

}  // namespace

PackageWholeness PackageWholenessOf(const std::string& path)
{
    PackageBytes file(path);
    if (file.Size() == 0 || TailAllZero(file))
        return PackageWholeness::NotWhole;
    std::string lowered = LowerAnsiText(path);
    if (EndsWith(lowered, ".apk"))
        return ArchiveWholeness(file);
    if (EndsWith(lowered, ".paf.exe"))
        return ProgramWholeness(file);
    return PackageWholeness::Unproven;
}
