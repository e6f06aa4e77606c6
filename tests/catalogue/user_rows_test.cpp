#include <gtest/gtest.h>

#include "catalogue/catalogue.h"
#include "catalogue/row_from_window.h"
#include "catalogue/user_rows.h"
#include "sorting/name_match.h"
#include "support/temp_folder.h"

namespace {

const std::string Path = "C:\\Q\\Quillet.Catalogue.Ini";

std::vector<std::string> Texts(const UserRows& user)
{
    std::vector<std::string> texts;
    for (const IndexEntry& row : user.rows)
        texts.push_back(row.category + "|" + row.name);
    for (const UserRowsLine& line : user.lines)
        texts.push_back(ActivityLineText(line.key, line.detail).title + ": " + line.detail);
    return texts;
}

}  // namespace

TEST(UserRows, GroupsOfTheIndexGiveRowsAndEveryBadLineIsNamedByItsEditorLine)
{
    std::string text = "; mine\r\n[portableapps]\n\r\nGood_ = \\_Internet\\ \t\r"      // lines 1-4
                       "no equals\n= _Empty\nEmpty_ = \\\nUp_ = _A\\..\\B\n"        // 5-8
                       "[Notes]\nnot a row at all\n[PortableApps]\r\n"               // 9-11
                       "Net_ = \\\\server\\x\nDrive_ = C:\\x\nStar_ = a*b\n"         // 12-14
                       "Gap_ = a\\\\b\nDot_ = a.\\b\nSame_ = _One\nSame_ = _Two\n"   // 15-18
                       "[LiberKey]\nOther_ = ..\n";
    std::vector<std::string> expected = {
        "_Internet|Good_", "_One|Same_", "_Two|Same_",
        "User rows loaded: 3 rows for PortableApps from " + Path,
        "User row refused: 5: no \"=\" in the line",
        "User row refused: 6: empty name fragment",
        "User row refused: 7: empty category",
        "User row refused: 8: category leaves the target folder",
        "User row refused: 12: category leaves the target folder",
        "User row refused: 13: category leaves the target folder",
        "User row refused: 14: category holds a character file names cannot hold",
        "User row refused: 15: category has an empty folder name",
        "User row refused: 16: folder name ends with a blank or a dot",
    };
    EXPECT_EQ(Texts(UserRowsFromDocument(DocumentParse(text), "PortableApps", Path)), expected);
}

TEST(UserRows, RowsPastTheLimitAreCutShort)
{
    std::string text = "[Android]\n";
    for (size_t i = 0; i <= UserRowsLimit; ++i)
        text += "App " + std::to_string(i) + " = Tools\n";
    UserRows user = UserRowsFromDocument(DocumentParse(text), "Android", Path);
    ASSERT_EQ(user.rows.size(), UserRowsLimit);
    EXPECT_EQ(user.rows.back().name, "App 9999");
    ASSERT_EQ(user.lines.size(), 2u);
    EXPECT_EQ(user.lines[0].detail, "10000 rows for Android from " + Path);
    EXPECT_EQ(ActivityLineText(user.lines[1].key, user.lines[1].detail).explanation,
              std::string(ActivityMarker) + "  only the first 10000 rows of " + Path);
}

// "Dia_" of the compiled-in LiberKey rows lies inside three other packages'
// names; switched off and given again with "^", it takes only its own.
TEST(UserRows, DashRowsSwitchRowsOffAndCaretAnchorsTheFragment)
{
    IndexList list;
    for (const char* row = CatalogueFirstRow("LiberKey"); !CatalogueRowIsEnd(row); row = CatalogueNextRow(row))
        list.push_back(SplitCatalogueRow(row));
    std::string text = "[LiberKey]\nMine_ = _A\nmine_ = -\nMine_ = _B\nMine_ = -\nMine_ = _C\n"
                       "dia_ = -\n^Dia_ = _Office\\_Diagram_Editor\n^Dia_ = -\n^Dia_ = _Office\\_Diagram_Editor\n";
    UserRows user = UserRowsFromDocument(DocumentParse(text), "LiberKey", Path, &list);
    EXPECT_EQ(user.lines[0].detail, "2 rows for LiberKey from " + Path + ", 1 compiled-in rows switched off");
    EXPECT_EQ(list.size(), 334u);
    list.insert(list.end(), user.rows.begin(), user.rows.end());
    std::vector<NameKey> keys = EntryNameKeys(list);
    auto placed = [&](const std::string& fileName) {
        std::string rows;
        for (size_t entry : MatchingEntries(keys, fileName))
            rows += list[entry].category + "|" + list[entry].name + " ";
        return rows;
    };
    EXPECT_EQ(placed("VLC_media_player_3.0.lks"), "_Video\\_Player|VLC_media_player_ ");
    EXPECT_EQ(placed("Media_Player_Classic_1.6.lks"), "_Video\\_Player|Media_Player_Classic_ ");
    EXPECT_EQ(placed("XMedia_Recode_3.1.lks"), "_Audio\\_Converter|XMedia_Recode_ ");
    EXPECT_EQ(placed("dia_0.97.2.lks"), "_Office\\_Diagram_Editor|^Dia_ ");
    EXPECT_EQ(placed("Mine_1.lks"), "_C|Mine_ ");
}

TEST(RowFromWindow, FragmentOfferedForAPackage)
{
    EXPECT_EQ(RowFragmentFromFileName("BravePortable_1.2.3.paf.exe"), "BravePortable_");
    EXPECT_EQ(RowFragmentFromFileName("Mp3tag_2.5.lks"), "Mp3tag_");
    EXPECT_EQ(RowFragmentFromFileName("Open_Office_x64.LKS"), "Open_Office_x64");
    EXPECT_EQ(RowFragmentFromFileName("Smart Measure.apk"), "Smart Measure");
}

// The file is made with a comment at its head; later rows are appended after
// the bytes there, in the file's encoding, the group line only when the last
// group is another; refused rows write nothing.
TEST(RowFromWindow, RowsAreAppendedAfterTheBytesThere)
{
    TempFolder temp;
    std::string path = temp / "Quillet.Catalogue.Ini";
    EXPECT_EQ(RowAddToFile(path, "Android", "Caf\xE9 ", " Food\\ "), "");
    std::string made = ReadFileBytes(path);
    EXPECT_EQ(made.substr(made.find("\r\n")), "\r\n[Android]\r\nCaf\xE9 = Food\r\n");
    EXPECT_EQ(made.front(), ';');

    WriteFileBytes(path, "\xEF\xBB\xBF[PortableApps]\r\nA_ = _B\r\n[notes]\r\n[portableapps]");
    EXPECT_EQ(RowAddToFile(path, "PortableApps", "^Caf\xE9_", "_\xC9"), "");
    EXPECT_EQ(RowAddToFile(path, "PortableApps", "=x", "_A"), "a fragment cannot hold \"=\"");
    EXPECT_EQ(RowAddToFile(path, "PortableApps", "[x", "_A"), "a fragment cannot begin with \";\" or \"[\"");
    EXPECT_EQ(RowAddToFile(path, "PortableApps", " x", "_A"), "a fragment cannot begin with a blank");
    EXPECT_EQ(RowAddToFile(path, "PortableApps", "x", "C:\\A"), "category leaves the target folder");
    EXPECT_EQ(ReadFileBytes(path), "\xEF\xBB\xBF[PortableApps]\r\nA_ = _B\r\n[notes]\r\n[portableapps]"
                                   "\r\n^Caf\xC3\xA9_ = _\xC3\x89\r\n");
}
