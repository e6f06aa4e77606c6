// The version resource of real programs: makensis installers (the values
// their .nsi gives) and a program whose resource windres built from
// version.rc; malformed programs.
#include <gtest/gtest.h>

#include "contents/version_resource.h"
#include "support/made_up_package.h"
#include "support/test_data.h"

namespace {

bool FactsOf(const std::string& bytes, VersionFacts* facts)
{
    return VersionFactsOf(ByteSourceOfMemory(bytes), facts);
}

}  // namespace

TEST(VersionResource, MakensisInstallersSayWhatTheirScriptSaid)
{
    for (const char* name : {"nsis/crc.paf.exe", "nsis/nocrc-signed.paf.exe", "nsis/small.paf.exe"}) {
        VersionFacts facts;
        ASSERT_TRUE(FactsOf(TestDataBytes(name), &facts)) << name;
        EXPECT_EQ(facts.productName, "Quillet Test Portable") << name;
        EXPECT_EQ(facts.fileDescription, "Quillet Test Portable (PortableApps.com Installer)") << name;
        EXPECT_EQ(facts.originalFilename, "QuilletTestPortable_4.5.6.paf.exe") << name;
        EXPECT_EQ(facts.internalName, "QuilletTestPortable") << name;
        EXPECT_EQ(facts.productVersion, "4.5.6.7") << name;
    }
}

TEST(VersionResource, TheEnglishTableIsChosenOverAFirstGermanOneAndTextComesOutAsUtf8)
{
    VersionFacts facts;
    ASSERT_TRUE(FactsOf(TestDataBytes("version/probe.exe"), &facts));
    EXPECT_EQ(facts.productName, "Probe \xE2\x80\x9CQuoted\xE2\x80\x9D \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(facts.fileDescription, "A tiny program with a version resource");
    EXPECT_EQ(facts.originalFilename, "probe.exe");
    EXPECT_EQ(facts.internalName, "probe");
    EXPECT_EQ(facts.productVersion, "2.0.1");
}

TEST(VersionResource, ProgramsWithoutOneOrWithAMalformedOneGiveNoFacts)
{
    VersionFacts facts;
    EXPECT_FALSE(FactsOf(MadeUpProgram(0, ""), &facts));
    EXPECT_FALSE(FactsOf("MZ", &facts));
    const std::string real = TestDataBytes("version/probe.exe");
    ASSERT_FALSE(real.empty());
    size_t root = real.find(std::string("V\0S\0_\0V\0E\0R", 12)) - 6;
    ASSERT_LT(root, real.size());
    // The root block's length: zero, past the data, and a child's length of 0xFFFF.
    for (uint16_t length : {0, 3, 0xFFFF}) {
        std::string changed = real;
        changed.replace(root, 2, LittleEndian(length, 2));
        EXPECT_FALSE(FactsOf(changed, &facts)) << length;
    }
    size_t child = real.find(std::string("S\0t\0r\0i\0n\0g\0F", 14)) - 6;
    std::string endless = real;
    endless.replace(child, 2, LittleEndian(0xFFFF, 2));
    EXPECT_FALSE(FactsOf(endless, &facts));
    // Cut anywhere: never a crash; cut before the resource, no facts.
    for (size_t cut = 0; cut < real.size(); cut += 13) {
        bool read = FactsOf(real.substr(0, cut), &facts);
        EXPECT_TRUE(cut >= root || !read) << cut;
    }
    // Every 32-bit field of the headers and the resource set huge in turn.
    for (size_t at = 0; at + 4 <= real.size(); at += 4) {
        if (at >= 1024 && at < root - 512)
            continue;
        std::string changed = real;
        changed.replace(at, 4, "\xF0\xFF\xFF\xFF");
        FactsOf(changed, &facts);
    }
}
