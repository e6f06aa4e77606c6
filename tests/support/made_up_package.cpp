#include "support/made_up_package.h"

std::string LittleEndian(uint64_t value, int count)
{
    std::string bytes;
    for (int i = 0; i < count; ++i, value >>= 8)
        bytes += static_cast<char>(value & 0xFF);
    return bytes;
}

std::string MadeUpArchive(const std::string& entries, const std::string& comment)
{
    std::string directory = "PK\1\2directory";
    return std::string("PK\3\4", 4) + entries + directory + "PK\5\6" + std::string(8, '\0')
           + LittleEndian(directory.size(), 4) + LittleEndian(4 + entries.size(), 4)
           + LittleEndian(comment.size(), 2) + comment;
}

std::string MadeUpProgram(uint64_t certificates, const std::string& after)
{
    std::string bytes = "MZ" + std::string(58, 'm') + LittleEndian(64, 4) + "PE" + std::string(2, '\0');
    bytes += LittleEndian(0x14C, 2) + LittleEndian(1, 2) + std::string(12, '\0') + LittleEndian(224, 2)
             + LittleEndian(0x102, 2);
    std::string optional = LittleEndian(0x10B, 2) + std::string(58, 'o') + LittleEndian(512, 4)
                           + std::string(28, 'o') + LittleEndian(16, 4);
    for (int directory = 0; directory < 16; ++directory)
        optional += directory == 4 ? LittleEndian(certificates, 4) + LittleEndian(certificates ? 8 : 0, 4)
                                   : std::string(8, '\0');
    bytes += optional + std::string(16, '\0') + LittleEndian(512, 4) + LittleEndian(512, 4) + std::string(16, '\0');
    bytes.resize(1024, 'c');
    return bytes + after;
}

std::string MadeUpInstaller(uint64_t length, uint64_t written)
{
    std::string header = LittleEndian(0, 4) + LittleEndian(0xDEADBEEF, 4) + "NullsoftInst" + LittleEndian(64, 4)
                         + LittleEndian(length, 4);
    uint64_t size = written < length ? written : length;
    return header + std::string(size > header.size() ? size - header.size() : 0, 'n');
}
