#include <gtest/gtest.h>

#include "plan/name_match.h"

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

// Fragments of every length, taken from names of letters of both cases,
// digits, blanks and bytes beyond ASCII: the entries found for each name are
// those the rule finds one by one.
TEST(MatchingEntries, FindWhatTheRuleFindsOneByOne)
{
    const std::string letters = "aAbB_1. \xC4\xE4zZ";
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    auto text = [&](size_t length) {
        std::string made;
        for (size_t i = 0; i < length; ++i)
            made += letters[next() % letters.size()];
        return made;
    };
    IndexList entries;
    for (int i = 0; i < 300; ++i)
        entries.push_back({"_Cat", text(next() % 4)});
    std::vector<NameKey> keys = EntryNameKeys(entries);
    for (int round = 0; round < 300; ++round) {
        std::string name = text(next() % 12);
        std::vector<size_t> expected;
        for (size_t entry = 0; entry < entries.size(); ++entry) {
            if (NameMatches(name, entries[entry].name))
                expected.push_back(entry);
        }
        EXPECT_EQ(MatchingEntries(keys, name), expected) << name;
    }
}
