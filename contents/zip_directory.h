// A ZIP archive's central directory, read from its end: the end record
// (found the way a reader finds it, and required to end, with its comment,
// at the file's last byte), the ZIP64 end record where a locator names one,
// and each entry with its name, method, flags, CRC-32, sizes and local
// header offset (from the ZIP64 extra field where the plain fields hold
// 0xFFFFFFFF). Bounded by ZipDirectoryMaxBytes and ZipMaxEntries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "contents/byte_source.h"

struct ZipEntry {
    std::string name;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint32_t crc = 0;
    uint64_t compressedSize = 0;
    uint64_t uncompressedSize = 0;
    uint64_t localHeaderOffset = 0;
};

struct ZipDirectory {
    uint64_t directoryOffset = 0;
    uint64_t directorySize = 0;
    // Where the records that end the archive begin: the ZIP64 end record when
    // there is one, else the end record. The central directory ends here.
    uint64_t endRecordsOffset = 0;
    std::vector<ZipEntry> entries;
};

// Flag bits of an entry.
constexpr uint16_t ZipFlagEncrypted = 0x0001;
constexpr uint16_t ZipFlagDataDescriptor = 0x0008;
constexpr uint16_t ZipFlagStrongEncryption = 0x0040;
// Methods an Android package uses.
constexpr uint16_t ZipMethodStored = 0;
constexpr uint16_t ZipMethodDeflated = 8;

// The archive's directory; false when its end records or its directory are
// malformed, do not end where they must, or pass the limits.
bool ZipDirectoryRead(const ByteSource& archive, ZipDirectory* directory);

// The entry of that name, or nullptr.
const ZipEntry* ZipDirectoryFind(const ZipDirectory& directory, const std::string& name);
