// An entry's data as its central directory describes it: stored bytes taken
// as they are, deflated bytes inflated (raw deflate, through zlib) piece by
// piece. Either way the bytes must come to the entry's size and CRC-32, and a
// deflate stream must end exactly at the end of the compressed bytes.
#pragma once

#include <cstdint>
#include <string>

#include "contents/byte_source.h"
#include "contents/zip_directory.h"

// Whether the entry's data at `dataOffset` checks out, read through
// `reader` in pieces of ContentsChunkBytes and never held whole.
bool ZipEntryDataChecks(ByteSourceReader& reader, const ZipEntry& entry, uint64_t dataOffset);

// The entry's data whole, when its size is at most `limit` and it checks out;
// finds the data after the entry's local header.
bool ZipEntryDataRead(const ByteSource& archive, const ZipEntry& entry, uint64_t limit, std::string* data);

// Where the entry's data starts: after its local header, which must stand at
// its offset with its signature, the central directory's name and method,
// and (unless a data descriptor follows the data) its CRC and sizes.
bool ZipEntryDataOffset(ByteSourceReader& reader, const ZipEntry& entry, uint64_t* dataOffset);
