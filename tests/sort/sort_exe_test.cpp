// The real Quillet.exe sorting a real download tree, started the way a user
// starts it, checked by what it leaves on disk.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "settings/settings_test_support.h"
#include "support/answer_watch.h"
#include "support/eventually.h"
#include "support/folder_link.h"
#include "support/quillet_process.h"
#include "support/temp_folder.h"
#include "util/system_error.h"
#include "window/controls.h"

namespace {

const std::string Rule(83, '-');

class SortExeTest : public ::testing::Test {
protected:
    // A PortableApps download tree: two packages the catalogue places, one it
    // does not know, an Android package deeper down and a file that is no
    // package at all.
    void SetUp() override
    {
        WriteFileBytes(work / "Downloads\\FirefoxPortable_10.0_English.paf.exe", "firefox");
        WriteFileBytes(work / "Downloads\\SomethingUnknown_1.0.paf.exe", "unknown");
        WriteFileBytes(work / "Downloads\\readme.txt", "not a package");
        WriteFileBytes(work / "Downloads\\Games\\AssaultCubePortable_1.1.paf.exe", "cube");
        WriteFileBytes(work / "Downloads\\Sub\\Deeper\\notes.apk", "notes");
    }

    void WriteSettings(const std::string& copyOrMove, bool ownKindOnly = false)
    {
        Settings values;
        values.LastIndex = "PortableApps";
        values.CopyOrMove = copyOrMove;
        values.DumpLeftOvers = "Yes";
        values.PortableAppsSourcePath = work / "Downloads\\";
        values.PortableAppsTargetPath = work / "Sorted\\";
        std::string text = SettingsFileText(values);
        if (ownKindOnly)
            text.insert(text.find("Dump LeftOvers = Yes\r\n") + 22, "Own Kind Only = Yes\r\n");
        WriteFileBytes(work / "Quillet.Ini", text);
    }

    // The status lines from that row on, as "title|text" with the marker and
    // the blanks after it taken out.
    static std::vector<std::string> LinesFrom(const QuilletProcess& quillet, size_t from)
    {
        std::vector<std::string> lines;
        std::vector<std::vector<std::string>> rows = quillet.Rows(ListStatus);
        for (size_t row = from; row < rows.size(); ++row) {
            std::string text = rows[row][1].size() > 10 ? rows[row][1].substr(10) : std::string();
            lines.push_back(rows[row][0] + "|" + text.erase(0, text.find_first_not_of(' ')));
        }
        return lines;
    }

    // Starts the program, presses the sort button and waits for the end of
    // the run; returns the file list left after it.
    std::vector<std::vector<std::string>> SortOnce(QuilletProcess& quillet)
    {
        EXPECT_TRUE(quillet.Start(work.path()));
        EXPECT_NE(quillet.WaitUntilReady(), nullptr);
        EXPECT_EQ(quillet.Rows(ListFiles).size(), 4u);
        size_t before = quillet.Rows(ListStatus).size();
        PostMessageA(quillet.Control(ButtonSort), BM_CLICK, 0, 0);
        EXPECT_TRUE(quillet.WaitForStatusLine("Sort finished", before));
        return quillet.Rows(ListFiles);
    }

    // The orphan listing for these file-list rows.
    std::string Listing(const std::vector<std::vector<std::string>>& rows)
    {
        std::string text = Rule + "\r\nStart of [PortableApps] orphan files listing.\r\n" + Rule + "\r\n\r\n";
        for (const std::vector<std::string>& row : rows)
            text += row[0] + row[1] + "\r\n";
        return text + Rule + "\r\nEnd of [PortableApps] orphan files listing.\r\n" + Rule + "\r\n\r\n";
    }

    static std::vector<std::string> Names(const std::vector<std::vector<std::string>>& rows)
    {
        std::vector<std::string> names;
        for (const std::vector<std::string>& row : rows)
            names.push_back(row[1]);
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder work;
};

}  // namespace

TEST_F(SortExeTest, CopyPlacesPackagesKeepsSourcesAndListsTheOrphans)
{
    WriteSettings("Copy");
    QuilletProcess quillet;
    std::vector<std::vector<std::string>> left = SortOnce(quillet);

    EXPECT_EQ(ReadFileBytes(work / "Sorted\\_Internet\\FirefoxPortable_10.0_English.paf.exe"), "firefox");
    EXPECT_EQ(ReadFileBytes(work / "Sorted\\_Games\\AssaultCubePortable_1.1.paf.exe"), "cube");
    EXPECT_EQ(ReadFileBytes(work / "Downloads\\FirefoxPortable_10.0_English.paf.exe"), "firefox");
    EXPECT_EQ(ReadFileBytes(work / "Downloads\\Games\\AssaultCubePortable_1.1.paf.exe"), "cube");
    EXPECT_EQ(FolderEntries(work / "Sorted\\"), (std::set<std::string>{"_Games", "_Internet"}));

    // AssaultCubePortable_ and CubePortable_ both place the cube package.
    std::vector<std::vector<std::string>> sorted = quillet.Rows(ListSorted);
    EXPECT_EQ(sorted.size(), 3u);
    EXPECT_EQ(Names(left), (std::vector<std::string>{"SomethingUnknown_1.0.paf.exe", "notes.apk"}));
    EXPECT_EQ(ReadFileBytes(work / "Quillet.Log"), Listing(left));
    EXPECT_EQ(quillet.Text(0).substr(0, 12), "Quillet - 3 ");

    DWORD code = 99;
    ASSERT_TRUE(quillet.Quit(&code));
    EXPECT_EQ(code, 0u);
    std::string settings = ReadFileBytes(work / "Quillet.Ini");
    EXPECT_NE(settings.find("Copy Or Move = Copy\r\n"), std::string::npos);
    EXPECT_NE(settings.find("Last Index = PortableApps\r\n"), std::string::npos);
}

TEST_F(SortExeTest, MoveTakesPackagesAwayAndLeavesTheOrphansInPlace)
{
    WriteSettings("Move");
    QuilletProcess quillet;
    std::vector<std::vector<std::string>> left = SortOnce(quillet);

    EXPECT_EQ(ReadFileBytes(work / "Sorted\\_Internet\\FirefoxPortable_10.0_English.paf.exe"), "firefox");
    EXPECT_EQ(ReadFileBytes(work / "Sorted\\_Games\\AssaultCubePortable_1.1.paf.exe"), "cube");
    EXPECT_FALSE(FileExists(work / "Downloads\\FirefoxPortable_10.0_English.paf.exe"));
    EXPECT_FALSE(FileExists(work / "Downloads\\Games\\AssaultCubePortable_1.1.paf.exe"));
    EXPECT_EQ(ReadFileBytes(work / "Downloads\\SomethingUnknown_1.0.paf.exe"), "unknown");
    EXPECT_EQ(ReadFileBytes(work / "Downloads\\Sub\\Deeper\\notes.apk"), "notes");
    EXPECT_EQ(ReadFileBytes(work / "Downloads\\readme.txt"), "not a package");

    // The second entry for the cube package finds it gone already.
    EXPECT_EQ(quillet.Rows(ListSorted).size(), 2u);
    std::vector<std::vector<std::string>> status = quillet.Rows(ListStatus);
    EXPECT_TRUE(std::any_of(status.begin(), status.end(), [](const std::vector<std::string>& row) {
        return row[0] == "Cannot move file" && row[1].find("AssaultCubePortable_1.1.paf.exe  ") != std::string::npos;
    }));
    EXPECT_EQ(Names(left), (std::vector<std::string>{"SomethingUnknown_1.0.paf.exe", "notes.apk"}));
    EXPECT_EQ(ReadFileBytes(work / "Quillet.Log"), Listing(left));

    DWORD code = 99;
    ASSERT_TRUE(quillet.Quit(&code));
    EXPECT_EQ(code, 0u);
    EXPECT_NE(ReadFileBytes(work / "Quillet.Ini").find("Copy Or Move = Move\r\n"), std::string::npos);
}

TEST_F(SortExeTest, OwnRowsBesideTheSettingsPlaceWhatNoCatalogueRowPlacesAndAreNeverWritten)
{
    WriteSettings("Copy");
    const std::string rows = "; rows of my own\r\n[PortableApps]\r\nSomethingUnknown_ = _Mine\\_Own\r\n";
    WriteFileBytes(work / "Quillet.Catalogue.Ini", rows);
    QuilletProcess quillet;
    std::vector<std::vector<std::string>> left = SortOnce(quillet);

    EXPECT_EQ(ReadFileBytes(work / "Sorted\\_Mine\\_Own\\SomethingUnknown_1.0.paf.exe"), "unknown");
    EXPECT_EQ(Names(left), (std::vector<std::string>{"notes.apk"}));
    std::vector<std::vector<std::string>> status = quillet.Rows(ListStatus);
    ASSERT_GE(status.size(), 7u);
    EXPECT_EQ(status[5][0], "Index load");
    EXPECT_EQ(status[6][0], "User rows loaded");
    EXPECT_EQ(status[6][1].substr(10), "  1 row for PortableApps from " + work / "Quillet.Catalogue.Ini");
    DWORD code = 99;
    ASSERT_TRUE(quillet.Quit(&code));
    EXPECT_EQ(ReadFileBytes(work / "Quillet.Catalogue.Ini"), rows);
}

TEST_F(SortExeTest, MoveOfAPackageAnotherProgramHoldsKeepsTheFileAtTheDestination)
{
    WriteSettings("Move");
    std::string users = work / "Sorted\\_Internet\\FirefoxPortable_10.0_English.paf.exe";
    WriteFileBytes(users, "the user's own older file");
    // This test process is the other program: it reads the package and lets
    // others read it too, but not delete it.
    HANDLE held = CreateFileA((work / "Downloads\\FirefoxPortable_10.0_English.paf.exe").c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    QuilletProcess quillet;
    SortOnce(quillet);
    CloseHandle(held);

    EXPECT_EQ(ReadFileBytes(users), "the user's own older file");
    EXPECT_EQ(ReadFileBytes(work / "Downloads\\FirefoxPortable_10.0_English.paf.exe"), "firefox");
    std::vector<std::vector<std::string>> status = quillet.Rows(ListStatus);
    EXPECT_TRUE(std::any_of(status.begin(), status.end(), [](const std::vector<std::string>& row) {
        return row[0] == "Cannot move file" && row[1].find("FirefoxPortable_10.0_English.paf.exe  ") != std::string::npos;
    }));
    EXPECT_EQ(FolderEntries(work / "Sorted\\_Internet\\"),
              (std::set<std::string>{"FirefoxPortable_10.0_English.paf.exe"}));
    DWORD code = 99;
    ASSERT_TRUE(quillet.Quit(&code));
}

// A package of a gigabyte, whose copy takes seconds: the window answers
// another program within a quarter of a second throughout, and the sort ends
// as with small packages only.
TEST_F(SortExeTest, CopyOfALargePackageKeepsTheWindowAnswering)
{
    const unsigned long long large = 1ull << 30;
    WriteZeroFile(work / "Downloads\\Large\\FirefoxPortable_11.0_English.paf.exe", large);
    WriteSettings("Copy");
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    HWND window = quillet.WaitUntilReady();
    ASSERT_NE(window, nullptr);
    size_t before = quillet.Rows(ListStatus).size();
    AnswerWatch watch(window);
    PostMessageA(quillet.Control(ButtonSort), BM_CLICK, 0, 0);
    // Meanwhile the title says how far the copy has come.
    std::string percent;
    for (int tries = 0; tries < 3000 && percent.empty(); ++tries, Sleep(20)) {
        std::string title = quillet.Text(0);
        percent = !title.empty() && title.back() == '%' ? title : std::string();
    }
    EXPECT_TRUE(quillet.WaitForStatusLine("Sort finished", before, 110000));
    EXPECT_LT(watch.Stop(), 250u);
    size_t blank = percent.rfind(' ');
    ASSERT_NE(blank, std::string::npos);
    EXPECT_EQ(percent.rfind("Quillet - ", 0), 0u);
    EXPECT_EQ(percent.find_first_not_of("0123456789", blank + 1), percent.size() - 1);
    EXPECT_EQ(quillet.Text(0).rfind("Quillet - 4 ", 0), 0u);
    EXPECT_NE(quillet.Text(0).back(), '%');
    // It names the package being copied, with the count it has once placed.
    std::vector<std::string> copied;
    for (const std::vector<std::string>& row : quillet.Rows(ListStatus)) {
        if (row[0] == "File copied okay")
            copied.push_back(row[1].substr(12));
    }
    size_t count = std::find(copied.begin(), copied.end(), "FirefoxPortable_11.0_English.paf.exe") - copied.begin() + 1;
    ASSERT_LE(count, copied.size());
    EXPECT_EQ(percent.substr(0, blank), "Quillet - " + std::to_string(count) + " FirefoxPortable_11.0_English.paf.exe");

    WIN32_FILE_ATTRIBUTE_DATA copy = {};
    ASSERT_TRUE(GetFileAttributesExA((work / "Sorted\\_Internet\\FirefoxPortable_11.0_English.paf.exe").c_str(),
                                     GetFileExInfoStandard, &copy));
    EXPECT_EQ((static_cast<unsigned long long>(copy.nFileSizeHigh) << 32) | copy.nFileSizeLow, large);
    std::vector<std::string> lines;
    for (const std::vector<std::string>& row : quillet.Rows(ListStatus)) {
        std::string text = row[1].size() > 10 ? row[1].substr(10) : std::string();  // after the activity marker
        lines.push_back(row[0] + "|" + text.erase(0, text.find_first_not_of(' ')));
    }
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(before));
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"File copied okay|AssaultCubePortable_1.1.paf.exe",
                                               "File copied okay|AssaultCubePortable_1.1.paf.exe",
                                               "File copied okay|FirefoxPortable_10.0_English.paf.exe",
                                               "File copied okay|FirefoxPortable_11.0_English.paf.exe",
                                               "Sort finished|All files specified in the index have been sorted",
                                               "Sort summary|3 placed, 1 already there, 0 older, 2 not placed (no row), 0 failed"}));
}

// A category folder that is a link out of the target, and a folder below the
// source that is a link out of it: the preview says "Fail", and a Move sort
// neither writes through the one nor takes from the other.
TEST_F(SortExeTest, LinksOutOfTheTargetOrTheSourceNeitherReceiveNorGivePackages)
{
    WriteSettings("Move");
    WriteFileBytes(work / "Private\\AssaultCubePortable_2.0.paf.exe", "another user's");
    MakeFolders(work / "StartUp\\");
    MakeFolders(work / "Sorted\\");
    FolderLink startUp(work / "Sorted", "_Internet", "../StartUp");
    FolderLink other(work / "Downloads", "Other", "../Private");
    if (!startUp.made() || !other.made())
        GTEST_SKIP() << "no folder links here";
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    HWND window = quillet.WaitUntilReady();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(quillet.Command(CommandPreviewSort, "Sort preview"));
    std::vector<std::string> forecasts;
    for (const std::vector<std::string>& row : quillet.Rows(ListSorted))
        forecasts.push_back(row[1] + "|" + row[2]);
    std::sort(forecasts.begin(), forecasts.end());
    EXPECT_EQ(forecasts, (std::vector<std::string>{"AssaultCubePortable_1.1.paf.exe|Fail",
                                                   "AssaultCubePortable_1.1.paf.exe|Move",
                                                   "FirefoxPortable_10.0_English.paf.exe|Fail"}));
    EXPECT_EQ(quillet.Rows(ListFiles).size(), 4u);
    size_t before = quillet.Rows(ListStatus).size();
    PostMessageA(quillet.Control(ButtonSort), BM_CLICK, 0, 0);
    ASSERT_TRUE(quillet.WaitForStatusLine("Sort finished", before));

    EXPECT_EQ(FolderEntries(work / "StartUp\\"), std::set<std::string>());
    EXPECT_EQ(ReadFileBytes(work / "Downloads\\FirefoxPortable_10.0_English.paf.exe"), "firefox");
    EXPECT_EQ(ReadFileBytes(work / "Private\\AssaultCubePortable_2.0.paf.exe"), "another user's");
    EXPECT_EQ(FolderEntries(work / "Sorted\\_Games\\"), (std::set<std::string>{"AssaultCubePortable_1.1.paf.exe"}));
    std::vector<std::string> lines;
    for (const std::vector<std::string>& row : quillet.Rows(ListStatus))
        lines.push_back(row[0] + "|" + row[1].substr(10));
    std::string reason = "a link or a folder on its way leads outside the folders chosen";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Link not followed|  " + work / "Downloads\\Other"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "Cannot move file|  FirefoxPortable_10.0_English.paf.exe  " + reason), 1);
    DWORD code = 99;
    ASSERT_TRUE(quillet.Quit(&code));
}

namespace {

// The largest file in a staging folder of the target, with its path.
unsigned long long LargestStagedFile(const std::string& target, std::string* path)
{
    unsigned long long largest = 0;
    WIN32_FIND_DATAA folder, file;
    HANDLE folders = FindFirstFileA((target + "~Quillet-*").c_str(), &folder);
    if (folders == INVALID_HANDLE_VALUE)
        return 0;
    std::string staging = target + folder.cFileName + "\\";
    FindClose(folders);
    HANDLE files = FindFirstFileA((staging + "*.tmp").c_str(), &file);
    for (bool more = files != INVALID_HANDLE_VALUE; more; more = FindNextFileA(files, &file)) {
        unsigned long long size = (static_cast<unsigned long long>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
        if (size >= largest)
            largest = size, *path = staging + file.cFileName;
    }
    if (files != INVALID_HANDLE_VALUE)
        FindClose(files);
    return largest;
}

}  // namespace

// A sort killed while it copies a large package leaves no piece under the
// package's name; the next start removes the piece it left, and says so, and
// nothing else named like a staging folder that the history does not name.
TEST_F(SortExeTest, ASortKilledDuringACopyLeavesNoPieceAfterTheNextStart)
{
    WriteZeroFile(work / "Downloads\\Large\\FirefoxPortable_11.0_English.paf.exe", 1ull << 30);
    WriteSettings("Copy");
    std::string piece;
    {
        QuilletProcess quillet;
        ASSERT_TRUE(quillet.Start(work.path(), "/sort"));
        ASSERT_TRUE(Eventually([&] { return LargestStagedFile(work / "Sorted\\", &piece) > (1u << 20); }, 60000));
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, quillet.id());
        TerminateProcess(process, 9);
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
    EXPECT_FALSE(FileExists(work / "Sorted\\_Internet\\FirefoxPortable_11.0_English.paf.exe"));
    // Folders of staging folders' names that no history line names: of a
    // live process (this one's), of dead ones, a user's beside the source.
    FILETIME created, unused;
    GetProcessTimes(GetCurrentProcess(), &created, &unused, &unused, &unused);
    char live[64];
    std::snprintf(live, sizeof live, "~Quillet-%llX-%lX-s1\\1.tmp",
                  ((static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime) / 10000000,
                  GetCurrentProcessId());
    const std::vector<std::string> planted = {work / "Sorted\\" + live, work / "Sorted\\~Quillet-1-1-a\\1.tmp",
                                              work / "~Quillet-1-7-x\\notes.txt",
                                              work / "Downloads\\~Quillet-0-1-x\\1.tmp"};
    for (const std::string& file : planted)
        WriteFileBytes(file, "not a piece of a run the history names");
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    ASSERT_NE(quillet.WaitUntilReady(), nullptr);
    std::vector<std::vector<std::string>> status = quillet.Rows(ListStatus);
    EXPECT_TRUE(std::any_of(status.begin(), status.end(), [&](const std::vector<std::string>& row) {
        return row[0] == "Piece removed" && row[1].substr(10) == "  " + piece;
    }));
    EXPECT_EQ(std::count_if(status.begin(), status.end(),
                            [](const std::vector<std::string>& row) { return row[0] == "Piece removed"; }),
              1);
    for (const std::string& file : planted)
        EXPECT_EQ(ReadFileBytes(file), "not a piece of a run the history names") << file;
    EXPECT_FALSE(FolderExists(piece.substr(0, piece.find_last_of('\\'))));
    EXPECT_FALSE(FileExists(work / "Sorted\\_Internet\\FirefoxPortable_11.0_English.paf.exe"));
    DWORD code = 99;
    ASSERT_TRUE(quillet.Quit(&code));
}

// Folders named like a dead run's staging folder, planted in the target: one
// holds a link to a file outside, another is itself a link to a folder
// outside. A start leaves both outside things as they are.
TEST_F(SortExeTest, PlantedStagingFoldersNeverLeadTheCleanUpOutside)
{
    WriteSettings("Copy");
    WriteFileBytes(work / "Outside\\keep.txt", "keep");
    WriteFileBytes(work / "Outside\\Folder\\keep1.txt", "keep 1");
    MakeFolders(work / "Sorted\\~Quillet-1-1-a");
    FolderLink file(work / "Sorted\\~Quillet-1-1-a", "1.tmp", "../../Outside/keep.txt");
    FolderLink folder(work / "Sorted", "~Quillet-1-1-b", "../Outside/Folder");
    ASSERT_TRUE(file.made() && folder.made());
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    ASSERT_NE(quillet.WaitUntilReady(), nullptr);
    EXPECT_EQ(ReadFileBytes(work / "Outside\\keep.txt"), "keep");
    EXPECT_EQ(ReadFileBytes(work / "Outside\\Folder\\keep1.txt"), "keep 1");
    std::vector<std::vector<std::string>> status = quillet.Rows(ListStatus);
    EXPECT_TRUE(std::none_of(status.begin(), status.end(),
                             [](const std::vector<std::string>& row) { return row[0] == "Piece removed"; }));
    DWORD code = 99;
    ASSERT_TRUE(quillet.Quit(&code));
}

// A read-only package whose twin stands at the destination cannot be
// removed: it stays, with its row, and a scheduled run says some failed.
TEST_F(SortExeTest, MoveOfAReadOnlyPackageWithItsTwinThereKeepsThePackage)
{
    WriteSettings("Move");
    std::string package = work / "Downloads\\FirefoxPortable_10.0_English.paf.exe";
    WriteFileBytes(work / "Sorted\\_Internet\\FirefoxPortable_10.0_English.paf.exe", "firefox");
    ASSERT_TRUE(SetFileAttributesA(package.c_str(), FILE_ATTRIBUTE_READONLY));
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path(), "/sort"));
    DWORD code = 99;
    EXPECT_TRUE(quillet.WaitForExit(60000, &code));
    SetFileAttributesA(package.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(ReadFileBytes(package), "firefox");
    EXPECT_EQ(ReadFileBytes(work / "Sorted\\_Internet\\FirefoxPortable_10.0_English.paf.exe"), "firefox");
}

// A Copy, then a Move of the same collection: the Move finds every package's
// copy in place, removes the packages and says so for each, after the
// system's "Cannot move file"; each sort ends with its counts.
TEST_F(SortExeTest, CopyThenMoveSaysEachTwinRemovedAndCountsEachSort)
{
    WriteSettings("Copy");
    QuilletProcess copying;
    ASSERT_TRUE(copying.Start(work.path()));
    ASSERT_NE(copying.WaitUntilReady(), nullptr);
    size_t before = copying.Rows(ListStatus).size();
    PostMessageA(copying.Control(ButtonSort), BM_CLICK, 0, 0);
    ASSERT_TRUE(copying.WaitForStatusLine("Sort summary", before));
    std::vector<std::string> lines = LinesFrom(copying, before);
    ASSERT_GE(lines.size(), 2u);
    // The cube package's second row finds its first copy there.
    EXPECT_EQ(lines[lines.size() - 2], "Sort finished|All files specified in the index have been sorted");
    EXPECT_EQ(lines.back(), "Sort summary|2 placed, 1 already there, 0 older, 2 not placed (no row), 0 failed");
    DWORD code = 99;
    ASSERT_TRUE(copying.Quit(&code));

    WriteSettings("Move");
    QuilletProcess moving;
    ASSERT_TRUE(moving.Start(work.path()));
    ASSERT_NE(moving.WaitUntilReady(), nullptr);
    before = moving.Rows(ListStatus).size();
    PostMessageA(moving.Control(ButtonSort), BM_CLICK, 0, 0);
    ASSERT_TRUE(moving.WaitForStatusLine("Sort summary", before));
    lines = LinesFrom(moving, before);
    std::vector<std::string> twins;
    for (size_t at = 0; at < lines.size(); ++at) {
        if (lines[at].rfind("Twin removed|", 0) != 0)
            continue;
        std::string name = lines[at].substr(13, lines[at].find("  ") - 13);
        twins.push_back(lines[at]);
        ASSERT_GT(at, 0u);
        EXPECT_EQ(lines[at - 1].rfind("Cannot move file|" + name + "  ", 0), 0u) << lines[at - 1];
    }
    EXPECT_EQ(twins, (std::vector<std::string>{
                         "Twin removed|AssaultCubePortable_1.1.paf.exe  its identical copy is in " + work / "Sorted\\_Games\\",
                         "Twin removed|FirefoxPortable_10.0_English.paf.exe  its identical copy is in "
                             + work / "Sorted\\_Internet\\"}));
    EXPECT_EQ(lines[lines.size() - 2], "Sort finished|All files specified in the index have been sorted");
    EXPECT_EQ(lines.back(), "Sort summary|0 placed, 2 already there, 0 older, 2 not placed (no row), 0 failed");
    EXPECT_FALSE(FileExists(work / "Downloads\\FirefoxPortable_10.0_English.paf.exe"));
    EXPECT_FALSE(FileExists(work / "Downloads\\Games\\AssaultCubePortable_1.1.paf.exe"));
    ASSERT_TRUE(moving.Quit(&code));
    EXPECT_EQ(code, 0u);

    // The history has both lines of a twin, in the list's order.
    std::string history = ReadFileBytes(work / "Quillet.History.Log");
    size_t cannot = history.find("\tCannot move file\tFirefoxPortable_10.0_English.paf.exe  ");
    size_t removed = history.find("\tStatus\tTwin removed\tFirefoxPortable_10.0_English.paf.exe  its identical copy is in ");
    ASSERT_NE(cannot, std::string::npos);
    ASSERT_NE(removed, std::string::npos);
    EXPECT_LT(cannot, removed);
}

// With "own kind only", the leftover report of a PortableApps sort lists only
// PortableApps packages; a sort that leaves none of them keeps the listing
// the report held before.
TEST_F(SortExeTest, OwnKindOnlyKeepsOtherKindsOutOfTheLeftoverReport)
{
    WriteSettings("Copy", true);
    QuilletProcess first;
    std::vector<std::vector<std::string>> left = SortOnce(first);
    std::vector<std::vector<std::string>> own;
    for (const std::vector<std::string>& row : left) {
        if (row[1].size() > 8 && row[1].substr(row[1].size() - 8) == ".paf.exe")
            own.push_back(row);
    }
    EXPECT_EQ(Names(own), (std::vector<std::string>{"SomethingUnknown_1.0.paf.exe"}));
    std::string report = ReadFileBytes(work / "Quillet.Log");
    EXPECT_EQ(report, Listing(own));
    DWORD code = 99;
    ASSERT_TRUE(first.Quit(&code));

    WriteFileBytes(work / "Quillet.Catalogue.Ini", "[PortableApps]\r\nSomethingUnknown_ = _Mine\r\n");
    QuilletProcess second;
    left = SortOnce(second);
    EXPECT_EQ(Names(left), (std::vector<std::string>{"notes.apk"}));
    EXPECT_EQ(ReadFileBytes(work / "Quillet.Log"), report);
    ASSERT_TRUE(second.Quit(&code));
}
