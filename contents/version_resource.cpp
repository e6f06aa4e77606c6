#include "contents/version_resource.h"

#include <functional>

#include "contents/byte_span.h"
#include "contents/content_limits.h"
#include "contents/pe_image.h"
#include "contents/text_encoding.h"

namespace {

const uint32_t ResourceTypeVersion = 16;
const uint32_t SubdirectoryBit = 0x80000000;
const uint64_t DirectoryHeaderBytes = 16;
const uint64_t BlockHeaderBytes = 6;

// The offset (in the resource section) that a directory's entry leads to:
// the entry with `id`, or the first entry when `id` is 0. `subdirectory`
// says whether it must lead to another directory or to data.
bool DirectoryStep(const ByteSpan& resources, uint64_t directory, uint32_t id, bool subdirectory, uint64_t* next)
{
    uint64_t named = resources.U16(directory + 12), ids = resources.U16(directory + 14);
    uint64_t count = named + ids;
    if (!resources.Has(directory, DirectoryHeaderBytes + count * 8) || count == 0 || count > PeMaxResourceEntries)
        return false;
    for (uint64_t i = id ? named : 0; i < count; ++i) {
        uint64_t entry = directory + DirectoryHeaderBytes + i * 8;
        if (id && resources.U32(entry) != id)
            continue;
        uint32_t target = resources.U32(entry + 4);
        *next = target & ~SubdirectoryBit;
        return ((target & SubdirectoryBit) != 0) == subdirectory;
    }
    return false;
}

// The version resource's bytes: type 16, first name, first language.
bool VersionBytes(const ByteSource& program, const PeImage& image, std::string* bytes)
{
    uint64_t sectionOffset = 0, data = 0, name = 0, language = 0;
    std::string resources;
    uint32_t reach = std::min<uint32_t>(image.resourceSize, VersionResourceMaxBytes);
    if (!image.resourceAddress || !PeImageFileOffset(image, image.resourceAddress, reach, &sectionOffset)
        || !ByteSourceRead(program, sectionOffset, reach, &resources))
        return false;
    ByteSpan span(resources);
    if (!DirectoryStep(span, 0, ResourceTypeVersion, true, &name) || !DirectoryStep(span, name, 0, true, &language)
        || !DirectoryStep(span, language, 0, false, &data) || !span.Has(data, 16))
        return false;
    uint32_t address = span.U32(data), size = span.U32(data + 4);
    uint64_t offset = 0;
    return size <= VersionResourceMaxBytes && PeImageFileOffset(image, address, size, &offset)
           && ByteSourceRead(program, offset, size, bytes);
}

struct Block {
    std::string key;
    ByteSpan value;     // from after the key's padding to the children
    ByteSpan children;  // from the first child to the block's end
};

uint64_t Aligned(uint64_t at) { return (at + 3) & ~uint64_t(3); }

// The block at the start of the span: its length, value length and type,
// its key up to its NUL, then its value and children on 4-byte boundaries.
bool BlockRead(const ByteSpan& span, Block* block)
{
    uint64_t length = span.U16(0), valueLength = span.U16(2), type = span.U16(4);
    if (length < BlockHeaderBytes || !span.Has(0, length))
        return false;
    ByteSpan whole = span.Sub(0, length);
    block->key = Utf8FromUtf16UpToNul(whole, BlockHeaderBytes);
    uint64_t at = BlockHeaderBytes;
    while (whole.Has(at, 2) && whole.U16(at) != 0)
        at += 2;
    uint64_t valueStart = Aligned(at + 2), valueBytes = type == 1 ? valueLength * 2 : valueLength;
    block->value = whole.From(valueStart);
    block->children = whole.From(Aligned(valueStart + std::min<uint64_t>(valueBytes, whole.Size())));
    return true;
}

// Calls `visit` for each child block; false when one is malformed.
bool ChildrenEach(const ByteSpan& children, const std::function<void(const Block&)>& visit)
{
    for (uint64_t at = 0; at < children.Size();) {
        Block child;
        ByteSpan rest = children.From(at);
        if (!BlockRead(rest, &child))
            return false;
        visit(child);
        at = Aligned(at + rest.U16(0));
    }
    return true;
}

// The string table to read: U.S. English or language-neutral, else the first.
bool StringTableChoose(const Block& stringFileInfo, Block* table)
{
    bool found = false, preferred = false;
    bool fits = ChildrenEach(stringFileInfo.children, [&](const Block& candidate) {
        bool english = candidate.key.compare(0, 4, "0409") == 0 || candidate.key.compare(0, 4, "0000") == 0;
        if (!found || (english && !preferred)) {
            *table = candidate;
            preferred = english;
        }
        found = true;
    });
    return fits && found;
}

void StringsTake(const Block& table, VersionFacts* facts)
{
    const struct {
        const char* key;
        std::string VersionFacts::*field;
    } wanted[] = {
        {"ProductName", &VersionFacts::productName},
        {"FileDescription", &VersionFacts::fileDescription},
        {"OriginalFilename", &VersionFacts::originalFilename},
        {"InternalName", &VersionFacts::internalName},
        {"ProductVersion", &VersionFacts::productVersion},
    };
    ChildrenEach(table.children, [&](const Block& string) {
        for (const auto& want : wanted) {
            if (string.key == want.key)
                facts->*want.field = Utf8FromUtf16UpToNul(string.value, 0);
        }
    });
}

}  // namespace

bool VersionFactsOf(const ByteSource& program, VersionFacts* facts)
{
    PeImage image;
    std::string bytes;
    Block root, table;
    *facts = VersionFacts();
    if (!PeImageRead(program, &image) || !VersionBytes(program, image, &bytes) || !BlockRead(ByteSpan(bytes), &root)
        || root.key != "VS_VERSION_INFO")
        return false;
    bool found = false;
    bool fits = ChildrenEach(root.children, [&](const Block& child) {
        if (!found && child.key == "StringFileInfo")
            found = StringTableChoose(child, &table);
    });
    if (!fits || !found)
        return false;
    StringsTake(table, facts);
    return true;
}
