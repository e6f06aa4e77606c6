#include <gtest/gtest.h>

#include "app/ansi_text.h"

TEST(LowerAnsiText, LowersBytesBeyondAsciiByTheCodePage)
{
    EXPECT_EQ(LowerAnsiText("FirefoxPortable_10.PAF.EXE"), "firefoxportable_10.paf.exe");
    EXPECT_EQ(LowerAnsiText("\xC4PFEL_\xD6L.LKS"), "\xE4pfel_\xF6l.lks");
    EXPECT_EQ(LowerAnsiText(""), "");
    std::string withNul("A\0B", 3);
    EXPECT_EQ(LowerAnsiText(withNul), std::string("a\0b", 3));
}

TEST(AnsiEqualsIgnoringCase, ComparesWholeTextsLetterCaseAside)
{
    EXPECT_TRUE(AnsiEqualsIgnoringCase("LiberKey", "liberkey"));
    EXPECT_TRUE(AnsiEqualsIgnoringCase("\xC4", "\xE4"));
    EXPECT_FALSE(AnsiEqualsIgnoringCase("Liber-Key", "LiberKey"));
    EXPECT_FALSE(AnsiEqualsIgnoringCase("Portable", "PortableApps"));
}

TEST(WithTrailingBackslash, AddsOneOnlyWhenMissing)
{
    EXPECT_EQ(WithTrailingBackslash("C:\\Work"), "C:\\Work\\");
    EXPECT_EQ(WithTrailingBackslash("D:\\"), "D:\\");
    EXPECT_EQ(WithTrailingBackslash(""), "\\");
}
