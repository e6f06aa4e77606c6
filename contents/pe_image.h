// A Windows program's headers, as far as the contents room needs them:
// where its image ends in the file (its headers and the raw data of its
// sections), where its certificate table ends, its resource directory and
// its section table for turning addresses into file offsets. Read through
// a byte source, bounded by PeMaxSections and PeMaxOptionalHeaderBytes.
#pragma once

#include <cstdint>
#include <vector>

#include "contents/byte_source.h"

struct PeSection {
    uint32_t virtualAddress = 0;
    uint32_t virtualSize = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
};

struct PeImage {
    uint64_t imageEnd = 0;
    uint64_t certificatesEnd = 0;  // 0 when there is no certificate table
    uint32_t resourceAddress = 0;  // 0 when there is no resource directory
    uint32_t resourceSize = 0;
    std::vector<PeSection> sections;
};

// False when the bytes do not start as a Windows program's headers.
bool PeImageRead(const ByteSource& program, PeImage* image);

// The file offset of the image's address range [address, address + length),
// which must lie in one section's raw data.
bool PeImageFileOffset(const PeImage& image, uint32_t address, uint32_t length, uint64_t* offset);
