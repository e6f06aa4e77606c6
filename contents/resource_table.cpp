#include "contents/resource_table.h"

#include "contents/binary_xml.h"
#include "contents/content_limits.h"

namespace {

const uint64_t PackageHeaderMinBytes = 12;
const uint64_t TypeHeaderMinBytes = 20;
const uint8_t TypeFlagSparse = 0x01;
const uint8_t TypeFlagOffset16 = 0x02;
const uint16_t EntryFlagComplex = 0x0001;
const uint16_t EntryFlagCompact = 0x0008;
const uint32_t NoEntry = 0xFFFFFFFF;

// Where the entry's record starts, from the type chunk's table of offsets
// (plain, 16-bit, or sparse); false when the chunk has no such entry.
bool EntryOffset(const Chunk& type, uint32_t entry, uint64_t* offset)
{
    const ByteSpan& bytes = type.bytes;
    uint8_t flags = bytes.U8(9);
    uint64_t count = bytes.U32(12), table = type.headerSize;
    if (flags & TypeFlagSparse) {
        for (uint64_t i = 0; i < count && bytes.Has(table + i * 4, 4); ++i) {
            if (bytes.U16(table + i * 4) == entry) {
                *offset = uint64_t(bytes.U16(table + i * 4 + 2)) * 4;
                return true;
            }
        }
        return false;
    }
    if (entry >= count)
        return false;
    if (flags & TypeFlagOffset16) {
        uint16_t small = bytes.U16(table + uint64_t(entry) * 2);
        *offset = uint64_t(small) * 4;
        return bytes.Has(table + uint64_t(entry) * 2, 2) && small != 0xFFFF;
    }
    *offset = bytes.U32(table + uint64_t(entry) * 4);
    return bytes.Has(table + uint64_t(entry) * 4, 4) && *offset != NoEntry;
}

// The configuration's language and region, two bytes each (zero when unset).
// A configuration shorter than that sets neither.
uint32_t LanguageOf(const Chunk& type) { return type.bytes.U32(20) >= 12 ? type.bytes.U16(20 + 8) : 0; }
uint32_t RegionOf(const Chunk& type) { return type.bytes.U32(20) >= 12 ? type.bytes.U16(20 + 10) : 0; }

}  // namespace

bool ResourceTable::Load(std::string bytes)
{
    bytes_ = std::move(bytes);
    types_.clear();
    Chunk table;
    if (!ChunkAt(ByteSpan(bytes_), 0, &table) || table.type != ChunkTable)
        return false;
    bool pooled = false;
    bool fits = ChunkChildren(table, [&](const Chunk& chunk) {
        if (chunk.type == ChunkStringPool && !pooled)
            return pooled = strings_.Load(chunk);
        return chunk.type != ChunkTablePackage || PackageRead(chunk);
    });
    return fits && pooled;
}

bool ResourceTable::PackageRead(const Chunk& package)
{
    if (package.headerSize < PackageHeaderMinBytes)
        return false;
    uint8_t id = static_cast<uint8_t>(package.bytes.U32(8));
    if (types_.empty())
        firstPackageId_ = id;
    return ChunkChildren(package, [&](const Chunk& chunk) {
        if (chunk.type != ChunkTableType)
            return true;
        if (chunk.headerSize < TypeHeaderMinBytes + 12)
            return false;
        types_.push_back({id, chunk.bytes.U8(8), chunk});
        return true;
    });
}

const ResourceTable::TypeChunk* ResourceTable::Choose(uint8_t packageId, uint8_t typeId, uint32_t entry) const
{
    const TypeChunk *neutral = nullptr, *english = nullptr, *first = nullptr;
    for (const TypeChunk& type : types_) {
        uint64_t offset = 0;
        if (type.packageId != packageId || type.typeId != typeId || !EntryOffset(type.chunk, entry, &offset))
            continue;
        uint32_t language = LanguageOf(type.chunk);
        if (!neutral && language == 0 && RegionOf(type.chunk) == 0)
            neutral = &type;
        if (!english && language == ('e' | 'n' << 8))
            english = &type;
        if (!first)
            first = &type;
    }
    return neutral ? neutral : english ? english : first;
}

bool ResourceTable::EntryValue(const TypeChunk& type, uint32_t entry, ResourceValue* value) const
{
    uint64_t offset = 0;
    if (!EntryOffset(type.chunk, entry, &offset))
        return false;
    ByteSpan record = type.chunk.bytes.From(uint64_t(type.chunk.bytes.U32(16)) + offset);
    uint16_t flags = record.U16(2);
    if (!record.Has(0, 8) || (flags & EntryFlagComplex))
        return false;
    if (flags & EntryFlagCompact) {
        *value = {static_cast<uint8_t>(flags >> 8), record.U32(4)};
        return true;
    }
    uint64_t size = record.U16(0);
    if (size < 8 || !record.Has(size, 8))
        return false;
    *value = {record.U8(size + 3), record.U32(size + 4)};
    return true;
}

bool ResourceTable::Resolve(uint32_t id, ResourceValue* value, bool dynamic) const
{
    ResourceValue found{dynamic ? ValueDynamicReference : ValueReference, id};
    for (int depth = 0; depth < ResourceReferenceMaxDepth; ++depth) {
        uint8_t packageId = static_cast<uint8_t>(found.data >> 24);
        if (found.type == ValueDynamicReference && packageId == 0)
            packageId = firstPackageId_;
        const TypeChunk* type = Choose(packageId, static_cast<uint8_t>(found.data >> 16), found.data & 0xFFFF);
        // Type ids count from 1: a type byte of 0 names no type.
        if (!type || ((found.data >> 16) & 0xFF) == 0 || !EntryValue(*type, found.data & 0xFFFF, &found))
            return false;
        if (found.type != ValueReference && found.type != ValueDynamicReference) {
            *value = found;
            return true;
        }
    }
    return false;
}

bool ResourceTable::Text(const ResourceValue& value, std::string* text) const
{
    return value.type == ValueString && strings_.Get(value.data, text);
}
