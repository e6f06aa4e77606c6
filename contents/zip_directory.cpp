#include "contents/zip_directory.h"

#include <algorithm>

#include "contents/byte_span.h"
#include "contents/content_limits.h"

namespace {

const uint64_t Zip64LocatorBytes = 20;
const uint64_t Zip64EndRecordBytes = 56;
const uint64_t CentralHeaderBytes = 46;
const uint32_t Full32 = 0xFFFFFFFF;
const uint32_t EndRecordSignature = 0x06054b50;  // "PK\5\6"

struct EndFacts {
    uint64_t entries = 0, directorySize = 0, directoryOffset = 0, endRecordsOffset = 0;
};

// The ZIP64 end record that the locator just before the end record names:
// it must end at the locator.
bool Zip64EndRead(const ByteSource& archive, uint64_t endRecord, EndFacts* facts)
{
    std::string locator, record;
    if (!ByteSourceRead(archive, endRecord - Zip64LocatorBytes, Zip64LocatorBytes, &locator))
        return false;
    uint64_t at = ByteSpan(locator).U64(8);
    if (!ByteSourceRead(archive, at, Zip64EndRecordBytes, &record) || record.compare(0, 4, "PK\6\6") != 0)
        return false;
    ByteSpan fields(record);
    if (at + 12 + fields.U64(4) != endRecord - Zip64LocatorBytes || fields.U64(4) < Zip64EndRecordBytes - 12)
        return false;
    facts->entries = fields.U64(32);
    facts->directorySize = fields.U64(40);
    facts->directoryOffset = fields.U64(48);
    facts->endRecordsOffset = at;
    return fields.U64(24) == facts->entries;
}

bool HasZip64Locator(const ByteSource& archive, uint64_t endRecord)
{
    std::string signature;
    return endRecord >= Zip64LocatorBytes && ByteSourceRead(archive, endRecord - Zip64LocatorBytes, 4, &signature)
           && signature == "PK\6\7";
}

// The end record at `at` of the tail, when it ends with its comment at the
// file's end and the directory it names ends where the end records begin.
bool EndRecordFits(const ByteSource& archive, const ByteSpan& tail, uint64_t tailStart, uint64_t at,
                   EndFacts* facts)
{
    if (tail.U32(at) != EndRecordSignature || at + ZipEndRecordBytes + tail.U16(at + 20) != tail.Size())
        return false;
    uint64_t record = tailStart + at;
    if (HasZip64Locator(archive, record)) {
        if (!Zip64EndRead(archive, record, facts))
            return false;
    } else {
        if (tail.U16(at + 8) != tail.U16(at + 10) || tail.U16(at + 4) != 0)
            return false;
        *facts = {tail.U16(at + 10), tail.U32(at + 12), tail.U32(at + 16), record};
    }
    return facts->directoryOffset <= facts->endRecordsOffset
           && facts->endRecordsOffset - facts->directoryOffset == facts->directorySize;
}

bool EndFactsRead(const ByteSource& archive, EndFacts* facts)
{
    uint64_t reach = std::min(archive.size, ZipEndRecordReach);
    std::string tail;
    if (reach < ZipEndRecordBytes || !ByteSourceRead(archive, archive.size - reach, reach, &tail))
        return false;
    ByteSpan span(tail);
    // From the end backwards, each place the signature stands.
    for (size_t at = tail.size() - ZipEndRecordBytes + 1; at-- > 0;) {
        if (tail[at] == 'P' && span.U32(at) == EndRecordSignature
            && EndRecordFits(archive, span, archive.size - reach, at, facts))
            return true;
    }
    return false;
}

// Takes the ZIP64 extra field's values for the fields that hold 0xFFFFFFFF,
// in their fixed order; false when the field is missing or too short.
bool Zip64ExtraApply(const ByteSpan& extra, ZipEntry* entry, bool wantsOffset)
{
    uint64_t* wanted[3] = {entry->uncompressedSize == Full32 ? &entry->uncompressedSize : nullptr,
                           entry->compressedSize == Full32 ? &entry->compressedSize : nullptr,
                           wantsOffset ? &entry->localHeaderOffset : nullptr};
    for (uint64_t at = 0; extra.Has(at, 4); at += 4 + extra.U16(at + 2)) {
        if (extra.U16(at) != 0x0001)
            continue;
        ByteSpan field = extra.Sub(at + 4, extra.U16(at + 2));
        uint64_t next = 0;
        for (uint64_t* value : wanted) {
            if (value && !field.Has(next, 8))
                return false;
            if (value)
                *value = field.U64(next), next += 8;
        }
        return true;
    }
    return !wanted[0] && !wanted[1] && !wanted[2];
}

// One central directory header at `at`; `at` moves past it.
bool EntryRead(const ByteSpan& directory, uint64_t* at, ZipEntry* entry)
{
    ByteSpan header = directory.Sub(*at, CentralHeaderBytes);
    if (header.Size() == 0 || header.Text(0, 4) != "PK\1\2")
        return false;
    uint64_t nameLength = header.U16(28), extraLength = header.U16(30), commentLength = header.U16(32);
    uint64_t variable = nameLength + extraLength + commentLength;
    if (!directory.Has(*at + CentralHeaderBytes, variable))
        return false;
    entry->flags = header.U16(8);
    entry->method = header.U16(10);
    entry->crc = header.U32(16);
    entry->compressedSize = header.U32(20);
    entry->uncompressedSize = header.U32(24);
    entry->localHeaderOffset = header.U32(42);
    entry->name = directory.Text(*at + CentralHeaderBytes, nameLength);
    bool wantsOffset = entry->localHeaderOffset == Full32;
    ByteSpan extra = directory.Sub(*at + CentralHeaderBytes + nameLength, extraLength);
    *at += CentralHeaderBytes + variable;
    return header.U16(34) == 0 && Zip64ExtraApply(extra, entry, wantsOffset);
}

}  // namespace

bool ZipDirectoryRead(const ByteSource& archive, ZipDirectory* directory)
{
    EndFacts facts;
    if (!EndFactsRead(archive, &facts) || facts.directorySize > ZipDirectoryMaxBytes || facts.entries > ZipMaxEntries
        || facts.entries > facts.directorySize / CentralHeaderBytes)
        return false;
    std::string bytes;
    if (!ByteSourceRead(archive, facts.directoryOffset, facts.directorySize, &bytes))
        return false;
    ByteSpan span(bytes);
    directory->entries.assign(static_cast<size_t>(facts.entries), ZipEntry());
    uint64_t at = 0;
    for (ZipEntry& entry : directory->entries) {
        if (!EntryRead(span, &at, &entry))
            return false;
    }
    directory->directoryOffset = facts.directoryOffset;
    directory->directorySize = facts.directorySize;
    directory->endRecordsOffset = facts.endRecordsOffset;
    return at == bytes.size();
}

const ZipEntry* ZipDirectoryFind(const ZipDirectory& directory, const std::string& name)
{
    for (const ZipEntry& entry : directory.entries) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}
