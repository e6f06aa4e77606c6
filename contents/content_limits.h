// The hard limits of the contents room, in one place. A package's bytes are
// untrusted: whatever sizes, counts or offsets they claim, no read, no
// allocation and no inflate goes past these.
#pragma once

#include <cstdint>

// The most one read from a byte source may ask for at once.
constexpr uint64_t ContentsReadMaxBytes = 16ull << 20;
// The piece a whole-file check reads and inflates at a time.
constexpr uint64_t ContentsChunkBytes = 1ull << 20;

// A ZIP archive's end record with the longest comment it can carry.
constexpr uint64_t ZipEndRecordBytes = 22;
constexpr uint64_t ZipEndRecordReach = ZipEndRecordBytes + 65535;
// The central directory: at most this many bytes and entries.
constexpr uint64_t ZipDirectoryMaxBytes = 64ull << 20;
constexpr uint64_t ZipMaxEntries = 1000000;
// The sum of the sizes the entries claim once inflated. Android installs no
// package beyond 4 GB, so more is no package of ours (and bounds the time a
// check may spend inflating).
constexpr uint64_t ZipMaxInflatedTotal = 4ull << 30;

// One entry read whole into memory (the manifest, the resource table).
constexpr uint64_t ApkEntryMaxInflated = 64ull << 20;
// How many references a resource value is followed through.
constexpr int ResourceReferenceMaxDepth = 8;
// How deep a binary XML document's elements may nest.
constexpr int BinaryXmlMaxDepth = 256;

// A Windows program's headers: at most this many sections and this long an
// optional header.
constexpr uint64_t PeMaxSections = 96;
constexpr uint64_t PeMaxOptionalHeaderBytes = 4096;
// A version resource read whole into memory.
constexpr uint64_t VersionResourceMaxBytes = 1ull << 20;
// How many entries of one resource directory level are looked through.
constexpr uint64_t PeMaxResourceEntries = 4096;

// A run of zero bytes this long, starting on such a boundary, is taken for a
// hole a download has not filled yet.
constexpr uint64_t ZeroRunMinBytes = 1ull << 20;
constexpr uint64_t ZeroRunAlignment = 4096;
// A file ending in this many zero bytes is not whole yet.
constexpr uint64_t ZeroTailBytes = 65536;
