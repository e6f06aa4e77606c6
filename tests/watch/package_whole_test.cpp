// The structure checks over small made-up packages, whole and cut short.
#include <gtest/gtest.h>

#include <cstdint>

#include "support/temp_folder.h"
#include "watch/package_whole.h"

namespace {

std::string Le(uint64_t value, int count)
{
    std::string bytes;
    for (int i = 0; i < count; ++i, value >>= 8)
        bytes += static_cast<char>(value & 0xFF);
    return bytes;
}

// Entries, then the central directory, then its end record with a comment.
std::string Archive(const std::string& entries, const std::string& comment)
{
    std::string directory = "PK\1\2directory";
    return std::string("PK\3\4", 4) + entries + directory + "PK\5\6" + std::string(8, '\0')
           + Le(directory.size(), 4) + Le(4 + entries.size(), 4) + Le(comment.size(), 2) + comment;
}

// A program with one 512-byte section ending at 1024, a certificate table
// where `certificates` says, then `after`.
std::string Program(uint64_t certificates, const std::string& after)
{
    std::string bytes = "MZ" + std::string(58, 'm') + Le(64, 4) + "PE" + std::string(2, '\0');
    bytes += Le(0x14C, 2) + Le(1, 2) + std::string(12, '\0') + Le(224, 2) + Le(0x102, 2);
    std::string optional = Le(0x10B, 2) + std::string(58, 'o') + Le(512, 4) + std::string(28, 'o') + Le(16, 4);
    for (int directory = 0; directory < 16; ++directory)
        optional += directory == 4 ? Le(certificates, 4) + Le(certificates ? 8 : 0, 4) : std::string(8, '\0');
    bytes += optional + std::string(16, '\0') + Le(512, 4) + Le(512, 4) + std::string(16, '\0');
    bytes.resize(1024, 'c');
    return bytes + after;
}

std::string Installer(uint64_t length)
{
    std::string header = Le(0, 4) + Le(0xDEADBEEF, 4) + "NullsoftInst" + Le(64, 4) + Le(length, 4);
    return header + std::string(length - header.size(), 'n');
}

}  // namespace

TEST(PackageWhole, EachKindIsWholeOnlyWhenItsOwnStructureReachesItsLastByte)
{
    const std::string archive = Archive("entries, then a signing block", "a comment");
    const std::string program = Program(0, Installer(100));
    const struct {
        const char* name;
        std::string bytes;
        PackageWholeness expected;
    } cases[] = {
        {"whole.apk", archive, PackageWholeness::Whole},
        {"no comment.APK", Archive("e", ""), PackageWholeness::Whole},
        {"cut.apk", archive.substr(0, archive.size() - 1), PackageWholeness::NotWhole},
        {"more after.apk", archive + "x", PackageWholeness::NotWhole},
        {"entries cut.apk", "PK\3\4" + archive.substr(archive.find("PK\1\2")), PackageWholeness::NotWhole},
        {"no zip.apk", "MZ" + archive.substr(2), PackageWholeness::NotWhole},
        {"installer.paf.exe", program, PackageWholeness::Whole},
        {"installer cut.paf.exe", program.substr(0, 1100), PackageWholeness::NotWhole},
        {"image cut.paf.exe", program.substr(0, 1000), PackageWholeness::NotWhole},
        {"signed.paf.exe", Program(1124, Installer(100)) + "certific", PackageWholeness::Whole},
        {"signature cut.paf.exe", Program(1124, Installer(100)) + "cert", PackageWholeness::NotWhole},
        {"no installer.paf.exe", Program(0, "tail"), PackageWholeness::Unproven},
        {"no program.paf.exe", "a text", PackageWholeness::NotWhole},
        {"any.lks", "liberkey", PackageWholeness::Unproven},
        {"zero tail.lks", "x" + std::string(70000, '\0'), PackageWholeness::NotWhole},
        {"zero tail.apk", archive + std::string(65536, '\0'), PackageWholeness::NotWhole},
        {"empty.lks", "", PackageWholeness::NotWhole},
    };
    TempFolder temp;
    for (const auto& c : cases) {
        WriteFileBytes(temp / c.name, c.bytes);
        EXPECT_EQ(PackageWholenessOf(temp / c.name), c.expected) << c.name;
    }
    EXPECT_EQ(PackageWholenessOf(temp / "missing.apk"), PackageWholeness::NotWhole);
}
