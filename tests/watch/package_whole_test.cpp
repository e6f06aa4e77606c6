// The structure checks over small made-up packages, whole and cut short.
#include <gtest/gtest.h>

#include "support/made_up_package.h"
#include "support/temp_folder.h"
#include "support/test_data.h"
#include "watch/package_whole.h"


TEST(PackageWhole, EachKindIsWholeOnlyWhenItsOwnStructureReachesItsLastByte)
{
    const std::string archive = MadeUpArchive("entries, then a signing block", "a comment");
    const std::string program = MadeUpProgram(0, MadeUpInstaller(100));
    const struct {
        const char* name;
        std::string bytes;
        PackageWholeness expected;
    } cases[] = {
        {"whole.apk", archive, PackageWholeness::Whole},
        {"no comment.APK", MadeUpArchive("e", ""), PackageWholeness::Whole},
        {"cut.apk", archive.substr(0, archive.size() - 1), PackageWholeness::NotWhole},
        {"more after.apk", archive + "x", PackageWholeness::NotWhole},
        {"entries cut.apk", "PK\3\4" + archive.substr(archive.find("PK\1\2")), PackageWholeness::NotWhole},
        {"no zip.apk", "MZ" + archive.substr(2), PackageWholeness::NotWhole},
        {"installer.paf.exe", program, PackageWholeness::Whole},
        {"installer cut.paf.exe", program.substr(0, 1100), PackageWholeness::NotWhole},
        {"image cut.paf.exe", program.substr(0, 1000), PackageWholeness::NotWhole},
        {"signed.paf.exe", MadeUpProgram(1124, MadeUpInstaller(100)) + "certific", PackageWholeness::Whole},
        {"signature cut.paf.exe", MadeUpProgram(1124, MadeUpInstaller(100)) + "cert", PackageWholeness::NotWhole},
        {"no installer.paf.exe", MadeUpProgram(0, "tail"), PackageWholeness::Unproven},
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

// Real packages through the file's path and through a handle the caller
// keeps (its file pointer anywhere), and the zero run of an installer
// without a CRC whose middle was never written.
TEST(PackageWhole, RealPackagesThroughThePathAndThroughAnOpenHandle)
{
    const struct {
        const char* file;
        const char* name;
        PackageWholeness expected;
    } packages[] = {
        {"apk/io.appium.settings-8.0.10.apk", "Appium_Settings_8.0.10.apk", PackageWholeness::Whole},
        {"apk/descriptor.apk", "Descriptor.APK", PackageWholeness::Whole},
        {"nsis/crc-signed.paf.exe", "QuilletTestPortable_4.5.6.paf.exe", PackageWholeness::Whole},
        {"nsis/nocrc.paf.exe", "NoCrcPortable_1.0.paf.exe", PackageWholeness::Unproven},
    };
    TempFolder temp;
    for (const auto& p : packages) {
        std::string bytes = TestDataBytes(p.file);
        ASSERT_FALSE(bytes.empty()) << p.file;
        WriteFileBytes(temp / p.name, bytes);
        EXPECT_EQ(PackageWholenessOf(temp / p.name), p.expected) << p.name;
        std::string holed = bytes;
        holed.replace(holed.size() / 2 / 4096 * 4096, 1 << 20, 1 << 20, '\0');
        WriteFileBytes(temp / (std::string("holed\\") + p.name), holed);
        PackageWholeness holedExpected =
            p.expected == PackageWholeness::Whole ? PackageWholeness::NotWhole : PackageWholeness::Unproven;
        EXPECT_EQ(PackageWholenessOf(temp / (std::string("holed\\") + p.name)), holedExpected) << p.name;

        HANDLE file = CreateFileA((temp / (std::string("holed\\") + p.name)).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        SetFilePointer(file, 12345, nullptr, FILE_BEGIN);
        EXPECT_EQ(PackageWholenessOfHandle(file, p.name), holedExpected) << p.name;
        EXPECT_TRUE(PackageZeroRunOfHandle(file)) << p.name;
        CloseHandle(file);
        file = CreateFileA((temp / p.name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(PackageWholenessOfHandle(file, p.name), p.expected) << p.name;
        EXPECT_FALSE(PackageZeroRunOfHandle(file)) << p.name;
        CloseHandle(file);
    }
}
