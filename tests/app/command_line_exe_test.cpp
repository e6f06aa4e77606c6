// The real Quillet.exe started as a scheduled task starts it: a sort that
// runs once, told by its exit code and what it leaves on disk.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>

#include "settings/settings_test_support.h"
#include "support/made_up_package.h"
#include "support/quillet_process.h"
#include "support/temp_folder.h"
#include "support/test_data.h"
#include "window/controls.h"

namespace {

class CommandLineExeTest : public ::testing::Test {
protected:
    // The stored last index is PortableApps; the runs below name LiberKey.
    void WriteSettings(const std::string& copyOrMove)
    {
        Settings values;
        values.LastIndex = "PortableApps";
        values.CopyOrMove = copyOrMove;
        values.DumpLeftOvers = "Yes";
        values.LiberkeySourcePath = work / "LK\\";
        values.LiberkeyTargetPath = work / "Sorted\\";
        values.PortableAppsSourcePath = work / "PA\\";
        values.PortableAppsTargetPath = work / "PASorted\\";
        values.AndroidSourcePath = work / "LK\\";
        values.AndroidTargetPath = work / "ASorted\\";
        settings = SettingsFileText(values);
        WriteFileBytes(work / "Quillet.Ini", settings);
    }

    DWORD RunOnce(const std::string& arguments, const std::string& folder, const char* gap = " ")
    {
        QuilletProcess quillet;
        EXPECT_TRUE(quillet.Start(folder, arguments, gap));
        DWORD code = 99;
        EXPECT_TRUE(quillet.WaitForExit(60000, &code));
        return code;
    }

    // The file's identity and last-write time: a file written anew is another file.
    static std::string FileIdentity(const std::string& path)
    {
        HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        BY_HANDLE_FILE_INFORMATION info = {};
        GetFileInformationByHandle(file, &info);
        CloseHandle(file);
        return std::to_string(info.nFileIndexHigh) + ":" + std::to_string(info.nFileIndexLow) + ":"
               + std::to_string(info.ftLastWriteTime.dwHighDateTime) + ":"
               + std::to_string(info.ftLastWriteTime.dwLowDateTime);
    }

    TempFolder work;
    std::string settings;
};

}  // namespace

TEST_F(CommandLineExeTest, SortOfANamedIndexPlacesQuitsWithZeroAndLeavesTheSettingsAlone)
{
    WriteSettings("Move");
    WriteFileBytes(work / "LK\\VLC_media_player_1.1.11.lks", "vlc");
    WriteFileBytes(work / "LK\\Sub\\Unknown_1.lks", "unknown");
    WriteFileBytes(work / "PA\\FirefoxPortable_10.0_English.paf.exe", "firefox");

    // Dia_ moves the VLC package; VLC_media_player_ then finds it gone, which
    // every package of two rows does in Move and is no failure.
    EXPECT_EQ(RunOnce("/SORT:liberkey", work.path()), 0u);
    EXPECT_EQ(ReadFileBytes(work / "Sorted\\_Office\\_Diagram_Editor\\VLC_media_player_1.1.11.lks"), "vlc");
    EXPECT_FALSE(FileExists(work / "LK\\VLC_media_player_1.1.11.lks"));
    EXPECT_EQ(ReadFileBytes(work / "PA\\FirefoxPortable_10.0_English.paf.exe"), "firefox");
    EXPECT_FALSE(FolderExists(work / "PASorted"));
    EXPECT_NE(ReadFileBytes(work / "Quillet.Log").find(work / "LK\\Sub\\Unknown_1.lks\r\n"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(work / "Quillet.Ini"), settings);
}

TEST_F(CommandLineExeTest, SortWithAPlacementThatFailsEndsWithOne)
{
    WriteSettings("Copy");
    WriteFileBytes(work / "LK\\Format_Factory_2.lks", "format");
    WriteFileBytes(work / "LK\\VLC_media_player_1.1.11.lks", "vlc");
    // Another program holds the package and shares it with nobody.
    HANDLE held = CreateFileA((work / "LK\\Format_Factory_2.lks").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    EXPECT_EQ(RunOnce("-sort:LiberKey", work.path()), 1u);
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(work / "Sorted\\_Video\\_Player\\VLC_media_player_1.1.11.lks"), "vlc");
    EXPECT_FALSE(FileExists(work / "Sorted\\_Audio\\_Converter\\Format_Factory_2.lks"));
    EXPECT_EQ(ReadFileBytes(work / "Quillet.Ini"), settings);
}

TEST_F(CommandLineExeTest, UnknownIndexOrNoSettingsFileSortsNothingAndEndsWithTwo)
{
    WriteSettings("Move");
    WriteFileBytes(work / "LK\\VLC_media_player_1.1.11.lks", "vlc");
    EXPECT_EQ(RunOnce("/sort:LiberKee", work.path()), 2u);
    EXPECT_EQ(ReadFileBytes(work / "LK\\VLC_media_player_1.1.11.lks"), "vlc");
    EXPECT_FALSE(FolderExists(work / "Sorted\\_Video"));
    EXPECT_EQ(ReadFileBytes(work / "Quillet.Ini"), settings);

    // Started in the wrong folder: no default settings file, no folder made.
    MakeFolders(work / "Elsewhere\\");
    EXPECT_EQ(RunOnce("/preview", work / "Elsewhere\\"), 2u);
    EXPECT_TRUE(DiskListing(work / "Elsewhere\\").empty());
}

TEST_F(CommandLineExeTest, MistypedOptionsEndAtOnceWithTwoAndOneHistoryLineEachWhileTheirRightSpellingsSort)
{
    WriteSettings("Move");
    WriteFileBytes(work / "PA\\FirefoxPortable_10.0_English.paf.exe", "firefox");
    for (const char* mistyped : {"/sort=PortableApps", "--sort:PortableApps", "/s\xF6rt", "/watch:Andriod", "/sort /sort"})
        EXPECT_EQ(RunOnce(mistyped, work.path()), 2u) << mistyped;
    std::string history = ReadFileBytes(work / "Quillet.History.Log");
    EXPECT_EQ(std::count(history.begin(), history.end(), '\n'), 5);
    EXPECT_NE(history.find("\tStatus\tUnknown option\t/watch:Andriod\t"), std::string::npos);
    EXPECT_TRUE(FileExists(work / "PA\\FirefoxPortable_10.0_English.paf.exe"));

    // The option right after the program's closing quote; a blank for the colon.
    EXPECT_EQ(RunOnce("/sort", work.path(), ""), 0u);
    EXPECT_TRUE(FileExists(work / "PASorted\\_Internet\\FirefoxPortable_10.0_English.paf.exe"));
    WriteFileBytes(work / "LK\\VLC_media_player_1.1.11.lks", "vlc");
    EXPECT_EQ(RunOnce("/sort LiberKey", work.path()), 0u);
    EXPECT_FALSE(FileExists(work / "LK\\VLC_media_player_1.1.11.lks"));

    // A source that cannot be listed (missing, or a file) is no success.
    RemoveTree(work / "PA");
    EXPECT_EQ(RunOnce("/preview", work.path()), 2u);
    WriteFileBytes(work / "PA", "a file");
    EXPECT_EQ(RunOnce("/sort", work.path()), 2u);

    // Without a settings file nothing at all is written.
    MakeFolders(work / "Elsewhere\\");
    EXPECT_EQ(RunOnce("-fast", work / "Elsewhere\\"), 2u);
    EXPECT_TRUE(DiskListing(work / "Elsewhere\\").empty());
}

// A dash or slash the keyboard did not type (a word processor's en dash, a
// full-width solidus) starts an option that is not understood: the program
// ends at once with 2 and names the word, in the ANSI code page without
// look-alikes, in its one line. None of them sorts, opens the window or waits.
TEST_F(CommandLineExeTest, DashAndSlashLookAlikesAreUnknownOptionsThatEndAtOnceWithTwo)
{
    WriteSettings("Move");
    WriteFileBytes(work / "PA\\FirefoxPortable_10.0_English.paf.exe", "firefox");
    const struct {
        const wchar_t* given;
        const char* named;
    } words[] = {
        {L"\u2013sort", "\x96sort"}, {L"\u2014sort", "\x97sort"}, {L"\u2212sort", "?sort"}, {L"\uFF0Fsort", "?sort"}};
    for (const auto& word : words) {
        QuilletProcess quillet;
        ASSERT_TRUE(quillet.StartWide(work.path(), word.given));
        DWORD code = 99;
        EXPECT_TRUE(quillet.WaitForExit(30000, &code)) << word.named;
        EXPECT_EQ(code, 2u) << word.named;
    }
    std::string history = ReadFileBytes(work / "Quillet.History.Log");
    EXPECT_EQ(std::count(history.begin(), history.end(), '\n'), 4) << history;
    for (const auto& word : words) {
        std::string line = std::string("\tStatus\tUnknown option\t") + word.named + "\t";
        EXPECT_NE(history.find(line), std::string::npos) << word.named;
    }
    EXPECT_TRUE(FileExists(work / "PA\\FirefoxPortable_10.0_English.paf.exe"));
    EXPECT_FALSE(FolderExists(work / "PASorted"));
}

// A launcher that quotes each argument the Microsoft way escapes the quotes
// inside it with "\": the word is read back as it was before quoting.
TEST_F(CommandLineExeTest, AnArgumentQuotedTheMicrosoftWayIsReadAsOneWord)
{
    WriteSettings("Move");
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.StartWide(work.path(), L"\"/sort:\\\"Liber Key\\\"\""));
    DWORD code = 99;
    EXPECT_TRUE(quillet.WaitForExit(30000, &code));
    EXPECT_EQ(code, 2u);
    std::string history = ReadFileBytes(work / "Quillet.History.Log");
    EXPECT_EQ(std::count(history.begin(), history.end(), '\n'), 1) << history;
    EXPECT_NE(history.find("\tStatus\tUnknown option\t/sort:\"Liber Key\"\t"), std::string::npos) << history;
}

// Two scheduled runs over one folder at once: one waits for the other, so
// each package is placed once and every history line is whole.
TEST_F(CommandLineExeTest, TwoSortsStartedTogetherTakeTurnsWithAnIntactHistory)
{
    WriteSettings("Move");
    for (int i = 0; i < 40; ++i)
        WriteFileBytes(work / ("LK\\VLC_media_player_" + std::to_string(i) + ".lks"), "vlc");
    QuilletProcess first, second;
    ASSERT_TRUE(first.Start(work.path(), "/sort:LiberKey"));
    ASSERT_TRUE(second.Start(work.path(), "/sort:LiberKey"));
    DWORD codes[2] = {99, 99};
    EXPECT_TRUE(first.WaitForExit(120000, &codes[0]));
    EXPECT_TRUE(second.WaitForExit(120000, &codes[1]));
    EXPECT_EQ(codes[0] + codes[1], 0u);
    EXPECT_EQ(DiskListing(work / "Sorted\\_Office\\_Diagram_Editor\\").size(), 40u);

    std::string history = ReadFileBytes(work / "Quillet.History.Log");
    size_t placed = 0;
    for (size_t start = 0, end; (end = history.find("\r\n", start)) != std::string::npos; start = end + 2) {
        std::string line = history.substr(start, end - start);
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
        EXPECT_EQ(line.substr(4, 1) + line.substr(19, 1), "-\t") << line;
        placed += line.find("\tPlaced\t") != std::string::npos && line.find("\tplaced\t") != std::string::npos;
    }
    EXPECT_EQ(history.substr(history.size() - 2), "\r\n");
    EXPECT_EQ(placed, 40u);
}

// One downloads folder for every collection: the Android row "Firefox" takes
// the packages of all three kinds, unless the settings file says that each
// collection keeps to its own kind.
TEST_F(CommandLineExeTest, OwnKindOnlyFromTheSettingsFileKeepsAnAndroidSortToApkPackages)
{
    WriteSettings("Move");
    std::string own = settings;
    own.insert(own.find("Dump LeftOvers = Yes\r\n") + 22, "Own Kind Only = Yes\r\n");
    WriteFileBytes(work / "Quillet.Ini", own);
    for (const char* name : {"Firefox_133.0.lks", "FirefoxPortable_133.0.paf.exe", "org.mozilla.firefox_133.0.apk"})
        WriteFileBytes(work / "LK\\" + name, name);

    EXPECT_EQ(RunOnce("/sort:Android", work.path()), 0u);
    EXPECT_EQ(FolderEntries(work / "ASorted\\Internet\\"), (std::set<std::string>{"org.mozilla.firefox_133.0.apk"}));
    EXPECT_EQ(FolderEntries(work / "LK\\"), (std::set<std::string>{"Firefox_133.0.lks", "FirefoxPortable_133.0.paf.exe"}));
    EXPECT_EQ(ReadFileBytes(work / "Quillet.Ini"), own);
}

// A scheduled Copy sort run again over the same packages finds each copy in
// place and leaves it as it is, saying so in the history.
TEST_F(CommandLineExeTest, SecondCopySortLeavesTheCopiesAsTheyAreAndSaysIdentical)
{
    WriteSettings("Copy");
    WriteFileBytes(work / "LK\\VLC_media_player_1.1.11.lks", "vlc");
    const std::string copies[] = {work / "Sorted\\_Office\\_Diagram_Editor\\VLC_media_player_1.1.11.lks",
                                  work / "Sorted\\_Video\\_Player\\VLC_media_player_1.1.11.lks"};
    EXPECT_EQ(RunOnce("/sort:LiberKey", work.path()), 0u);
    std::string first[] = {FileIdentity(copies[0]), FileIdentity(copies[1])};

    EXPECT_EQ(RunOnce("/sort:LiberKey", work.path()), 0u);
    EXPECT_EQ(FileIdentity(copies[0]), first[0]);
    EXPECT_EQ(FileIdentity(copies[1]), first[1]);
    std::string history = ReadFileBytes(work / "Quillet.History.Log");
    size_t second = history.rfind("\tSort\tLiberKey\tCopy\t");
    ASSERT_NE(second, std::string::npos);
    EXPECT_NE(history.find("\tPlaced\t0\tidentical\tLiberKey\tCopy\t", second), std::string::npos);
    EXPECT_NE(history.find("\tPlaced\t1\tidentical\tLiberKey\tCopy\t", second), std::string::npos);
}

TEST_F(CommandLineExeTest, TidyAndASortWithOlderVersionsPutAsideEndWithTheirCodes)
{
    WriteSettings("Copy");
    const std::string inventory = work / "Sorted\\_System utilities\\_Information\\_Inventory\\";
    const std::string aside = work / "Sorted\\_Older versions\\_System utilities\\_Information\\_Inventory\\";
    WriteFileBytes(inventory + "Speccy_1.16.lks", "1.16");
    WriteFileBytes(inventory + "Speccy_1.15.lks", "1.15");
    WriteFileBytes(inventory + "Speccy_1.14.lks", "1.14");
    // Another program holds one of the older versions and shares no deleting.
    HANDLE held = CreateFileA((inventory + "Speccy_1.14.lks").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunOnce("/tidy:LiberKey", work.path()), 1u);
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(aside + "Speccy_1.15.lks"), "1.15");
    EXPECT_EQ(ReadFileBytes(inventory + "Speccy_1.14.lks"), "1.14");
    EXPECT_EQ(RunOnce("-TIDY:liberkey", work.path()), 0u);
    EXPECT_FALSE(FileExists(inventory + "Speccy_1.14.lks"));

    // Ticked in the file, /sort places no version older than one there and
    // puts aside those its own placements make older.
    std::string ticked = ReadFileBytes(work / "Quillet.Ini");
    ticked.insert(ticked.find("[Program Options]\r\n") + 19, "Older Versions Aside = Yes\r\n");
    WriteFileBytes(work / "Quillet.Ini", ticked);
    WriteFileBytes(work / "Sorted\\_Older versions\\_Audio\\_Converter\\Format_Factory_3.0.lks", "3.0");
    WriteFileBytes(work / "LK\\Format_Factory_2.0.lks", "2.0");
    WriteFileBytes(work / "LK\\Speccy_1.10.lks", "1.10");
    WriteFileBytes(work / "LK\\Speccy_1.20.lks", "1.20");
    EXPECT_EQ(RunOnce("/sort:LiberKey", work.path()), 0u);
    EXPECT_EQ(ReadFileBytes(inventory + "Speccy_1.20.lks"), "1.20");
    EXPECT_EQ(ReadFileBytes(aside + "Speccy_1.16.lks"), "1.16");
    EXPECT_FALSE(FileExists(inventory + "Speccy_1.10.lks"));
    EXPECT_FALSE(FileExists(aside + "Speccy_1.10.lks"));
    EXPECT_FALSE(FileExists(work / "Sorted\\_Audio\\_Converter\\Format_Factory_2.0.lks"));

    // A target inside the source (letter case aside), or one that cannot be
    // listed: nothing is moved, and the run ends with 2.
    WriteFileBytes(work / "PA\\sorted\\_Games\\Quake_1.0.lks", "1.0");
    WriteFileBytes(work / "PA\\sorted\\_Games\\Quake_2.0.lks", "2.0");
    Settings values;
    values.LastIndex = "PortableApps";
    values.PortableAppsSourcePath = work / "pa\\";
    values.PortableAppsTargetPath = work / "PA\\sorted\\";
    values.LiberkeySourcePath = work / "LK\\";
    values.LiberkeyTargetPath = work / "Sorted\\_Internet\\FirefoxPortable_1.0.paf.exe\\";
    WriteFileBytes(work / "Sorted\\_Internet\\FirefoxPortable_1.0.paf.exe", "a file");
    WriteFileBytes(work / "Quillet.Ini", SettingsFileText(values));
    EXPECT_EQ(RunOnce("/tidy", work.path()), 2u);
    EXPECT_EQ(ReadFileBytes(work / "PA\\sorted\\_Games\\Quake_1.0.lks"), "1.0");
    EXPECT_EQ(RunOnce("/tidy:LiberKey", work.path()), 2u);
}

// Android downloads named by nobody: real builds of io.appium.settings saved
// as base.apk and "app-release (1).apk" are placed by a row of the user's own
// whose fragment is their label, under their own names, with a line that says
// why; the history records the name that matched, and an undo reads it back.
// Malformed packages stay where they are, and the run still ends.
TEST_F(CommandLineExeTest, RenamedAndroidBuildsAreKnownByTheirLabelAndMalformedOnesStay)
{
    WriteSettings("Move");
    WriteFileBytes(work / "Quillet.Catalogue.Ini", "[Android]\r\nAppium Settings = _Tools\r\n");
    std::string real = TestDataBytes("apk/io.appium.settings-8.0.10.apk");
    WriteFileBytes(work / "LK\\base.apk", real);
    WriteFileBytes(work / "LK\\Phone\\app-release (1).apk", TestDataBytes("apk/io.appium.settings-5.14.15.apk"));
    // Cut in half; an archive whose manifest claims a gigabyte; no archive at all.
    WriteFileBytes(work / "LK\\cut.apk", real.substr(0, real.size() / 2));
    std::string claimed = TestDataBytes("apk/mini.apk");
    size_t entry = claimed.rfind("AndroidManifest.xml") - 46;
    claimed.replace(entry + 24, 4, LittleEndian(1u << 30, 4));
    WriteFileBytes(work / "LK\\claimed.apk", claimed);
    WriteFileBytes(work / "LK\\junk.apk", "PK\3\4 not an archive");

    EXPECT_EQ(RunOnce("/sort:Android", work.path()), 0u);
    EXPECT_EQ(FolderEntries(work / "ASorted\\_Tools\\"), (std::set<std::string>{"app-release (1).apk", "base.apk"}));
    EXPECT_EQ(ReadFileBytes(work / "ASorted\\_Tools\\base.apk"), real);
    EXPECT_EQ(FolderEntries(work / "LK\\"), (std::set<std::string>{"Phone", "claimed.apk", "cut.apk", "junk.apk"}));
    std::string history = ReadFileBytes(work / "Quillet.History.Log");
    EXPECT_NE(history.find("\tStatus\tKnown by its contents\t"), std::string::npos);
    EXPECT_NE(history.find("base.apk  is Appium Settings 8.0.10"), std::string::npos);
    EXPECT_NE(history.find("app-release (1).apk  is Appium Settings 5.14.15"), std::string::npos);
    EXPECT_NE(history.find("\tknown as Appium Settings 8.0.10\t"), std::string::npos);
    EXPECT_NE(history.find("\tknown as Appium Settings 5.14.15\t" + work / "ASorted\\_Tools\\\t"), std::string::npos)
        << "the first placement's line names the folder it made after the name";
    std::string report = ReadFileBytes(work / "Quillet.Log");
    for (const char* left : {"cut.apk", "claimed.apk", "junk.apk"})
        EXPECT_NE(report.find(work / "LK\\" + left + "\r\n"), std::string::npos) << left;

    // The undo reads those lines back: each package goes home, and the
    // folder the sort made, named after the name that matched, goes.
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    ASSERT_NE(quillet.WaitUntilReady(), nullptr);
    EXPECT_TRUE(quillet.Command(CommandUndoSort, "Undo finished"));
    DWORD code = 99;
    EXPECT_TRUE(quillet.Quit(&code));
    EXPECT_EQ(ReadFileBytes(work / "LK\\base.apk"), real);
    EXPECT_TRUE(FileExists(work / "LK\\Phone\\app-release (1).apk"));
    EXPECT_FALSE(FolderExists(work / "ASorted\\_Tools"));
}

// "Put older versions aside" tells two builds of one package id apart by
// their versionCode, not by the versions their names claim; packages whose
// contents say nothing are told apart by their names.
TEST_F(CommandLineExeTest, TidyTellsBuildsOfOnePackageIdApartByTheirVersionCode)
{
    WriteSettings("Move");
    const std::string tools = work / "ASorted\\_Tools\\";
    const std::string aside = work / "ASorted\\_Older versions\\_Tools\\";
    WriteFileBytes(tools + "Appium_9.0.apk", TestDataBytes("apk/io.appium.settings-5.14.15.apk"));
    WriteFileBytes(tools + "Appium_1.0.apk", TestDataBytes("apk/io.appium.settings-8.0.10.apk"));
    WriteFileBytes(tools + "settings.apk", TestDataBytes("apk/io.appium.settings-7.0.22.apk"));
    WriteFileBytes(tools + "Other_2.0.apk", "no archive");
    WriteFileBytes(tools + "Other_1.0.apk", "no archive either");

    EXPECT_EQ(RunOnce("/tidy:Android", work.path()), 0u);
    EXPECT_EQ(FolderEntries(tools), (std::set<std::string>{"Appium_1.0.apk", "Other_2.0.apk"}));
    EXPECT_EQ(FolderEntries(aside), (std::set<std::string>{"Appium_9.0.apk", "Other_1.0.apk", "settings.apk"}));
}
