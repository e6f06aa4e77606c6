#include <gtest/gtest.h>
#include <windows.h>

#include "util/ansi_text.h"

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

TEST(AnsiTextFromWide, CharactersOutsideTheCodePageBecomeQuestionMarksNotLookAlikes)
{
    ASSERT_EQ(GetACP(), 1252u);
    bool exact = false;
    EXPECT_EQ(AnsiTextFromWide(L"Caf\u00E9_1.0.lks", &exact), "Caf\xE9_1.0.lks");
    EXPECT_TRUE(exact);
    // The system's default would write the O with a macron as a plain O.
    EXPECT_EQ(AnsiTextFromWide(L"\u014Ckami_1.0.lks", &exact), "?kami_1.0.lks");
    EXPECT_FALSE(exact);
    EXPECT_EQ(AnsiTextFromWide(L"\u041F\u0430\u043F\u043A\u0430", &exact), "?????");
    EXPECT_FALSE(exact);
    EXPECT_EQ(AnsiTextFromWide(L"", &exact), "");
    EXPECT_TRUE(exact);
}
