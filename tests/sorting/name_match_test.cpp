#include <gtest/gtest.h>

#include "sorting/name_match.h"

TEST(NameMatches, NameAnywhereInTheFileName)
{
    EXPECT_TRUE(NameMatches("VLC_media_player_1.1.11.lks", "Dia_"));
    EXPECT_TRUE(NameMatches("VLC_media_player_1.1.11.lks", "VLC_media_player_"));
    EXPECT_TRUE(NameMatches("Format_Factory_2.7.lks", "Format_"));
    EXPECT_FALSE(NameMatches("XMedia_Recode_3.lks", "Format_"));
}

TEST(NameMatches, LetterCaseIgnored)
{
    EXPECT_TRUE(NameMatches("on-screenkeyboardportable_2.0.paf.exe", "On-ScreenKeyboardPortable_"));
    EXPECT_TRUE(NameMatches("FIREFOX_12.LKS", "Firefox_"));
    // Letters beyond A to Z follow the system's ANSI rules too.
    EXPECT_TRUE(NameMatches("\xC4pfel_1.apk", "\xE4pfel_"));
}

TEST(NameMatches, TrailingUnderscoreMustFollowTheFragment)
{
    EXPECT_FALSE(NameMatches("CubePortableLegacy_1.0.paf.exe", "CubePortable_"));
    EXPECT_FALSE(NameMatches("FirefoxPortableTest_12.paf.exe", "FirefoxPortable_"));
    EXPECT_TRUE(NameMatches("FirefoxPortableTest_12.paf.exe", "FirefoxPortableTest_"));
}

TEST(NameMatches, EmptyNameMatchesNothing)
{
    EXPECT_FALSE(NameMatches("Anything.lks", ""));
    EXPECT_FALSE(NameMatches("", ""));
}

TEST(MatchingEntries, EveryMatchingEntryInListOrder)
{
    IndexList entries = {{"_Office\\_Diagram_Editor", "Dia_"},
                         {"_Games", "AssaultCubePortable_"},
                         {"_Empty", ""},
                         {"_Games", "CubePortable_"},
                         {"_Video\\_Player", "VLC_media_player_"}};
    std::vector<NameKey> keys = EntryNameKeys(entries);
    EXPECT_EQ(MatchingEntries(keys, "VLC_media_player_1.1.11.lks"), (std::vector<size_t>{0, 4}));
    EXPECT_EQ(MatchingEntries(keys, "AssaultCubePortable_1.1.paf.exe"), (std::vector<size_t>{1, 3}));
    EXPECT_TRUE(MatchingEntries(keys, "Unknown_1.lks").empty());
}
