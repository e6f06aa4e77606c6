// The structure checks over small made-up packages, whole and cut short.
#include <gtest/gtest.h>

#include "support/made_up_package.h"
#include "support/temp_folder.h"
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
