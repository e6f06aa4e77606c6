// Whether packages are whole by their own bytes: real Android builds, ZIP
// archives made by Python's zipfile (deflated, stored, with data
// descriptors, ZIP64) and NSIS installers from makensis (with and without a
// CRC, signed and not), each whole, with a hole of zeros at full size, with a
// byte changed; zero runs; made-up malformed archives and programs.
#include <gtest/gtest.h>

#include <zlib.h>

#include "contents/package_wholeness.h"
#include "contents/zero_runs.h"
#include "support/made_up_package.h"
#include "support/test_data.h"

namespace {

const size_t Megabyte = 1 << 20;

PackageWholeness WholenessOf(const std::string& bytes, PackageFormat format)
{
    return PackageWholenessOfSource(ByteSourceOfMemory(bytes), format);
}

bool HasZeroRun(const std::string& bytes, uint64_t* at = nullptr)
{
    return ZeroRunFound(ByteSourceOfMemory(bytes), at);
}

// A megabyte of zeros (and a page more) from the 4 KB boundary nearest the middle.
std::string WithHole(std::string bytes)
{
    size_t at = bytes.size() / 2 / 4096 * 4096;
    bytes.replace(at, Megabyte + 4096, Megabyte + 4096, '\0');
    return bytes;
}

std::string WithByteFlipped(std::string bytes, size_t at)
{
    bytes[at] = static_cast<char>(bytes[at] ^ 0x20);
    return bytes;
}

const char* const WholeArchives[] = {
    "apk/io.appium.settings-5.14.15.apk", "apk/io.appium.settings-7.0.22.apk", "apk/io.appium.settings-8.0.10.apk",
    "apk/deflated.apk", "apk/stored.apk", "apk/descriptor.apk", "apk/zip64.apk",
};

// A raw deflate stream of the bytes.
std::string Deflated(const std::string& bytes)
{
    z_stream stream = {};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, bytes.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

struct Part {
    std::string name;
    std::string stored;       // the bytes as they stand in the archive
    uint16_t method;
    uint32_t crc;
    uint64_t size;            // once inflated
    uint16_t flags;
    int zip64 = 0;            // the directory's sizes and offset in a ZIP64 extra field of this many bytes
};

Part PartOf(const std::string& name, const std::string& data, bool deflate)
{
    return {name, deflate ? Deflated(data) : data, static_cast<uint16_t>(deflate ? 8 : 0),
            static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()))),
            data.size(), 0};
}

// An archive of the parts as described (the local headers carry what the
// central directory does), with `between` after the last part's data.
std::string ArchiveOf(const std::vector<Part>& parts, const std::string& between = "")
{
    std::string body, directory;
    for (const Part& p : parts) {
        std::string fields = LittleEndian(20, 2) + LittleEndian(p.flags, 2) + LittleEndian(p.method, 2)
                             + LittleEndian(0, 4) + LittleEndian(p.crc, 4) + LittleEndian(p.stored.size(), 4)
                             + LittleEndian(p.size, 4) + LittleEndian(p.name.size(), 2);
        std::string extra = LittleEndian(p.size, 8) + LittleEndian(p.stored.size(), 8) + LittleEndian(body.size(), 8);
        extra = p.zip64 ? LittleEndian(1, 2) + LittleEndian(p.zip64, 2) + extra.substr(0, p.zip64) : "";
        std::string central = p.zip64 ? fields.substr(0, 14) + std::string(8, '\xFF') + fields.substr(22) : fields;
        directory += "PK\1\2" + LittleEndian(20, 2) + central + LittleEndian(extra.size(), 2) + LittleEndian(0, 10)
                     + LittleEndian(p.zip64 ? 0xFFFFFFFF : body.size(), 4) + p.name + extra;
        body += "PK\3\4" + fields + LittleEndian(0, 2) + p.name + p.stored;
    }
    body += between;
    return body + directory + "PK\5\6" + LittleEndian(0, 4) + LittleEndian(parts.size(), 2)
           + LittleEndian(parts.size(), 2) + LittleEndian(directory.size(), 4) + LittleEndian(body.size(), 4)
           + LittleEndian(0, 2);
}

}  // namespace

TEST(ArchiveWholeness, RealArchivesAreWholeAndNotWithAHoleAByteChangedOrCutShort)
{
    for (const char* name : WholeArchives) {
        const std::string bytes = TestDataBytes(name);
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(WholenessOf(bytes, PackageFormat::Apk), PackageWholeness::Whole) << name;
        EXPECT_FALSE(HasZeroRun(bytes)) << name;
        EXPECT_EQ(WholenessOf(WithHole(bytes), PackageFormat::Apk), PackageWholeness::NotWhole) << name;
        EXPECT_TRUE(HasZeroRun(WithHole(bytes))) << name;
        EXPECT_EQ(WholenessOf(WithByteFlipped(bytes, bytes.size() / 3), PackageFormat::Apk), PackageWholeness::NotWhole)
            << name;
        EXPECT_EQ(WholenessOf(bytes.substr(0, bytes.size() - 1), PackageFormat::Apk), PackageWholeness::NotWhole) << name;
        EXPECT_EQ(WholenessOf(bytes + "x", PackageFormat::Apk), PackageWholeness::NotWhole) << name;
    }
}

TEST(ArchiveWholeness, TheSigningBlockMustBeWholeAndNothingElseMayStandBetweenEntries)
{
    const std::string real = TestDataBytes("apk/io.appium.settings-8.0.10.apk");
    ASSERT_FALSE(real.empty());
    size_t magic = real.rfind("APK Sig Block 42");
    ASSERT_NE(magic, std::string::npos);
    EXPECT_EQ(WholenessOf(WithByteFlipped(real, magic + 3), PackageFormat::Apk), PackageWholeness::NotWhole);
    // The size before the magic no longer agrees with the one at the block's start.
    EXPECT_EQ(WholenessOf(WithByteFlipped(real, magic - 8), PackageFormat::Apk), PackageWholeness::NotWhole);

    const Part a = PartOf("a.txt", "first entry", false), b = PartOf("b.txt", std::string(5000, 'b'), true);
    EXPECT_EQ(WholenessOf(ArchiveOf({a, b}), PackageFormat::Apk), PackageWholeness::Whole);
    // Sizes and offset in the directory's ZIP64 extra field; one too short to hold them all.
    Part b64 = b;
    b64.zip64 = 24;
    EXPECT_EQ(WholenessOf(ArchiveOf({a, b64}), PackageFormat::Apk), PackageWholeness::Whole);
    b64.zip64 = 16;
    EXPECT_EQ(WholenessOf(ArchiveOf({a, b64}), PackageFormat::Apk), PackageWholeness::NotWhole);
    EXPECT_EQ(WholenessOf(ArchiveOf({a, b}, "stray"), PackageFormat::Apk), PackageWholeness::NotWhole);
    std::string pairs = LittleEndian(12, 8) + LittleEndian(0x7109871a, 4) + "8 bytes!";
    std::string block = LittleEndian(pairs.size() + 24, 8) + pairs + LittleEndian(pairs.size() + 24, 8) + "APK Sig Block 42";
    EXPECT_EQ(WholenessOf(ArchiveOf({a, b}, block), PackageFormat::Apk), PackageWholeness::Whole);
    std::string shortPair = block;
    shortPair[8] = 11;  // the pair's length no longer fills the block
    EXPECT_EQ(WholenessOf(ArchiveOf({a, b}, shortPair), PackageFormat::Apk), PackageWholeness::NotWhole);
}

TEST(ArchiveWholeness, MalformedArchivesAreNotWholeQuickly)
{
    const Part good = PartOf("a.txt", "some text", false);
    Part bomb = PartOf("bomb.bin", std::string(64 * Megabyte, '\0'), true);
    bomb.size = 1000;  // claims a kilobyte, inflates to 64 MB
    Part encrypted = good, unknownMethod = good, wrongCrc = good, wrongSize = good;
    encrypted.flags = 1;
    unknownMethod.method = 12;
    wrongCrc.crc ^= 1;
    wrongSize.size += 1;
    Part huge = PartOf("huge.bin", "x", false);
    huge.size = 0xFFFFFFF0;
    for (const Part& part : {bomb, encrypted, unknownMethod, wrongCrc, wrongSize, huge})
        EXPECT_EQ(WholenessOf(ArchiveOf({good, part}), PackageFormat::Apk), PackageWholeness::NotWhole) << part.name;

    // Two directory entries over one local header, as overlapping bombs do.
    std::string twice = ArchiveOf({good});
    size_t directory = twice.find("PK\1\2"), end = twice.find("PK\5\6");
    std::string entry = twice.substr(directory, end - directory);
    std::string overlapping = twice.substr(0, end) + entry + "PK\5\6" + LittleEndian(0, 4) + LittleEndian(2, 2)
                              + LittleEndian(2, 2) + LittleEndian(entry.size() * 2, 4) + LittleEndian(directory, 4)
                              + LittleEndian(0, 2);
    EXPECT_EQ(WholenessOf(overlapping, PackageFormat::Apk), PackageWholeness::NotWhole);

    std::string renamed = ArchiveOf({good});
    renamed[30] = 'b';  // the local header's name differs from the directory's
    EXPECT_EQ(WholenessOf(renamed, PackageFormat::Apk), PackageWholeness::NotWhole);
    std::string manyEntries = ArchiveOf({good});
    manyEntries.replace(manyEntries.size() - 14, 4, "\xFF\xFF\xFF\xFF");  // 65,535 entries in a tiny directory
    EXPECT_EQ(WholenessOf(manyEntries, PackageFormat::Apk), PackageWholeness::NotWhole);
    std::string farDirectory = ArchiveOf({good});
    farDirectory.replace(farDirectory.size() - 6, 4, "\xF0\xFF\xFF\xFF");
    EXPECT_EQ(WholenessOf(farDirectory, PackageFormat::Apk), PackageWholeness::NotWhole);
    for (size_t cut = 0; cut < renamed.size(); ++cut)
        EXPECT_EQ(WholenessOf(ArchiveOf({good}).substr(0, cut), PackageFormat::Apk), PackageWholeness::NotWhole) << cut;
}

TEST(InstallerWholeness, MakensisInstallersCarryTheirCrcOverAllButTheFirst512BytesAndTheSignature)
{
    const struct {
        const char* name;
        PackageWholeness whole;
    } installers[] = {
        {"nsis/crc.paf.exe", PackageWholeness::Whole},
        {"nsis/crc-signed.paf.exe", PackageWholeness::Whole},
        {"nsis/small.paf.exe", PackageWholeness::Whole},
        {"nsis/nocrc.paf.exe", PackageWholeness::Unproven},
        {"nsis/nocrc-signed.paf.exe", PackageWholeness::Unproven},
    };
    for (const auto& installer : installers) {
        const std::string bytes = TestDataBytes(installer.name);
        ASSERT_FALSE(bytes.empty()) << installer.name;
        EXPECT_EQ(WholenessOf(bytes, PackageFormat::PafExe), installer.whole) << installer.name;
        EXPECT_FALSE(HasZeroRun(bytes)) << installer.name;
        // In the DOS stub's text: outside what the CRC covers.
        EXPECT_EQ(WholenessOf(WithByteFlipped(bytes, 0x60), PackageFormat::PafExe), installer.whole) << installer.name;
        EXPECT_EQ(WholenessOf(bytes.substr(0, bytes.size() - 1), PackageFormat::PafExe), PackageWholeness::NotWhole)
            << installer.name;
        if (bytes.size() < 2 * Megabyte)
            continue;
        bool carriesCrc = installer.whole == PackageWholeness::Whole;
        PackageWholeness changed = carriesCrc ? PackageWholeness::NotWhole : PackageWholeness::Unproven;
        EXPECT_EQ(WholenessOf(WithHole(bytes), PackageFormat::PafExe), changed) << installer.name;
        EXPECT_TRUE(HasZeroRun(WithHole(bytes))) << installer.name;
        EXPECT_EQ(WholenessOf(WithByteFlipped(bytes, 600), PackageFormat::PafExe), changed) << installer.name;
        EXPECT_EQ(WholenessOf(WithByteFlipped(bytes, bytes.size() / 2), PackageFormat::PafExe), changed)
            << installer.name;
    }
    // Bytes appended after an unsigned installer's data are no part of it.
    EXPECT_EQ(WholenessOf(TestDataBytes("nsis/crc.paf.exe") + "appended", PackageFormat::PafExe),
              PackageWholeness::Whole);
}

TEST(InstallerWholeness, MalformedProgramsAreNotWhole)
{
    const std::string program = MadeUpProgram(0, MadeUpInstaller(100));
    ASSERT_EQ(WholenessOf(program, PackageFormat::PafExe), PackageWholeness::Whole);
    auto with = [&](size_t at, uint64_t value, int count) {
        std::string bytes = program;
        bytes.replace(at, count, LittleEndian(value, count));
        return bytes;
    };
    const std::string cases[] = {
        with(0x3C, 0xFFFFFFF0, 4),         // headers far past the end
        with(64 + 6, 0xFFFF, 2),           // 65,535 sections
        with(64 + 20, 0xFFFF, 2),          // an optional header of 64 KB
        with(64 + 24 + 224 + 16, 0xFFFFFFFF, 4),  // a section reaching past 4 GB
        with(1024 + 24, 0xFFFFFFFF, 4),    // installer data of 4 GB
        with(1024 + 24, 20, 4),            // installer data shorter than its header
        with(1024 + 50, 'x', 1),           // a byte the CRC covers
    };
    for (const std::string& bytes : cases)
        EXPECT_EQ(WholenessOf(bytes, PackageFormat::PafExe), PackageWholeness::NotWhole);
    for (size_t cut = 0; cut < 1024; cut += 7)
        EXPECT_EQ(WholenessOf(program.substr(0, cut), PackageFormat::PafExe), PackageWholeness::NotWhole) << cut;
    // No CRC asked for (4), or asked for despite it (4 and 8).
    EXPECT_EQ(WholenessOf(MadeUpProgram(0, MadeUpInstaller(100, UINT64_MAX, 4)), PackageFormat::PafExe),
              PackageWholeness::Unproven);
    EXPECT_EQ(WholenessOf(MadeUpProgram(0, MadeUpInstaller(100, UINT64_MAX, 12)), PackageFormat::PafExe),
              PackageWholeness::Whole);
}

TEST(ZeroRuns, AMegabyteOfZerosFromA4KBoundaryIsARunAndNothingLessIs)
{
    std::string noise(4 * Megabyte, '\0');
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>(1 + i % 251);
    uint64_t at = 0;
    EXPECT_FALSE(HasZeroRun(noise));
    std::string run = noise;
    run.replace(3 * 4096, Megabyte, Megabyte, '\0');
    EXPECT_TRUE(HasZeroRun(run, &at));
    EXPECT_EQ(at, 3u * 4096);
    std::string shorter = noise;
    shorter.replace(3 * 4096, Megabyte - 1, Megabyte - 1, '\0');
    EXPECT_FALSE(HasZeroRun(shorter));
    std::string offBoundary = noise;
    offBoundary.replace(3 * 4096 + 1, Megabyte + 4094, Megabyte + 4094, '\0');
    EXPECT_FALSE(HasZeroRun(offBoundary));
    std::string atEnd = noise.substr(0, 2 * Megabyte) + std::string(Megabyte, '\0');
    EXPECT_TRUE(HasZeroRun(atEnd, &at));
    EXPECT_EQ(at, 2 * Megabyte);
    // The last 64 KB all zero: not whole, whatever the kind.
    std::string tail = noise + std::string(65536, '\0');
    EXPECT_FALSE(HasZeroRun(tail));
    for (PackageFormat format : {PackageFormat::Apk, PackageFormat::PafExe, PackageFormat::Other})
        EXPECT_EQ(WholenessOf(tail, format), PackageWholeness::NotWhole);
    EXPECT_EQ(WholenessOf(noise, PackageFormat::Other), PackageWholeness::Unproven);
}
