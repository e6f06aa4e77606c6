#include <gtest/gtest.h>

#include "settings/settings_document.h"

namespace {

SettingsLine Group(const std::string& name)
{
    return {SettingsLineKind::Group, name, std::string()};
}

SettingsLine Comment(const std::string& text)
{
    return {SettingsLineKind::Comment, text, std::string()};
}

SettingsLine Key(const std::string& key, const std::string& value)
{
    return {SettingsLineKind::Key, key, value};
}

// Parses, applies the change and gives back the text to write.
template <typename Change>
std::string Rewritten(const std::string& text, Change change)
{
    SettingsDocument document = DocumentParse(text);
    change(document);
    return DocumentText(document);
}

}  // namespace

TEST(DocumentParse, TakesEveryKindOfLineApartAndDropsBlankOnes)
{
    SettingsDocument document = DocumentParse(
        "\r\n  \t \n"
        ";no blank\r"
        ";   three blanks  \n"
        "  \t; indented\r\n"
        "[Group] tail text\n"
        "[No close\r\n"
        "[ Padded ]\r\n"
        "  key  \t=  \t value ; not a comment = still value  \r\n"
        "bare key  \n"
        "=only value\n"
        "\n\r\n\r");
    std::vector<SettingsLine> expected = {
        Comment("no blank"),
        Comment("  three blanks  "),
        Comment("indented"),
        Group("Group"),
        Group("No close"),
        Group(" Padded "),
        Key("key", "value ; not a comment = still value  "),
        Key("bare key", ""),
        Key("", "only value"),
    };
    EXPECT_EQ(document.lines, expected);
    EXPECT_FALSE(document.utf8);
}

TEST(DocumentParse, AnyMixOfCrAndLfEndsLines)
{
    std::vector<SettingsLine> expected = {Key("a", "1"), Key("b", "2"), Key("c", "3")};
    for (const char* text : {"a=1\r\nb=2\r\nc=3", "a=1\nb=2\nc=3\n", "a=1\rb=2\rc=3\r", "a=1\n\rb=2\r\r\nc=3"})
        EXPECT_EQ(DocumentParse(text).lines, expected) << text;
}

TEST(DocumentParse, ByteOrderMarkMakesAUtf8Document)
{
    SettingsDocument document = DocumentParse("\xEF\xBB\xBF\r\n[G]\r\n");
    EXPECT_TRUE(document.utf8);
    EXPECT_EQ(document.lines, std::vector<SettingsLine>{Group("G")});

    EXPECT_TRUE(DocumentParse("\xEF\xBB\xBF").utf8);
    EXPECT_TRUE(DocumentParse("\xEF\xBB\xBF").lines.empty());
    // Two bytes of it are just a key.
    SettingsDocument cut = DocumentParse("\xEF\xBB");
    EXPECT_FALSE(cut.utf8);
    EXPECT_EQ(cut.lines, std::vector<SettingsLine>{Key("\xEF\xBB", "")});
}

TEST(DocumentText, WritesEachLineInTheProgramsLayoutWithCrLf)
{
    std::string text = Rewritten(
        ";comment\n"
        ";   three\n"
        "   ;  indented\n"
        "[Group] tail\n"
        "[Open\n"
        "  key\t=\tvalue  \n"
        "\n"
        "lonely\n",
        [](SettingsDocument&) {});
    EXPECT_EQ(text,
              "; comment\r\n"
              ";   three\r\n"
              ";  indented\r\n"
              "[Group]\r\n"
              "[Open]\r\n"
              "key = value  \r\n"
              "lonely = \r\n");
}

TEST(DocumentText, Utf8DocumentStartsWithTheMarkAndAnEmptyLine)
{
    EXPECT_EQ(Rewritten("\xEF\xBB\xBF[G]", [](SettingsDocument&) {}), "\xEF\xBB\xBF\r\n[G]\r\n");
    EXPECT_EQ(Rewritten("", [](SettingsDocument&) {}), "");
}

TEST(DocumentSelectGroup, IgnoresTheCaseOfAToZOnly)
{
    SettingsDocument document = DocumentParse("[Program Options]\n[\xC9t\xE9]\n");
    EXPECT_TRUE(DocumentSelectGroup(document, "pROGRAM oPTIONS"));
    EXPECT_EQ(document.currentGroup, 0);
    EXPECT_TRUE(DocumentSelectGroup(document, "\xC9T\xE9"));
    EXPECT_EQ(document.currentGroup, 1);
    // É and é are different bytes and stay different.
    EXPECT_FALSE(DocumentSelectGroup(document, "\xE9t\xE9"));
    EXPECT_EQ(document.pendingGroup, "\xE9t\xE9");
    EXPECT_EQ(document.currentGroup, 1);
}

TEST(DocumentSelectGroup, NamesAreNotTrimmed)
{
    SettingsDocument document = DocumentParse("[ Spaced ]\nk=v\n");
    EXPECT_FALSE(DocumentSelectGroup(document, "Spaced"));
    EXPECT_EQ(DocumentReadKey(document, "k", "none"), "none");
    EXPECT_TRUE(DocumentSelectGroup(document, " Spaced "));
    EXPECT_EQ(DocumentReadKey(document, "k", "none"), "v");
}

TEST(DocumentReadKey, FindsTheKeyInTheCurrentGroupOnly)
{
    SettingsDocument document = DocumentParse(
        "top = before any group\n"
        "[A]\n"
        "; Key = in a comment\n"
        "Key =   \t padded \t  \n"
        "key = second of the same name\n"
        "[B]\n"
        "Other = b\n"
        "[A]\n"
        "Key = in the second A\n");
    EXPECT_EQ(DocumentReadKey(document, "top", ""), "before any group");
    EXPECT_EQ(DocumentReadKey(document, "Key", "none"), "none");

    ASSERT_TRUE(DocumentSelectGroup(document, "a"));
    EXPECT_EQ(DocumentReadKey(document, "KEY", ""), "padded");
    EXPECT_EQ(DocumentReadKey(document, "Other", "none"), "none");
    EXPECT_EQ(DocumentReadKey(document, "top", "none"), "none");

    // A missing group hides every key, even those of the group before it.
    EXPECT_FALSE(DocumentSelectGroup(document, "Missing"));
    EXPECT_EQ(DocumentReadKey(document, "Key", "none"), "none");
    EXPECT_FALSE(document.changed);
}

TEST(DocumentWriteKey, ExistingKeyKeepsItsPlaceAndTakesTheCallersLetters)
{
    std::string text = Rewritten(
        "[program options]\n"
        "last index=Old\n"
        "  Other  =  kept with its blanks  \n"
        "[Program Options]\n"
        "Last Index = second group untouched\n",
        [](SettingsDocument& document) {
            ASSERT_TRUE(DocumentSelectGroup(document, "Program Options"));
            DocumentWriteKey(document, "Last Index", "LiberKey");
        });
    EXPECT_EQ(text,
              "[program options]\r\n"
              "Last Index = LiberKey\r\n"
              "Other = kept with its blanks  \r\n"
              "[Program Options]\r\n"
              "Last Index = second group untouched\r\n");
}

TEST(DocumentWriteKey, NewKeyGoesBelowTheGroupsClosingCommentsAndBeforeTheNextHeader)
{
    std::string text = Rewritten("[A]\na = 1\n; closing A\n[B]\nb = 2\n", [](SettingsDocument& document) {
        ASSERT_TRUE(DocumentSelectGroup(document, "A"));
        DocumentWriteKey(document, "new", "x");
    });
    EXPECT_EQ(text, "[A]\r\na = 1\r\n; closing A\r\nnew = x\r\n[B]\r\nb = 2\r\n");
}

TEST(DocumentWriteKey, MissingGroupIsAppendedWithItsKey)
{
    std::string text = Rewritten("[Program Options]\r\nLast Index = Android\r\n", [](SettingsDocument& document) {
        EXPECT_FALSE(DocumentSelectGroup(document, "File Sort Paths"));
        DocumentWriteKey(document, "Android Source Path", "C:\\In\\");
        DocumentWriteKey(document, "Android Target Path", "C:\\Out\\");
    });
    EXPECT_EQ(text,
              "[Program Options]\r\nLast Index = Android\r\n"
              "[File Sort Paths]\r\nAndroid Source Path = C:\\In\\\r\nAndroid Target Path = C:\\Out\\\r\n");
}

TEST(DocumentWriteKey, WithoutAGroupWritesAboveTheFirstHeader)
{
    std::string text = Rewritten("; top\n[A]\n", [](SettingsDocument& document) {
        DocumentWriteKey(document, "loose", "1");
    });
    EXPECT_EQ(text, "; top\r\nloose = 1\r\n[A]\r\n");
}

TEST(DocumentWriteKey, SameValueStillMarksTheDocumentChanged)
{
    SettingsDocument document = DocumentParse("[A]\nk = v\n");
    DocumentSelectGroup(document, "A");
    EXPECT_FALSE(document.changed);
    DocumentWriteKey(document, "k", "v");
    EXPECT_TRUE(document.changed);
}

TEST(DocumentAddComment, GoesAfterTheLastLineSelectedOrChanged)
{
    std::string text = Rewritten("[A]\na = 1\nb = 2\n[B]\n", [](SettingsDocument& document) {
        DocumentAddComment(document, "at the top");
        DocumentSelectGroup(document, "A");
        DocumentAddComment(document, "under A");
        DocumentWriteKey(document, "b", "3");
        DocumentAddComment(document, "under b");
        DocumentAddComment(document, "and below that");
        DocumentSelectGroup(document, "New");
        DocumentAddComment(document, "opens New");
    });
    EXPECT_EQ(text,
              "; at the top\r\n[A]\r\n; under A\r\na = 1\r\nb = 3\r\n; under b\r\n; and below that\r\n[B]\r\n"
              "[New]\r\n; opens New\r\n");
}

TEST(DocumentUtf8, CallersTextsAreConvertedBothWays)
{
    SettingsDocument document = DocumentParse(
        "\xEF\xBB\xBF"
        "[Gr\xC3\xBC\xC3\x9F""e]\r\n"
        "Schl\xC3\xBC""ssel = Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xC3\r\n");
    ASSERT_TRUE(DocumentSelectGroup(document, "GR\xFC\xDF""E"));
    // Beyond U+00FF and malformed sequences read as "?".
    EXPECT_EQ(DocumentReadKey(document, "schl\xFCssel", ""), "Caf\xE9 ? ? ?");

    DocumentWriteKey(document, "Pfad", "C:\\M\xFCnchen\\");
    EXPECT_EQ(DocumentReadKey(document, "Pfad", ""), "C:\\M\xFCnchen\\");
    EXPECT_EQ(DocumentText(document),
              "\xEF\xBB\xBF\r\n"
              "[Gr\xC3\xBC\xC3\x9F""e]\r\n"
              "Schl\xC3\xBC""ssel = Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xC3\r\n"
              "Pfad = C:\\M\xC3\xBC""nchen\\\r\n");
}

TEST(DocumentUtf8, AnsiDocumentKeepsBytesAsTheyAre)
{
    SettingsDocument document = DocumentParse("[G]\r\nPfad = C:\\M\xFCnchen\\\r\n");
    DocumentSelectGroup(document, "G");
    EXPECT_EQ(DocumentReadKey(document, "Pfad", ""), "C:\\M\xFCnchen\\");
    DocumentWriteKey(document, "Neu", "\xE9");
    EXPECT_EQ(DocumentText(document), "[G]\r\nPfad = C:\\M\xFCnchen\\\r\nNeu = \xE9\r\n");
}

TEST(Utf8ToLatin1, UndoesLatin1ToUtf8ForEveryByte)
{
    std::string every;
    for (int byte = 0; byte < 256; ++byte)
        every += static_cast<char>(byte);
    std::string utf8 = Latin1ToUtf8(every);
    EXPECT_EQ(utf8.size(), 128u + 2 * 128u);
    EXPECT_EQ(Utf8ToLatin1(utf8), every);
}

TEST(Utf8ToLatin1, MalformedSequencesBecomeQuestionMarks)
{
    EXPECT_EQ(Utf8ToLatin1("\x80"), "?");                 // stray continuation byte
    EXPECT_EQ(Utf8ToLatin1("\xC0\xAF"), "??");            // overlong lead, then a stray byte
    EXPECT_EQ(Utf8ToLatin1("a\xC3"), "a?");               // cut off at the end
    EXPECT_EQ(Utf8ToLatin1("\xE2\x82z"), "?z");           // cut off in the middle
    EXPECT_EQ(Utf8ToLatin1("\xC4\x80"), "?");             // U+0100
    EXPECT_EQ(Utf8ToLatin1("\xFF\xFE"), "??");
    EXPECT_EQ(Utf8ToLatin1(std::string("\0\xC3\xBF", 3)), std::string("\0\xFF", 2));
}
