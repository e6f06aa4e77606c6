#include "support/made_up_package.h"

#include <windows.h>

#include <algorithm>

#include <zlib.h>

std::string LittleEndian(uint64_t value, int count)
{
    std::string bytes;
    for (int i = 0; i < count; ++i, value >>= 8)
        bytes += static_cast<char>(value & 0xFF);
    return bytes;
}

std::string MadeUpArchive(const std::string& content, const std::string& comment)
{
    const std::string name = "entry";
    uint32_t crc = static_cast<uint32_t>(crc32_z(0, reinterpret_cast<const Bytef*>(content.data()), content.size()));
    // Version, flags, method (stored), time and date, CRC, sizes, name length.
    std::string fields = LittleEndian(20, 2) + LittleEndian(0, 2) + LittleEndian(0, 2) + LittleEndian(0, 4)
                         + LittleEndian(crc, 4) + LittleEndian(content.size(), 4) + LittleEndian(content.size(), 4)
                         + LittleEndian(name.size(), 2);
    std::string local = std::string("PK\3\4", 4) + fields + LittleEndian(0, 2) + name + content;
    std::string directory = std::string("PK\1\2", 4) + LittleEndian(20, 2) + fields + LittleEndian(0, 2 + 2 + 2 + 2 + 4)
                            + LittleEndian(0, 4) + name;
    return local + directory + "PK\5\6" + LittleEndian(0, 4) + LittleEndian(1, 2) + LittleEndian(1, 2)
           + LittleEndian(directory.size(), 4) + LittleEndian(local.size(), 4) + LittleEndian(comment.size(), 2)
           + comment;
}

namespace {

// Writes the CRC an NSIS installer carries into its data's last four bytes,
// where the data at `header` is complete and its flags ask for one.
void InstallerCrcSet(std::string& program, size_t header)
{
    if (program.compare(header + 4, 16, std::string("\xEF\xBE\xAD\xDENullsoftInst", 16)) != 0)
        return;
    auto word = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<unsigned char>(program[at])
                                     | static_cast<unsigned char>(program[at + 1]) << 8
                                     | static_cast<unsigned char>(program[at + 2]) << 16
                                     | static_cast<uint32_t>(static_cast<unsigned char>(program[at + 3])) << 24);
    };
    uint32_t flags = word(header), length = word(header + 24);
    bool carriesCrc = !(flags & 4) || (flags & 8);
    if (!carriesCrc || length < 32 || program.size() < header + length)
        return;
    size_t end = header + length - 4;
    uLong crc = crc32_z(0, reinterpret_cast<const Bytef*>(program.data() + 512), end - 512);
    program.replace(end, 4, LittleEndian(crc, 4));
}

}  // namespace

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
    bytes += after;
    if (after.size() >= 28)
        InstallerCrcSet(bytes, 1024);
    return bytes;
}

std::string MadeUpInstaller(uint64_t length, uint64_t written, uint32_t flags)
{
    std::string header = LittleEndian(flags, 4) + LittleEndian(0xDEADBEEF, 4) + "NullsoftInst" + LittleEndian(64, 4)
                         + LittleEndian(length, 4);
    uint64_t size = written < length ? written : length;
    return header + std::string(size > header.size() ? size - header.size() : 0, 'n');
}

bool InstallerCrcWriteInFile(const std::string& path, uint64_t header)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string buffer(1 << 20, '\0');
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(header);
    DWORD read = 0;
    bool done = ReadFile(file, &buffer[0], 28, &read, &at) && read == 28;
    uint64_t end = header + (static_cast<unsigned char>(buffer[24]) | (static_cast<unsigned char>(buffer[25]) << 8)
                             | (static_cast<unsigned char>(buffer[26]) << 16)
                             | (static_cast<uint64_t>(static_cast<unsigned char>(buffer[27])) << 24))
                   - 4;
    uLong crc = crc32_z(0, nullptr, 0);
    for (uint64_t offset = 512; done && offset < end; offset += read) {
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD ask = static_cast<DWORD>(std::min<uint64_t>(buffer.size(), end - offset));
        done = ReadFile(file, &buffer[0], ask, &read, &at) && read == ask;
        crc = crc32_z(crc, reinterpret_cast<const Bytef*>(buffer.data()), read);
    }
    std::string word = LittleEndian(crc, 4);
    DWORD written = 0;
    at.Offset = static_cast<DWORD>(end);
    at.OffsetHigh = static_cast<DWORD>(end >> 32);
    done = done && WriteFile(file, word.data(), 4, &written, &at) && written == 4;
    CloseHandle(file);
    return done;
}
