// The chunks Android's binary formats (binary XML, the resource table) are
// built of, and their string pools. Every chunk starts with its type, the
// size of its header and its whole size; a chunk is taken only when both
// sizes are sane and it lies inside its parent. A string pool's strings are
// found through its offsets, each checked against the pool, and come out as
// UTF-8 whether the pool holds UTF-8 or UTF-16.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "contents/byte_span.h"

constexpr uint16_t ChunkStringPool = 0x0001;
constexpr uint16_t ChunkTable = 0x0002;
constexpr uint16_t ChunkXml = 0x0003;
constexpr uint16_t ChunkXmlStartElement = 0x0102;
constexpr uint16_t ChunkXmlEndElement = 0x0103;
constexpr uint16_t ChunkXmlResourceMap = 0x0180;
constexpr uint16_t ChunkTablePackage = 0x0200;
constexpr uint16_t ChunkTableType = 0x0201;

struct Chunk {
    uint16_t type = 0;
    uint16_t headerSize = 0;
    ByteSpan bytes;  // the whole chunk, header included
};

// The chunk at the start of the span; false when its sizes do not fit.
bool ChunkAt(const ByteSpan& span, uint64_t at, Chunk* chunk);

// Calls `visit` for each chunk that follows the parent's header, in order;
// false when one does not fit or `visit` says stop.
bool ChunkChildren(const Chunk& parent, const std::function<bool(const Chunk&)>& visit);

class StringPool {
public:
    // False when the chunk is no string pool or its tables do not fit.
    bool Load(const Chunk& chunk);
    uint32_t Count() const { return count_; }
    // The string at `index`, as UTF-8; false when it does not lie in the pool.
    bool Get(uint32_t index, std::string* text) const;

private:
    bool GetUtf8(uint64_t at, std::string* text) const;
    bool GetUtf16(uint64_t at, std::string* text) const;

    ByteSpan chunk_;
    uint32_t count_ = 0;
    bool utf8_ = false;
    uint64_t offsets_ = 0;
    ByteSpan strings_;
};
