#include "contents/nsis_whole.h"

#include <zlib.h>

#include <string>

#include "contents/byte_span.h"
#include "contents/pe_image.h"

namespace {

const uint32_t NsisSignature = 0xDEADBEEF;
const uint32_t NsisNoCrc = 4;
const uint32_t NsisForceCrc = 8;
const uint64_t NsisFirstHeaderBytes = 28;
const uint64_t NsisCrcStart = 512;

struct NsisFirstHeader {
    uint64_t offset = 0;
    uint32_t flags = 0;
    uint64_t length = 0;  // of the installer's data, counted from the header's own start
};

bool FirstHeaderRead(const ByteSource& program, uint64_t imageEnd, NsisFirstHeader* header)
{
    header->offset = (imageEnd + 511) / 512 * 512;
    std::string bytes;
    if (!ByteSourceRead(program, header->offset, NsisFirstHeaderBytes, &bytes))
        return false;
    ByteSpan fields(bytes);
    header->flags = fields.U32(0);
    header->length = fields.U32(24);
    return fields.U32(4) == NsisSignature && fields.Text(8, 12) == "NullsoftInst";
}

bool CarriesCrc(uint32_t flags)
{
    return !(flags & NsisNoCrc) || (flags & NsisForceCrc);
}

// The CRC-32 of [NsisCrcStart, end) against the word at `end`.
bool CrcMatches(const ByteSource& program, uint64_t end)
{
    std::string stored;
    if (end < NsisCrcStart || !ByteSourceRead(program, end, 4, &stored))
        return false;
    uLong crc = crc32_z(0, nullptr, 0);
    ByteSourceReader reader(program);
    bool read = reader.Stream(NsisCrcStart, end - NsisCrcStart, [&](const char* bytes, size_t length) {
        crc = crc32_z(crc, reinterpret_cast<const Bytef*>(bytes), length);
        return true;
    });
    return read && crc == ByteSpan(stored).U32(0);
}

}  // namespace

PackageWholeness NsisProgramWholeness(const ByteSource& program)
{
    PeImage image;
    if (!PeImageRead(program, &image) || program.size < image.imageEnd || program.size < image.certificatesEnd)
        return PackageWholeness::NotWhole;
    NsisFirstHeader header;
    if (!FirstHeaderRead(program, image.imageEnd, &header))
        return PackageWholeness::Unproven;
    uint64_t end = header.offset + header.length;
    if (program.size < end || header.length < NsisFirstHeaderBytes)
        return PackageWholeness::NotWhole;
    if (!CarriesCrc(header.flags))
        return PackageWholeness::Unproven;
    return header.length >= NsisFirstHeaderBytes + 4 && CrcMatches(program, end - 4) ? PackageWholeness::Whole
                                                                                      : PackageWholeness::NotWhole;
}
