#include "contents/android_chunks.h"

#include "contents/text_encoding.h"

namespace {

const uint64_t ChunkHeaderBytes = 8;
const uint64_t StringPoolHeaderBytes = 28;
const uint32_t StringPoolUtf8 = 0x100;

// One of UTF-8 pool's lengths: one byte, or two when the first has its high bit.
uint64_t Utf8Length(const ByteSpan& strings, uint64_t* at)
{
    uint64_t length = strings.U8(*at);
    if (length & 0x80)
        length = ((length & 0x7F) << 8) | strings.U8(++*at);
    ++*at;
    return length;
}

}  // namespace

bool ChunkAt(const ByteSpan& span, uint64_t at, Chunk* chunk)
{
    if (!span.Has(at, ChunkHeaderBytes))
        return false;
    chunk->type = span.U16(at);
    chunk->headerSize = span.U16(at + 2);
    uint32_t size = span.U32(at + 4);
    chunk->bytes = span.Sub(at, size);
    return chunk->headerSize >= ChunkHeaderBytes && size >= chunk->headerSize && span.Has(at, size);
}

bool ChunkChildren(const Chunk& parent, const std::function<bool(const Chunk&)>& visit)
{
    for (uint64_t at = parent.headerSize; at < parent.bytes.Size();) {
        Chunk child;
        if (!ChunkAt(parent.bytes, at, &child) || !visit(child))
            return false;
        at += child.bytes.Size();
    }
    return true;
}

bool StringPool::Load(const Chunk& chunk)
{
    if (chunk.type != ChunkStringPool || chunk.headerSize < StringPoolHeaderBytes)
        return false;
    chunk_ = chunk.bytes;
    count_ = chunk_.U32(8);
    utf8_ = (chunk_.U32(16) & StringPoolUtf8) != 0;
    offsets_ = chunk.headerSize;
    uint64_t stringsStart = chunk_.U32(20), stylesStart = chunk_.U32(24);
    uint64_t stringsEnd = stylesStart > stringsStart ? stylesStart : chunk_.Size();
    strings_ = chunk_.Sub(stringsStart, stringsEnd - stringsStart);
    return chunk_.Has(offsets_, uint64_t(count_) * 4) && (count_ == 0 || strings_.Size() > 0);
}

bool StringPool::Get(uint32_t index, std::string* text) const
{
    if (index >= count_)
        return false;
    uint64_t at = chunk_.U32(offsets_ + uint64_t(index) * 4);
    return utf8_ ? GetUtf8(at, text) : GetUtf16(at, text);
}

bool StringPool::GetUtf8(uint64_t at, std::string* text) const
{
    if (!strings_.Has(at, 2))
        return false;
    Utf8Length(strings_, &at);  // the length in UTF-16 units, not needed
    uint64_t bytes = Utf8Length(strings_, &at);
    if (!strings_.Has(at, bytes))
        return false;
    *text = Utf8Cleaned(strings_.Text(at, bytes));
    return true;
}

bool StringPool::GetUtf16(uint64_t at, std::string* text) const
{
    if (!strings_.Has(at, 2))
        return false;
    uint64_t units = strings_.U16(at);
    at += 2;
    if (units & 0x8000) {
        units = ((units & 0x7FFF) << 16) | strings_.U16(at);
        at += 2;
    }
    if (!strings_.Has(at, units * 2))
        return false;
    *text = Utf8FromUtf16(strings_, at, units);
    return true;
}
