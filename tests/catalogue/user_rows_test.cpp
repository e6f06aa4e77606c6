#include <gtest/gtest.h>
#include <windows.h>

#include "catalogue/catalogue.h"
#include "catalogue/row_from_window.h"
#include "catalogue/user_rows.h"
#include "plan/name_match.h"
#include "support/code_page_932.h"
#include "support/temp_folder.h"

namespace {

const std::string Path = "C:\\Q\\Quillet.Catalogue.Ini";
const std::string Target = "C:\\Sorted\\";

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
    EXPECT_EQ(Texts(UserRowsFromText(text, "PortableApps", Path, Target)), expected);
}

TEST(UserRows, RowsPastTheLimitAreCutShort)
{
    std::string text = "[Android]\n";
    for (size_t i = 0; i <= UserRowsLimit; ++i)
        text += "App " + std::to_string(i) + " = Tools\n";
    UserRows user = UserRowsFromText(text, "Android", Path, Target);
    ASSERT_EQ(user.rows.size(), UserRowsLimit);
    EXPECT_EQ(user.rows.back().name, "App 9999");
    ASSERT_EQ(user.lines.size(), 2u);
    EXPECT_EQ(user.lines[0].detail, "10000 rows for Android from " + Path);
    EXPECT_EQ(ActivityLineText(user.lines[1].key, user.lines[1].detail).explanation,
              std::string(ActivityMarker) + "  only the first 10000 rows of " + Path);
}

TEST(UserRows, DevicesAndFoldersTooLongForTheTargetAreRefused)
{
    std::string fits(248 - Target.size() - 1, 'x');
    std::string text = "[Android]\nA = CON\nB = _Tools\\aux\nC = con.txt\nD = Com1\nE = lpt9.x.y\n"  // lines 2-6
                       "F = CONIN$\nG = nul.\x82\nH = _Console\\Conv\nI = COM10\n"                    // 7-10
                       "J = " + fits + "\nK = " + fits + "y\nL = \\" + fits + "\\\n"                   // 11-13
                       "M = COM0\nN = _x\\lpt0.y\nO = COM\xB9\nP = Lpt\xB2\nQ = com\xB3.z\nR = COM\xB4\n";  // 14-19
    std::vector<std::string> expected = {"_Console\\Conv|H", "COM10|I", fits + "|J", fits + "|L", "COM\xB4|R",
                                         "User rows loaded: 5 rows for Android from " + Path};
    for (int line : {2, 3, 4, 5, 6, 7, 8, 12, 14, 15, 16, 17, 18})
        expected.push_back("User row refused: " + std::to_string(line)
                           + (line == 12 ? ": category too long for the target folder" : ": category names a device"));
    EXPECT_EQ(Texts(UserRowsFromText(text, "Android", Path, Target)), expected);
}

TEST(UserRows, RefusalsPastTheFirstHundredAndPastTheLimitAreCountedBeforeTheCut)
{
    std::string text = "[Android]\n";
    for (size_t i = 0; i < 150; ++i)
        text += "Bad " + std::to_string(i) + "\n";
    for (size_t i = 0; i <= UserRowsLimit; ++i)
        text += "App " + std::to_string(i) + " = Tools\n";
    text += "Late = ..\n";
    UserRows user = UserRowsFromText(text, "Android", Path, Target);
    EXPECT_EQ(user.rows.size(), UserRowsLimit);
    ASSERT_EQ(user.lines.size(), 1 + UserRowsRefusalsNamed + 2);
    EXPECT_EQ(Texts(user).back(), "User rows cut short: " + Path);
    EXPECT_EQ(user.lines[100].detail, "101: no \"=\" in the line");
    ActivityText more = ActivityLineText(user.lines[101].key, user.lines[101].detail);
    EXPECT_EQ(more.title, "User rows refused");
    EXPECT_EQ(more.explanation, std::string(ActivityMarker) + "  51 more lines refused in " + Path);
}

TEST(UserRows, Utf8WithOrWithoutTheMarkIsTakenInTheAnsiCodePage)
{
    ASSERT_EQ(GetACP(), 1252u);
    std::string rows = "[LiberKey]\r\nB\xC3\xBCro_ = _B\xC3\xBCro\r\n\xC5\x92uvre_ = _Art\r\n"
                       "Lukas_ = _Users\\\xC5\x81ukasz\r\n\xE2\x82\xAC" "uro_ = _Money\r\n";
    std::vector<std::string> expected = {"_B\xFCro|B\xFCro_", "_Art|\x8Cuvre_", "_Money|\x80uro_",
                                         "User rows loaded: 3 rows for LiberKey from " + Path,
                                         "User row refused: 4: category holds characters outside the code page"};
    EXPECT_EQ(Texts(UserRowsFromText(rows, "LiberKey", Path, Target)), expected);
    EXPECT_EQ(Texts(UserRowsFromText("\xEF\xBB\xBF" + rows, "LiberKey", Path, Target)), expected);
    // Not UTF-8 as a whole: every byte is a character of the code page.
    EXPECT_EQ(Texts(UserRowsFromText(rows + "\xFC = x\r\n", "LiberKey", Path, Target))[0], "_B\xC3\xBCro|B\xC3\xBCro_");
}

// "_\x8B\x40\x94\x5C" and "_\x95\x5C" end in the byte of "\" under code page 932.
TEST(UserRowsCodePage932, CategoriesAreSteppedThroughByCharacter)
{
    REQUIRE_CODE_PAGE_932();
    std::string text = "[LiberKey]\r\nPkg_ = _\x8B\x40\x94\x5C\r\nTable_ = \\_\x95\x5C\\Sub\\\r\nNul_ = nul.\x82\r\n";
    std::vector<std::string> expected = {"_\x8B\x40\x94\x5C|Pkg_", "_\x95\x5C\\Sub|Table_",
                                         "User rows loaded: 2 rows for LiberKey from " + Path,
                                         "User row refused: 4: category names a device"};
    EXPECT_EQ(Texts(UserRowsFromText(text, "LiberKey", Path, Target)), expected);
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
    UserRows user = UserRowsFromText(text, "LiberKey", Path, Target, &list);
    EXPECT_EQ(user.lines[0].detail, "2 rows for LiberKey from " + Path + ", 1 compiled-in row switched off");
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
    // A number that names the app stays in the fragment; one of a version does not.
    EXPECT_EQ(RowFragmentFromFileName("Windows_7_Theme.lks"), "Windows_7_Theme");
    EXPECT_EQ(RowFragmentFromFileName("Office_2010_Viewer_1.0.paf.exe"), "Office_2010_Viewer_");
    EXPECT_EQ(RowFragmentFromFileName("Java_Portable_6_Update_29.lks"), "Java_Portable_6_Update_");
    EXPECT_EQ(RowFragmentFromFileName("Tool_5_x64.paf.exe"), "Tool_");
    EXPECT_EQ(RowFragmentFromFileName("Tool_1.2_Theme.lks"), "Tool_");
    EXPECT_EQ(RowFragmentFromFileName("Tool_7.lks"), "Tool_");
}

// The file is made with a comment at its head; later rows are appended after
// the bytes there, in the file's encoding, the group line only when the last
// group is another; refused rows write nothing.
TEST(RowFromWindow, RowsAreAppendedAfterTheBytesThere)
{
    TempFolder temp;
    std::string path = temp / "Quillet.Catalogue.Ini";
    EXPECT_EQ(RowAddToFile(path, "Android", Target, "Caf\xE9 ", " Food\\ "), "");
    std::string made = ReadFileBytes(path);
    EXPECT_EQ(made.substr(made.find("\r\n")), "\r\n[Android]\r\nCaf\xE9 = Food\r\n");
    EXPECT_EQ(made.front(), ';');

    WriteFileBytes(path, "\xEF\xBB\xBF[PortableApps]\r\nA_ = _B\r\n[notes]\r\n[portableapps]");
    EXPECT_EQ(RowAddToFile(path, "PortableApps", Target, "^Caf\xE9_", "_\xC9"), "");
    EXPECT_EQ(RowAddToFile(path, "PortableApps", Target, "=x", "_A"), "a fragment cannot hold \"=\"");
    EXPECT_EQ(RowAddToFile(path, "PortableApps", Target, "[x", "_A"), "a fragment cannot begin with \";\" or \"[\"");
    EXPECT_EQ(RowAddToFile(path, "PortableApps", Target, " x", "_A"), "a fragment cannot begin with a blank");
    EXPECT_EQ(RowAddToFile(path, "PortableApps", Target, "x", "C:\\A"), "category leaves the target folder");
    EXPECT_EQ(ReadFileBytes(path), "\xEF\xBB\xBF[PortableApps]\r\nA_ = _B\r\n[notes]\r\n[portableapps]"
                                   "\r\n^Caf\xC3\xA9_ = _\xC3\x89\r\n");
}
