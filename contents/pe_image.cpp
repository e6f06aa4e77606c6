#include "contents/pe_image.h"

#include <algorithm>
#include <string>

#include "contents/byte_span.h"
#include "contents/content_limits.h"

namespace {

const uint64_t SectionHeaderBytes = 40;
const uint64_t CertificateDirectory = 4;
const uint64_t ResourceDirectory = 2;

// Where the data directories start in the optional header, and where it
// says how many there are, for 32-bit (0x10B) and 64-bit (0x20B) images.
struct OptionalLayout {
    uint64_t directories, count;
};

OptionalLayout LayoutOf(const ByteSpan& optional)
{
    return optional.U16(0) == 0x20B ? OptionalLayout{112, 108} : OptionalLayout{96, 92};
}

// The data directory's address and size, when the header carries it.
bool Directory(const ByteSpan& optional, uint64_t index, uint32_t* address, uint32_t* size)
{
    OptionalLayout layout = LayoutOf(optional);
    uint64_t at = layout.directories + index * 8;
    if (optional.U32(layout.count) <= index || !optional.Has(at, 8))
        return false;
    *address = optional.U32(at);
    *size = optional.U32(at + 4);
    return true;
}

void SectionsRead(const ByteSpan& table, uint64_t count, PeImage* image)
{
    for (uint64_t at = 0; at < count * SectionHeaderBytes; at += SectionHeaderBytes) {
        PeSection section{table.U32(at + 12), table.U32(at + 8), table.U32(at + 16), table.U32(at + 20)};
        image->sections.push_back(section);
        if (section.rawSize > 0)
            image->imageEnd = std::max<uint64_t>(image->imageEnd, uint64_t(section.rawOffset) + section.rawSize);
    }
}

}  // namespace

bool PeImageRead(const ByteSource& program, PeImage* image)
{
    std::string dos, header, tables;
    if (!ByteSourceRead(program, 0, 64, &dos) || dos.compare(0, 2, "MZ") != 0)
        return false;
    uint64_t nt = ByteSpan(dos).U32(0x3C);
    if (!ByteSourceRead(program, nt, 24, &header) || header.compare(0, 4, std::string("PE\0\0", 4)) != 0)
        return false;
    uint64_t sections = ByteSpan(header).U16(6), optionalBytes = ByteSpan(header).U16(20);
    if (sections > PeMaxSections || optionalBytes < 64 || optionalBytes > PeMaxOptionalHeaderBytes
        || !ByteSourceRead(program, nt + 24, optionalBytes + sections * SectionHeaderBytes, &tables))
        return false;
    ByteSpan optional(tables.data(), static_cast<size_t>(optionalBytes));
    *image = PeImage();
    image->imageEnd = optional.U32(60);  // the size of the headers
    uint32_t address = 0, size = 0;
    if (Directory(optional, CertificateDirectory, &address, &size) && size > 0)
        image->certificatesEnd = uint64_t(address) + size;
    if (Directory(optional, ResourceDirectory, &address, &size) && size > 0) {
        image->resourceAddress = address;
        image->resourceSize = size;
    }
    SectionsRead(ByteSpan(tables).From(optionalBytes), sections, image);
    return true;
}

bool PeImageFileOffset(const PeImage& image, uint32_t address, uint32_t length, uint64_t* offset)
{
    for (const PeSection& section : image.sections) {
        uint64_t within = uint64_t(address) - section.virtualAddress;
        if (address < section.virtualAddress || within > section.rawSize || length > section.rawSize - within)
            continue;
        *offset = section.rawOffset + within;
        return true;
    }
    return false;
}
