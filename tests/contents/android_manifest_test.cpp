// What Android packages say about themselves: the real builds of
// io.appium.settings (values as `aapt dump badging` and the published
// versions give them), made-up manifests for what they do not show, and
// malformed ones.
#include <gtest/gtest.h>

#include "contents/android_manifest.h"
#include "contents/resource_table.h"
#include "support/made_up_android.h"
#include "support/made_up_package.h"
#include "support/test_data.h"

namespace {

const uint32_t Label = 0x01010001, VersionCode = 0x0101021b, VersionName = 0x0101021c, VersionCodeMajor = 0x01010576;

ApkFacts FactsOf(const std::string& manifest, const std::string& table = "", bool* read = nullptr)
{
    ResourceTable resources;
    bool hasTable = !table.empty() && resources.Load(table);
    ApkFacts facts;
    bool ok = ApkFactsOfManifest(manifest, hasTable ? &resources : nullptr, &facts);
    if (read)
        *read = ok;
    return facts;
}

std::vector<MadeUpAttribute> Manifest(uint32_t code)
{
    return {{"versionCode", VersionCode, 0x10, code, ""},
            {"versionName", VersionName, 0x03, 0, "2.0 beta"},
            {"package", 0, 0x03, 0, "org.example.app"}};
}

}  // namespace

TEST(ApkFacts, RealBuildsOfThreeVersions)
{
    const struct {
        const char* file;
        const char* versionName;
        uint64_t versionCode;
    } builds[] = {
        {"apk/io.appium.settings-5.14.15.apk", "5.14.15", 131},
        {"apk/io.appium.settings-7.0.22.apk", "7.0.22", 163},
        {"apk/io.appium.settings-8.0.10.apk", "8.0.10", 192},
        // Python's zipfile around the 8.0.10 manifest and table.
        {"apk/deflated.apk", "8.0.10", 192},
        {"apk/stored.apk", "8.0.10", 192},
        {"apk/descriptor.apk", "8.0.10", 192},
        {"apk/zip64.apk", "8.0.10", 192},
    };
    for (const auto& build : builds) {
        const std::string bytes = TestDataBytes(build.file);
        ApkFacts facts;
        ASSERT_TRUE(ApkFactsOf(ByteSourceOfMemory(bytes), &facts)) << build.file;
        EXPECT_EQ(facts.packageId, "io.appium.settings") << build.file;
        EXPECT_EQ(facts.label, "Appium Settings") << build.file;
        EXPECT_EQ(facts.versionName, build.versionName) << build.file;
        EXPECT_TRUE(facts.hasVersionCode) << build.file;
        EXPECT_EQ(facts.versionCode, build.versionCode) << build.file;
    }
}

TEST(ApkFacts, VersionCodeMajorLabelsAndPoolsOfBothEncodings)
{
    for (bool utf8 : {true, false}) {
        std::vector<MadeUpAttribute> manifest = Manifest(7);
        manifest.push_back({"versionCodeMajor", VersionCodeMajor, 0x11, 3, ""});
        bool read = false;
        ApkFacts facts = FactsOf(MadeUpManifest(manifest, {{"label", Label, 0x03, 0, "Plain Label"}}, utf8), "", &read);
        EXPECT_TRUE(read);
        EXPECT_EQ(facts.packageId, "org.example.app");
        EXPECT_EQ(facts.versionCode, (3ull << 32) | 7);
        EXPECT_EQ(facts.versionName, "2.0 beta");
        EXPECT_EQ(facts.label, "Plain Label");

        // A label and a version name found in the table, through a chain of references.
        std::string table = MadeUpResourceTable({{1, 0, "", "", 0, 0x01, 0x7f010001, ""},
                                                 {1, 1, "", "", 0, 0x03, 0, "Referenced Label"},
                                                 {1, 2, "", "", 0, 0x03, 0, "3.1"}},
                                                utf8);
        manifest[1] = {"versionName", VersionName, 0x01, 0x7f010002, ""};
        facts = FactsOf(MadeUpManifest(manifest, {{"label", Label, 0x01, 0x7f010000, ""}}, utf8), table);
        EXPECT_EQ(facts.label, "Referenced Label");
        EXPECT_EQ(facts.versionName, "3.1");
        // A dynamic reference with no package byte names the table's own package.
        facts = FactsOf(MadeUpManifest(Manifest(1), {{"label", Label, 0x07, 0x00010001, ""}}, utf8), table);
        EXPECT_EQ(facts.label, "Referenced Label");
    }
}

TEST(ApkFacts, ReferencesThatLoopOrLeadNowhereLeaveTheLabelEmpty)
{
    std::string table = MadeUpResourceTable({{1, 0, "", "", 0, 0x01, 0x7f010001, ""},
                                             {1, 1, "", "", 0, 0x01, 0x7f010000, ""},
                                             {1, 2, "", "", 0, 0x03, 5000, ""}},
                                            true);
    for (uint32_t reference : {0x7f010000u, 0x7f010002u, 0x7f010009u, 0x7f020000u, 0x7f000000u, 0x01040000u}) {
        bool read = false;
        ApkFacts facts = FactsOf(MadeUpManifest(Manifest(1), {{"label", Label, 0x01, reference, ""}}, true), table, &read);
        EXPECT_TRUE(read) << std::hex << reference;
        EXPECT_EQ(facts.label, "") << std::hex << reference;
        EXPECT_EQ(facts.packageId, "org.example.app");
    }
    bool read = false;
    ApkFacts facts = FactsOf(MadeUpManifest(Manifest(1), {{"label", Label, 0x01, 0x7f010000, ""}}, true), "", &read);
    EXPECT_TRUE(read);
    EXPECT_EQ(facts.label, "");
    // A label of a type no text has (an integer), with a table and without one.
    for (const std::string& tableBytes : {std::string(), table}) {
        facts = FactsOf(MadeUpManifest(Manifest(1), {{"label", Label, 0x10, 5, ""}}, true), tableBytes, &read);
        EXPECT_TRUE(read);
        EXPECT_EQ(facts.label, "");
    }
}

TEST(ApkFacts, MalformedManifestsAreRefusedWithoutACrash)
{
    const std::string real = MadeUpManifest(Manifest(1), {{"label", Label, 0x03, 0, "L"}}, true);
    bool read = true;
    for (size_t cut = 0; cut < real.size(); ++cut) {
        FactsOf(real.substr(0, cut), "", &read);
        EXPECT_FALSE(read) << cut;
    }
    FactsOf(MadeUpManifest({{"versionCode", VersionCode, 0x10, 1, ""}}, {}, true), "", &read);
    EXPECT_FALSE(read) << "no package id";

    // The pool's first offsets sent far away; a string of 2^31 units; 65,535 attributes.
    std::string offsets = real, longString = real, manyAttributes = real;
    offsets.replace(8 + 28, 8, std::string(8, '\xF0'));
    size_t pool = 8 + 28 + 4 * real[8 + 8];
    longString.replace(pool, 2, "\xFF\xFF");
    size_t element = real.find(LittleEndian(0x00100102, 4));
    manyAttributes.replace(element + 16 + 12, 2, "\xFF\xFF");
    for (const std::string& bytes : {offsets, longString, manyAttributes}) {
        ApkFacts facts = FactsOf(bytes, "", &read);
        EXPECT_TRUE(!read || facts.packageId == "org.example.app");
    }
    FactsOf(manyAttributes, "", &read);
    EXPECT_FALSE(read);

    // Elements nested 1,000 deep.
    std::string deep = real.substr(0, element);
    std::string start = real.substr(element, real.find(LittleEndian(0x00100102, 4), element + 1) - element);
    for (int i = 0; i < 1000; ++i)
        deep += start;
    deep.replace(4, 4, LittleEndian(deep.size(), 4));
    FactsOf(deep, "", &read);
    EXPECT_FALSE(read);
}

TEST(ApkFacts, ArchivesWithoutAManifestOrWithAnOversizedOneGiveNoFacts)
{
    ApkFacts facts;
    EXPECT_FALSE(ApkFactsOf(ByteSourceOfMemory(MadeUpArchive("no manifest", "")), &facts));
    EXPECT_FALSE(ApkFactsOf(ByteSourceOfMemory("PK\3\4 not an archive"), &facts));
    std::string apk = TestDataBytes("apk/mini.apk");
    ASSERT_FALSE(apk.empty());
    // The manifest's directory entry claims 1 GB once inflated.
    size_t directory = static_cast<unsigned char>(apk[apk.size() - 6])
                       | static_cast<unsigned char>(apk[apk.size() - 5]) << 8
                       | static_cast<unsigned char>(apk[apk.size() - 4]) << 16;
    size_t entry = apk.find("AndroidManifest.xml", directory) - 46;
    std::string claimed = apk;
    claimed.replace(entry + 24, 4, LittleEndian(1u << 30, 4));
    EXPECT_FALSE(ApkFactsOf(ByteSourceOfMemory(claimed), &facts));
    EXPECT_TRUE(ApkFactsOf(ByteSourceOfMemory(apk), &facts));
}
