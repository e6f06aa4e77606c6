#include <gtest/gtest.h>
#include <windows.h>

#include "support/code_page_932.h"
#include "util/ansi_text.h"

TEST(LowerAnsiText, LowersBytesBeyondAsciiByTheCodePage)
{
    EXPECT_EQ(LowerAnsiText("FirefoxPortable_10.PAF.EXE"), "firefoxportable_10.paf.exe");
    EXPECT_EQ(LowerAnsiText("\xC4PFEL_\xD6L.LKS"), "\xE4pfel_\xF6l.lks");
    EXPECT_EQ(LowerAnsiText(""), "");
    std::string withNul("A\0B", 3);
    EXPECT_EQ(LowerAnsiText(withNul), std::string("a\0b", 3));
}

// Every byte of the code page, in one text, lowered as the system lowers it.
TEST(LowerAnsiText, LowersEveryByteAsTheSystemDoes)
{
    std::string every;
    for (int byte = 255; byte >= 1; --byte)
        every += static_cast<char>(byte);
    std::string system = every;
    CharLowerBuffA(&system[0], static_cast<DWORD>(system.size()));
    EXPECT_EQ(LowerAnsiText(every), system);
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
    const wchar_t loneSurrogate[] = {L'a', 0xD800, L'b', 0};
    AnsiTextFromWide(loneSurrogate, &exact);
    EXPECT_FALSE(exact);
}

// Under code page 932 "_\x8B\x40\x94\x5C" is "_" and two characters, the
// second of which ends in the byte of "\".
TEST(AnsiPathCodePage932, TrailByteOfBackslashIsNoSeparator)
{
    REQUIRE_CODE_PAGE_932();
    const std::string folder = "T\\_\x8B\x40\x94\x5C";
    EXPECT_EQ(WithTrailingBackslash(folder), folder + "\\");
    EXPECT_EQ(WithTrailingBackslash(folder + "\\"), folder + "\\");
    EXPECT_EQ(WithoutTrailingBackslash(folder), folder);
    EXPECT_EQ(WithoutTrailingBackslash(folder + "\\"), folder);
    EXPECT_EQ(AnsiFindLastBackslash(folder + "\\", folder.size()), 1u);
    EXPECT_EQ(AnsiFindLastBackslash(folder + "\\"), folder.size());
    EXPECT_EQ(AnsiFindBackslash(folder, 2), std::string::npos);
    // A lead byte with nothing after it is a character of its own.
    EXPECT_EQ(AnsiNextCharacter("a\x82", 1), 2u);
    EXPECT_EQ(AnsiWideLength(folder), 5u);
}
