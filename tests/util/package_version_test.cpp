// The version read from real package names of the three kinds, and the order
// of versions.
#include <gtest/gtest.h>

#include "support/code_page_932.h"
#include "util/package_version.h"

namespace {

struct Named {
    const char* name;
    const char* version;  // nullptr: the name has no version
};

}  // namespace

TEST(PackageVersion, RealNamesOfTheThreeKinds)
{
    const Named names[] = {
        {"FirefoxPortable_132.0.1.paf.exe", "132.0.1"},
        {"VLC_media_player_3.0.21.lks", "3.0.21"},
        {"GoogleChromePortable_x64_130.0.6723.70.paf.exe", "130.0.6723.70"},
        {"Notepad++Portable_8.6.9_Setup.PAF.EXE", "8.6.9"},
        {"7-ZipPortable_24.08.paf.exe", "24.08"},
        {"Firefox_133.0_arm64-v8a.apk", "133.0"},
        {"VLC_3.5.4.apk", "3.5.4"},
        {"Speccy_1.16.lks", "1.16"},
        {"Ultimate_Boot_CD_5.3.9_beta.lks", "5.3.9"},
        {"FirefoxPortable.paf.exe", nullptr},
        {"Open_Office_x64.lks", nullptr},
        {"WhatsApp_v2.24.apk", nullptr},
        {"Speccy_1.16.zip", nullptr},
        {"Speccy_1.16", nullptr},
        {"_.apk", nullptr},
        // A number without a dot followed by more of the name is part of the
        // app's name; an edition word after it keeps it a version.
        {"Windows_7_Theme.lks", nullptr},
        {"Office_2010_Viewer.paf.exe", nullptr},
        {"Office_2010_Viewer_1.0.lks", "1.0"},
        {"Java_Portable_6_Update_29.lks", "29"},
        {"jPortable64_8_Update_401_online.paf.exe", "401"},
        {"Tool_5_6.lks", "6"},
        {"Tool_5_x64.paf.exe", "5"},
        {"Tool_5_English.paf.exe", "5"},
        {"Tool_5_Beta2.lks", "5"},
        {"Tool_5_X86-64.lks", "5"},
        {"Tool_5_Professional.lks", nullptr},
        {"Tool_5_xx64.lks", nullptr},
        {"Tool_1.2_Theme.lks", "1.2"},
        {"Tool_7.lks", "7"},
        {"Tool_7_.lks", "7"},
        {"Tool_7x_Theme.lks", "7"},
    };
    for (const Named& named : names) {
        PackageVersion found;
        bool has = PackageVersionOf(named.name, &found);
        EXPECT_EQ(has, named.version != nullptr) << named.name;
        if (has && named.version) {
            EXPECT_EQ(found.version, named.version) << named.name;
        }
    }
}

TEST(PackageVersion, OneAppOnlyWithEqualAppEditionAndKindLetterCaseAside)
{
    auto app = [](const char* name) {
        PackageVersion found;
        EXPECT_TRUE(PackageVersionOf(name, &found)) << name;
        return found.app;
    };
    EXPECT_EQ(app("FirefoxPortable_132.0.paf.exe"), app("firefoxportable_133.0.PAF.EXE"));
    EXPECT_EQ(app("Foo_1.0_x64.lks"), app("FOO_2.0_X64.lks"));
    EXPECT_NE(app("Foo_1.0_x64.lks"), app("Foo_2.0.lks"));
    EXPECT_NE(app("Foo_1.0.lks"), app("Foo_1.0.apk"));
    EXPECT_NE(app("Foo_1.0.lks"), app("Foo2_1.0.lks"));
    // App and edition cannot run into each other (an edition word keeps the
    // number a version: "A_1_B" is an app without one).
    EXPECT_NE(app("A_1_Beta.lks"), app("A__1Beta.lks"));
    EXPECT_NE(app("A_1_x64.lks"), app("A__1x64.lks"));
}

// A number that names the app tells two apps apart; one of a version does not.
TEST(PackageVersion, ANumberInTheAppsNameIsNoVersion)
{
    auto app = [](const char* name) {
        PackageVersion found;
        EXPECT_TRUE(PackageVersionOf(name, &found)) << name;
        return found.app;
    };
    EXPECT_NE(app("Windows_7_Theme_1.0.lks"), app("Windows_10_Theme_1.0.lks"));
    EXPECT_NE(app("Office_2010_Viewer_2.lks"), app("Office_2013_Viewer_1.lks"));
    EXPECT_EQ(app("Tool_5_x64.paf.exe"), app("TOOL_6_X64.paf.exe"));
    EXPECT_NE(app("Tool_5_x64.paf.exe"), app("Tool_6_English.paf.exe"));
    EXPECT_EQ(app("Java_Portable_6_Update_29.lks"), app("Java_Portable_6_Update_31.lks"));
    EXPECT_EQ(app("Tool_1.2_Theme.lks"), app("Tool_1.3_Theme.lks"));
    EXPECT_EQ(app("Tool_7.lks"), app("Tool_10.lks"));

    // The app part is where the version starts.
    EXPECT_EQ(PackageAppLength("Office_2010_Viewer_1.0.lks"), 19u);
    EXPECT_EQ(PackageAppLength("Windows_7_Theme.lks"), 0u);
    EXPECT_EQ(PackageAppLength("Tool_5_x64.paf.exe"), 5u);
    // The kind's ending is no word of the name.
    EXPECT_EQ(PackageAppLength("Tool_7.lks"), 5u);
}

TEST(PackageVersion, SegmentsCompareAsNumbers)
{
    EXPECT_GT(PackageVersionCompare("2.100", "2.90"), 0);
    EXPECT_LT(PackageVersionCompare("3.0.20", "3.0.21"), 0);
    EXPECT_EQ(PackageVersionCompare("3.0", "3.0.0"), 0);
    EXPECT_EQ(PackageVersionCompare("1.02", "1.2"), 0);
    EXPECT_GT(PackageVersionCompare("133.0", "132.0.1"), 0);
    EXPECT_GT(PackageVersionCompare("3.0.0.1", "3"), 0);
    EXPECT_GT(PackageVersionCompare("20241231235959000001", "20241231235959000000"), 0);
}

TEST(PackageVersionCodePage932, TrailByteOfUnderscoreStartsNoVersion)
{
    REQUIRE_CODE_PAGE_932();
    // "\x83\x5F" is one character whose second byte is that of "_".
    PackageVersion found;
    EXPECT_FALSE(PackageVersionOf("Tool\x83\x5F" "2.lks", &found));
    ASSERT_TRUE(PackageVersionOf("Tool\x83\x5F" "_2.lks", &found));
    EXPECT_EQ(found.version, "2");
}
