#include "contents/zip_whole.h"

#include <algorithm>

#include "contents/byte_span.h"
#include "contents/content_limits.h"
#include "contents/zip_directory.h"
#include "contents/zip_entry_data.h"

namespace {

const char SigningBlockMagic[] = "APK Sig Block 42";
const uint64_t SigningBlockMinBytes = 8 + 8 + 16;

// The entries in the order their local headers stand in the file; false
// when they claim more than ZipMaxInflatedTotal once inflated.
bool EntriesInFileOrder(const ZipDirectory& directory, std::vector<const ZipEntry*>* ordered)
{
    uint64_t total = 0;
    for (const ZipEntry& entry : directory.entries) {
        if (entry.uncompressedSize > ZipMaxInflatedTotal - total)
            return false;
        total += entry.uncompressedSize;
        ordered->push_back(&entry);
    }
    std::sort(ordered->begin(), ordered->end(),
              [](const ZipEntry* a, const ZipEntry* b) { return a->localHeaderOffset < b->localHeaderOffset; });
    return true;
}

// Where an entry's data descriptor ends: it follows the data, with or
// without its signature, with sizes of 4 or 8 bytes, and repeats the
// central directory's CRC and sizes.
bool DescriptorEnd(ByteSourceReader& reader, const ZipEntry& entry, uint64_t dataEnd, uint64_t* end)
{
    std::string bytes;
    uint64_t available = std::min<uint64_t>(24, reader.Source().size - std::min(reader.Source().size, dataEnd));
    if (!reader.Read(dataEnd, available, &bytes))
        return false;
    ByteSpan span(bytes);
    for (uint64_t start : {4, 0}) {
        if (start == 4 && span.Text(0, 4) != "PK\7\10")
            continue;
        bool small = span.Has(start, 12) && span.U32(start) == entry.crc && span.U32(start + 4) == entry.compressedSize
                     && span.U32(start + 8) == entry.uncompressedSize;
        bool large = span.Has(start, 20) && span.U32(start) == entry.crc
                     && span.U64(start + 4) == entry.compressedSize && span.U64(start + 12) == entry.uncompressedSize;
        if (small || large) {
            *end = dataEnd + start + (small ? 12 : 20);
            return true;
        }
    }
    return false;
}

// Checks one entry standing at `at`; on success `at` moves past its data
// (and data descriptor).
bool EntryChecks(ByteSourceReader& reader, const ZipEntry& entry, uint64_t* at)
{
    uint64_t dataOffset = 0;
    if (entry.localHeaderOffset != *at || !ZipEntryDataOffset(reader, entry, &dataOffset)
        || entry.compressedSize > reader.Source().size - std::min(reader.Source().size, dataOffset)
        || !ZipEntryDataChecks(reader, entry, dataOffset))
        return false;
    *at = dataOffset + entry.compressedSize;
    return !(entry.flags & ZipFlagDataDescriptor) || DescriptorEnd(reader, entry, *at, at);
}

// An APK signing block fills [start, end) exactly: its size at its start
// equals the one before its magic, and its ID-value pairs fill the space
// between them.
bool SigningBlockFills(ByteSourceReader& reader, uint64_t start, uint64_t end)
{
    std::string head, foot;
    if (end - start < SigningBlockMinBytes || !reader.Read(start, 8, &head) || !reader.Read(end - 24, 24, &foot))
        return false;
    uint64_t size = ByteSpan(head).U64(0);
    if (foot.compare(8, 16, SigningBlockMagic) != 0 || ByteSpan(foot).U64(0) != size || size != end - start - 8)
        return false;
    uint64_t at = start + 8;
    for (std::string pair; at < end - 24;) {
        if (end - 24 - at < 8 || !reader.Read(at, 8, &pair))
            return false;
        uint64_t length = ByteSpan(pair).U64(0);
        if (length < 4 || length > end - 24 - at - 8)
            return false;
        at += 8 + length;
    }
    return at == end - 24;
}

}  // namespace

bool ZipArchiveIsWhole(const ByteSource& archive)
{
    ZipDirectory directory;
    std::vector<const ZipEntry*> ordered;
    std::string head;
    if (!ByteSourceRead(archive, 0, 4, &head) || head != "PK\3\4" || !ZipDirectoryRead(archive, &directory)
        || !EntriesInFileOrder(directory, &ordered))
        return false;
    ByteSourceReader reader(archive);
    uint64_t at = 0;
    for (const ZipEntry* entry : ordered) {
        if (!EntryChecks(reader, *entry, &at))
            return false;
    }
    if (at == directory.directoryOffset)
        return true;
    return at < directory.directoryOffset && SigningBlockFills(reader, at, directory.directoryOffset);
}
