// The history with the real Quillet.exe: a Move sort killed halfway is taken
// back after a restart, a copy whose record was cut short is kept, and a
// history file that cannot be written (here: held
// by a program that does not share writing; a read-only one is a journey's)
// costs one status line and nothing else.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "history/history_line.h"
#include "settings/settings_test_support.h"
#include "support/folder_link.h"
#include "support/quillet_process.h"
#include "support/temp_folder.h"
#include "util/file_identity.h"
#include "window/controls.h"

namespace {

class HistoryExeTest : public ::testing::Test {
protected:
    void WriteSettings()
    {
        WriteLiberKeySettings(work.path(), "Move", "Downloads\\", "Sorted\\");
    }

    // Files below the folder, counted; folders, when asked, too.
    static int CountBelow(const std::string& folder, bool folders = false)
    {
        int count = 0;
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE)
            return 0;
        do {
            std::string name = entry.cFileName;
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                count += name == TargetLockFileName ? 0 : 1;
            else if (name != "." && name != "..")
                count += (folders ? 1 : 0) + CountBelow(folder + name + "\\", folders);
        } while (FindNextFileA(find, &entry));
        FindClose(find);
        return count;
    }

    std::vector<std::string> StatusTitles(const QuilletProcess& quillet) const
    {
        std::vector<std::string> titles;
        for (const std::vector<std::string>& row : quillet.Rows(ListStatus))
            titles.push_back(row.empty() ? std::string() : row[0]);
        return titles;
    }

    TempFolder work;
};

}  // namespace

TEST_F(HistoryExeTest, MoveSortKilledHalfwayIsTakenBackAfterARestart)
{
    const int packages = 3000;
    for (int i = 0; i < packages; ++i)
        WriteFileBytes(work / ("Downloads\\" + std::string(i % 2 ? "Speccy_" : "Format_Factory_") + std::to_string(i)
                               + ".lks"),
                       std::to_string(i));
    WriteSettings();
    {
        QuilletProcess quillet;
        ASSERT_TRUE(quillet.Start(work.path()));
        ASSERT_NE(quillet.WaitUntilReady(60000), nullptr);
        PostMessageA(quillet.Control(ButtonSort), BM_CLICK, 0, 0);
        for (int waited = 0; waited < 60000 && CountBelow(work / "Sorted\\") < packages / 5; waited += 5)
            Sleep(5);
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, quillet.id());
        ASSERT_TRUE(TerminateProcess(process, 1));
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
    int moved = CountBelow(work / "Sorted\\");
    ASSERT_GT(moved, 0);
    ASSERT_LT(moved, packages) << "the sort ended before it was killed";

    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    HWND window = quillet.WaitUntilReady(60000);
    ASSERT_NE(window, nullptr);
    // What picking "Undo the last sort" in the lists' menu sends.
    ASSERT_TRUE(quillet.Command(CommandUndoSort, "Finished fetching", 120000));
    EXPECT_EQ(CountBelow(work / "Downloads\\"), packages);
    EXPECT_EQ(CountBelow(work / "Sorted\\", true), 0);
    DWORD code;
    EXPECT_TRUE(quillet.Quit(&code));
}

TEST_F(HistoryExeTest, HistoryHeldWithoutWriteSharingCostsOneLineAndTheSortCompletes)
{
    WriteFileBytes(work / "Downloads\\Speccy_1.16.lks", "speccy");
    WriteSettings();
    const std::string history = work / "Quillet.History.Log";
    WriteFileBytes(history, "kept as it is\r\n");
    HANDLE held = CreateFileA(history.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    ASSERT_NE(quillet.WaitUntilReady(), nullptr);
    size_t from = quillet.Rows(ListStatus).size();
    PostMessageA(quillet.Control(ButtonSort), BM_CLICK, 0, 0);
    ASSERT_TRUE(quillet.WaitForStatusLine("Sort finished", from));
    EXPECT_TRUE(FileExists(work / "Sorted\\_System utilities\\_Information\\_Inventory\\Speccy_1.16.lks"));

    std::vector<std::vector<std::string>> rows = quillet.Rows(ListStatus);
    std::vector<std::string> titles = StatusTitles(quillet);
    ASSERT_EQ(std::count(titles.begin(), titles.end(), "History not written"), 1);
    size_t fault = std::find(titles.begin(), titles.end(), "History not written") - titles.begin();
    EXPECT_EQ(titles[fault - 1], "Startup");
    EXPECT_EQ(rows[fault][1].rfind("<\xB0)))o><\xB2\xB3  " + history + "  ", 0), 0u) << rows[fault][1];
    EXPECT_GT(rows[fault][1].size(), 14 + history.size());
    DWORD code;
    EXPECT_TRUE(quillet.Quit(&code));
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(history), "kept as it is\r\n");
}

// Another program appends a sort of other folders to the history: moving a
// file of its choice out of one folder, deleting an identical file in
// another. The user's next Undo passes over both and takes back the user's
// own sort.
TEST_F(HistoryExeTest, AForgedSortIsPassedOverAndTheUsersOwnSortIsTakenBack)
{
    WriteFileBytes(work / "Downloads\\Speccy_1.16.lks", "speccy");
    WriteFileBytes(work / "Victim\\_C\\evil.lks", "victim's");
    WriteFileBytes(work / "Victim\\etc\\hosts.lks", "hosts");
    WriteFileBytes(work / "Away\\hosts.lks", "hosts");
    WriteSettings();
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    HWND window = quillet.WaitUntilReady();
    ASSERT_NE(window, nullptr);
    size_t from = quillet.Rows(ListStatus).size();
    PostMessageA(quillet.Control(ButtonSort), BM_CLICK, 0, 0);
    ASSERT_TRUE(quillet.WaitForStatusLine("Sort finished", from));

    std::string forged;
    for (const char* mode : {"Move", "Copy"}) {
        std::string file = mode[0] == 'M' ? "_C\\evil.lks" : "etc\\hosts.lks", run = std::string("F-") + mode;
        std::string time = std::string("2026-12-07 16:31:0") + (mode[0] == 'M' ? "1" : "2");
        WIN32_FILE_ATTRIBUTE_DATA data;
        GetFileAttributesExA((work / ("Victim\\" + file)).c_str(), GetFileExInfoStandard, &data);
        ULONGLONG stamp = (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
        forged += HistoryFramed(time + "\t" + run + "\tSort\tLiberKey\t" + mode + "\t" + work / "Away\\" + "\t"
                                + work / "Victim\\")
                  + HistoryFramed(time + "\t" + run + "\tPlaced\t0\tplaced\tLiberKey\t" + mode + "\t"
                                  + work / ("Away\\" + file.substr(file.find('\\') + 1)) + "\t"
                                  + work / ("Victim\\" + file) + "\t" + std::to_string(data.nFileSizeLow) + "\t"
                                  + std::to_string(stamp) + "\tno\tFile moved okay\tx");
    }
    WriteFileBytes(work / "Quillet.History.Log", ReadFileBytes(work / "Quillet.History.Log") + forged);
    from = quillet.Rows(ListStatus).size();
    ASSERT_TRUE(quillet.Command(CommandUndoSort, "Finished fetching"));
    std::vector<std::vector<std::string>> rows = quillet.Rows(ListStatus);
    ASSERT_GT(rows.size(), from + 2);
    for (size_t at : {from, from + 1})
        EXPECT_EQ(rows[at], (std::vector<std::string>{"Not undone", "<\xB0)))o><\xB2\xB3  2026-12-07 16:31:0"
                                                      + std::to_string(from + 2 - at)
                                                      + "  its folders are not the collection's folders now"}));
    EXPECT_EQ(ReadFileBytes(work / "Victim\\_C\\evil.lks"), "victim's");
    EXPECT_EQ(ReadFileBytes(work / "Victim\\etc\\hosts.lks"), "hosts");
    EXPECT_EQ(CountBelow(work / "Away\\"), 1);
    EXPECT_EQ(ReadFileBytes(work / "Downloads\\Speccy_1.16.lks"), "speccy");
    DWORD code;
    EXPECT_TRUE(quillet.Quit(&code));
}

// A Placed line added under the user's own sort, whose package path runs
// through a link in the source to a folder outside: the undo takes back the
// user's placement and moves nothing out through the link.
TEST_F(HistoryExeTest, UndoRefusesARecordWhosePackageFolderIsALinkOutOfTheSource)
{
    WriteFileBytes(work / "Downloads\\Speccy_1.16.lks", "speccy");
    MakeFolders(work / "Outside\\");
    FolderLink link(work / "Downloads", "link", "../Outside");
    if (!link.made())
        GTEST_SKIP() << "no folder links here";
    WriteSettings();
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    HWND window = quillet.WaitUntilReady();
    ASSERT_NE(window, nullptr);
    size_t from = quillet.Rows(ListStatus).size();
    PostMessageA(quillet.Control(ButtonSort), BM_CLICK, 0, 0);
    ASSERT_TRUE(quillet.WaitForStatusLine("Sort finished", from));

    const std::string folder = work / "Sorted\\_System utilities\\_Information\\_Inventory\\";
    WriteFileBytes(folder + "Speccy_9.lks", "planted");
    std::string history = ReadFileBytes(work / "Quillet.History.Log");
    size_t sortLine = history.find("\tSort\t");
    ASSERT_NE(sortLine, std::string::npos);
    size_t idStart = history.rfind('\t', sortLine - 1) + 1;
    std::string id = history.substr(idStart, sortLine - idStart);
    WIN32_FILE_ATTRIBUTE_DATA facts = {};
    ASSERT_TRUE(GetFileAttributesExA((folder + "Speccy_9.lks").c_str(), GetFileExInfoStandard, &facts));
    unsigned long long time = (static_cast<unsigned long long>(facts.ftLastWriteTime.dwHighDateTime) << 32)
                              | facts.ftLastWriteTime.dwLowDateTime;
    WriteFileBytes(work / "Quillet.History.Log",
                   history
                       + HistoryFramed("2026-12-07 16:30:05\t" + id + "\tPlaced\t7\tplaced\tLiberKey\tMove\t"
                                       + work / "Downloads\\link\\Speccy_9.lks\t" + folder + "Speccy_9.lks\t7\t"
                                       + std::to_string(time) + "\tno\tFile moved okay\tx"));

    from = quillet.Rows(ListStatus).size();
    ASSERT_TRUE(quillet.Command(CommandUndoSort, "Undo finished"));
    EXPECT_EQ(CountBelow(work / "Outside\\"), 0);
    EXPECT_EQ(ReadFileBytes(folder + "Speccy_9.lks"), "planted");
    EXPECT_EQ(ReadFileBytes(work / "Downloads\\Speccy_1.16.lks"), "speccy");
    std::vector<std::vector<std::string>> rows = quillet.Rows(ListStatus);
    EXPECT_EQ(std::count_if(rows.begin() + static_cast<long>(from), rows.end(),
                            [](const std::vector<std::string>& row) {
                                return row[0] == "Not undone" && row[1].find("Speccy_9.lks  ") != std::string::npos;
                            }),
              1);
    DWORD code;
    EXPECT_TRUE(quillet.Quit(&code));
}

TEST_F(HistoryExeTest, CopySortWhoseLastPlacedLineIsCutShortKeepsThatCopyAtTheUndo)
{
    WriteFileBytes(work / "Downloads\\Speccy_1.16.lks", "speccy");
    WriteFileBytes(work / "Downloads\\Format_Factory_2.90.lks", "format factory");
    WriteLiberKeySettings(work.path(), "Copy", "Downloads\\", "Sorted\\");
    const std::string history = work / "Quillet.History.Log";
    for (bool undo : {false, true}) {
        QuilletProcess quillet;
        ASSERT_TRUE(quillet.Start(work.path()));
        HWND window = quillet.WaitUntilReady(60000);
        ASSERT_NE(window, nullptr);
        size_t from = quillet.Rows(ListStatus).size();
        if (undo)
            PostMessageA(window, WM_COMMAND, CommandUndoSort, 0);
        else
            PostMessageA(quillet.Control(ButtonSort), BM_CLICK, 0, 0);
        ASSERT_TRUE(quillet.WaitForStatusLine(undo ? "Finished fetching" : "Sort finished", from, 60000));
        std::vector<std::string> titles = StatusTitles(quillet);
        EXPECT_EQ(std::count(titles.begin() + static_cast<long>(from), titles.end(), "Not undone"), undo ? 1 : 0);
        DWORD code;
        EXPECT_TRUE(quillet.Quit(&code));
        if (undo)
            break;
        // Cut inside the status title of the last line after a copy, as a power cut would.
        std::string text = ReadFileBytes(history);
        size_t placed = text.rfind("\tPlaced\t");
        ASSERT_NE(placed, std::string::npos);
        WriteFileBytes(history, text.substr(0, text.find("\tFile co", placed) + 8));
    }
    EXPECT_EQ(CountBelow(work / "Sorted\\"), 1);
    EXPECT_EQ(CountBelow(work / "Downloads\\"), 2);
}

TEST_F(HistoryExeTest, OlderVersionsArePreviewedPutAsideAndTakenBackByOneUndo)
{
    WriteSettings();
    MakeFolders(work / "Downloads\\");
    const std::string internet = work / "Sorted\\_Internet\\";
    const std::string aside = work / "Sorted\\_Older versions\\_Internet\\";
    WriteFileBytes(internet + "FirefoxPortable_131.0.paf.exe", "131");
    WriteFileBytes(internet + "FirefoxPortable_132.0.1.paf.exe", "132");
    WriteFileBytes(internet + "FirefoxPortable_133.0.paf.exe", "133");
    WriteFileBytes(work / "Sorted\\_Audio\\_Converter\\Format_Factory_2.0.lks", "two");
    WriteFileBytes(work / "Sorted\\_Audio\\_Converter\\Format_Factory_1.0_x64.lks", "one, x64");
    WriteFileBytes(work / "Sorted\\_Video\\VLC_3.0.apk", "3.0");
    WriteFileBytes(work / "Sorted\\_Video\\vlc_3.0.0.APK", "3.0.0");
    WriteFileBytes(aside + "FirefoxPortable_98.paf.exe", "98");
    WriteFileBytes(aside + "FirefoxPortable_99.paf.exe", "99");
    const std::vector<std::string> before = DiskListing(work / "Sorted\\");

    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    HWND window = quillet.WaitUntilReady();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(quillet.Command(CommandPreviewOlder, "Older versions"));
    EXPECT_EQ(quillet.Rows(ListStatus).back()[1], "<\xB0)))o><\xB2\xB3  2 would be put aside from 1 app in 1 folder");
    const std::vector<std::vector<std::string>> older = {{"_Internet", "FirefoxPortable_131.0.paf.exe", "Older"},
                                                         {"_Internet", "FirefoxPortable_132.0.1.paf.exe", "Older"}};
    EXPECT_EQ(quillet.Rows(ListSorted), older);
    EXPECT_EQ(DiskListing(work / "Sorted\\"), before);

    ASSERT_TRUE(quillet.Command(CommandPutOlderAside, "Older versions"));
    EXPECT_EQ(quillet.Rows(ListStatus).back()[1], "<\xB0)))o><\xB2\xB3  2 put aside from 1 app in 1 folder");
    EXPECT_EQ(ReadFileBytes(aside + "FirefoxPortable_131.0.paf.exe"), "131");
    EXPECT_EQ(ReadFileBytes(aside + "FirefoxPortable_132.0.1.paf.exe"), "132");
    std::vector<std::string> after = DiskListing(work / "Sorted\\");
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(std::count(after.begin(), after.end(), "_Internet\\FirefoxPortable_133.0.paf.exe=133"), 1);

    ASSERT_TRUE(quillet.Command(CommandUndoSort, "Finished fetching"));
    EXPECT_EQ(DiskListing(work / "Sorted\\"), before);
    PostMessageA(window, WM_COMMAND, CommandOlderAfterSort, 0);
    DWORD code;
    EXPECT_TRUE(quillet.Quit(&code));
    EXPECT_NE(ReadFileBytes(work / "Quillet.Ini").find("Older Versions Aside"), std::string::npos);
}

// A Move sort with older versions put aside after each sort: the preview
// says "Older" for the downloads older than a version in their folders, the
// sort puts one into the _Older versions counterpart of its folder and removes
// the other, whose identical copy already lies there, so the downloads end
// empty; one undo brings every file back as it was, byte for byte.
TEST_F(HistoryExeTest, AMovePutsOlderVersionsAsideAndOneUndoBringsEverythingBack)
{
    WriteSettings();
    std::string ticked = ReadFileBytes(work / "Quillet.Ini");
    ticked.insert(ticked.find("[Program Options]\r\n") + 19, "Older Versions Aside = Yes\r\n");
    WriteFileBytes(work / "Quillet.Ini", ticked);
    const std::string inventory = "_System utilities\\_Information\\_Inventory\\";
    WriteFileBytes(work / "Sorted\\_Audio\\_Converter\\Format_Factory_3.0.lks", "3.0");
    WriteFileBytes(work / "Sorted\\" + inventory + "Speccy_1.20.lks", "1.20");
    WriteFileBytes(work / "Sorted\\_Older versions\\" + inventory + "Speccy_1.10.lks", "1.10");
    WriteFileBytes(work / "Downloads\\Format_Factory_2.0.lks", "2.0");
    WriteFileBytes(work / "Downloads\\Speccy_1.10.lks", "1.10");
    WriteFileBytes(work / "Downloads\\Audacity_2.4.lks", "audacity");
    const std::vector<std::string> downloads = DiskListing(work / "Downloads\\");
    const std::vector<std::string> sorted = DiskListing(work / "Sorted\\");

    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    ASSERT_NE(quillet.WaitUntilReady(), nullptr);
    ASSERT_TRUE(quillet.Command(CommandPreviewSort, "Sort preview"));
    std::vector<std::vector<std::string>> rows = quillet.Rows(ListSorted);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{{"_Audio\\_Converter", "Format_Factory_2.0.lks", "Older"},
                                                           {"_Audio\\_Editor", "Audacity_2.4.lks", "Move"},
                                                           {inventory.substr(0, inventory.size() - 1),
                                                            "Speccy_1.10.lks", "Older"}}));
    EXPECT_EQ(DiskListing(work / "Downloads\\"), downloads);
    EXPECT_EQ(DiskListing(work / "Sorted\\"), sorted);

    size_t from = quillet.Rows(ListStatus).size();
    PostMessageA(quillet.Control(ButtonSort), BM_CLICK, 0, 0);
    // The run after each sort ends with its summary line.
    ASSERT_TRUE(quillet.WaitForStatusLine("Older versions", from));
    EXPECT_EQ(CountBelow(work / "Downloads\\"), 0);
    EXPECT_EQ(ReadFileBytes(work / "Sorted\\_Older versions\\_Audio\\_Converter\\Format_Factory_2.0.lks"), "2.0");
    EXPECT_EQ(ReadFileBytes(work / "Sorted\\_Audio\\_Editor\\Audacity_2.4.lks"), "audacity");
    std::vector<std::string> titles = StatusTitles(quillet);
    EXPECT_EQ(std::count(titles.begin() + static_cast<long>(from), titles.end(), "Older version put aside"), 2);

    ASSERT_TRUE(quillet.Command(CommandUndoSort, "Finished fetching"));
    EXPECT_EQ(DiskListing(work / "Downloads\\"), downloads);
    EXPECT_EQ(DiskListing(work / "Sorted\\"), sorted);
    DWORD code;
    EXPECT_TRUE(quillet.Quit(&code));
}

// A copy the sort placed, replaced afterwards by a link to an identical file
// outside the target (same bytes, size and time): the undo takes the link for
// no copy of its own, deletes nothing, and says why.
TEST_F(HistoryExeTest, UndoLeavesAFileOutsideThatALinkInPlaceOfTheCopyLeadsTo)
{
    WriteFileBytes(work / "Downloads\\Speccy_1.16.lks", "speccy");
    WriteLiberKeySettings(work.path(), "Copy", "Downloads\\", "Sorted\\");
    const std::string category = work / "Sorted\\_System utilities\\_Information\\_Inventory\\";
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    ASSERT_NE(quillet.WaitUntilReady(), nullptr);
    size_t from = quillet.Rows(ListStatus).size();
    PostMessageA(quillet.Control(ButtonSort), BM_CLICK, 0, 0);
    ASSERT_TRUE(quillet.WaitForStatusLine("Sort finished", from));
    ASSERT_EQ(ReadFileBytes(category + "Speccy_1.16.lks"), "speccy");
    // The copy itself goes outside (keeping its time), a link takes its place.
    MakeFolders(work / "Outside");
    ASSERT_TRUE(UnixRename(work.path(), "Sorted\\_System utilities\\_Information\\_Inventory\\Speccy_1.16.lks",
                           "Outside\\Speccy_1.16.lks"));
    FolderLink link(category, "Speccy_1.16.lks", "../../../../Outside/Speccy_1.16.lks");
    ASSERT_TRUE(link.made());

    ASSERT_TRUE(quillet.Command(CommandUndoSort, "Finished fetching"));
    EXPECT_EQ(ReadFileBytes(work / "Outside\\Speccy_1.16.lks"), "speccy");
    EXPECT_EQ(ReadFileBytes(work / "Downloads\\Speccy_1.16.lks"), "speccy");
    std::vector<std::vector<std::string>> rows = quillet.Rows(ListStatus);
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [&](const std::vector<std::string>& row) {
        return row[0] == "Not undone"
               && row[1].find("Speccy_1.16.lks  the file in " + category + " is not the one this sort placed")
                      != std::string::npos;
    }));
    DWORD code;
    EXPECT_TRUE(quillet.Quit(&code));
}

// A Move killed right after its rename (its line before the rename is the
// sort's last, no line after it), and then the placed file replaced by the
// user's own build of the same name: the undo takes that file for no
// placement of the sort's, leaves it, and says why.
TEST_F(HistoryExeTest, AKilledMoveIsCreditedOnlyWithItsOwnFile)
{
    WriteFileBytes(work / "Downloads\\Speccy_1.16.lks", "speccy");
    WriteSettings();
    const std::string placed = work / "Sorted\\_System utilities\\_Information\\_Inventory\\Speccy_1.16.lks";
    FileIdentity package;
    DWORD error = 0;
    ASSERT_TRUE(FileIdentityRead(work / "Downloads\\Speccy_1.16.lks", &package, &error));
    ASSERT_TRUE(MoveFileA((work / "Downloads\\Speccy_1.16.lks").c_str(), (work / "elsewhere.lks").c_str()));
    WriteFileBytes(placed, "the user's own build");
    const std::string run = "5F000000-1-2", time = "2026-12-07 16:30:05\t";
    WriteFileBytes(work / "Quillet.History.Log",
                   HistoryFramed(time + run + "\tSort\tLiberKey\tMove\t" + work / "Downloads\\" + "\t" + work / "Sorted\\")
                       + HistoryFramed(time + run + "\tPlace\t0\tLiberKey\tMove\t" + work / "Downloads\\Speccy_1.16.lks"
                                       + "\t" + placed + "\t" + std::to_string(package.size) + "\t"
                                       + std::to_string(package.lastWriteTime) + "\t" + std::to_string(package.volume)
                                       + "\t" + std::to_string(package.index)));
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    ASSERT_NE(quillet.WaitUntilReady(), nullptr);
    ASSERT_TRUE(quillet.Command(CommandUndoSort, "Finished fetching"));
    EXPECT_EQ(ReadFileBytes(placed), "the user's own build");
    EXPECT_FALSE(FileExists(work / "Downloads\\Speccy_1.16.lks"));
    std::vector<std::vector<std::string>> rows = quillet.Rows(ListStatus);
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const std::vector<std::string>& row) {
        return row[0] == "Not undone" && row[1].find("Speccy_1.16.lks  the file there is not the one this sort placed")
                                             != std::string::npos;
    }));
    DWORD code;
    EXPECT_TRUE(quillet.Quit(&code));
}

// The history names a dead run's staging folder: the start settles it only
// where the history proves it the run's own (the folder its sort's target
// gives, this computer, a process no longer there); a line that names a
// folder outside the collection's target, or another computer's, is no
// evidence.
TEST_F(HistoryExeTest, AStartSettlesOnlyTheStagingFolderTheHistoryProvesADeadRunsOwn)
{
    WriteSettings();
    char computer[64];
    DWORD length = sizeof computer;
    ASSERT_TRUE(GetComputerNameA(computer, &length));
    const std::string sort = "5F000000-1-2", time = "2026-12-07 16:30:05\t";
    auto staging = [&](const std::string& run, const std::string& folder, const std::string& host) {
        return HistoryFramed(time + run + "\tStaging\t" + folder + "\t" + host + "\t4000000000\t1\t" + sort);
    };
    const std::string own = work / ("Sorted\\~Quillet-" + std::string(computer) + "-" + sort);
    const std::string outside = work / ("Outside\\~Quillet-" + std::string(computer) + "-5F000000-1-3");
    const std::string other = work / ("Sorted\\~Quillet-OTHERHOST-5F000000-1-4");
    for (const std::string& folder : {own, outside, other})
        WriteFileBytes(folder + "\\1.tmp", "a piece");
    WriteFileBytes(work / "Quillet.History.Log",
                   HistoryFramed(time + sort + "\tSort\tLiberKey\tCopy\t" + work / "Downloads\\" + "\t" + work / "Sorted\\")
                       + staging(sort, own, computer) + staging("5F000000-1-3", outside, computer)
                       + staging("5F000000-1-4", other, "OTHERHOST"));
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    ASSERT_NE(quillet.WaitUntilReady(), nullptr);
    EXPECT_FALSE(FolderExists(own));
    EXPECT_EQ(ReadFileBytes(outside + "\\1.tmp"), "a piece");
    EXPECT_EQ(ReadFileBytes(other + "\\1.tmp"), "a piece");
    std::vector<std::string> titles = StatusTitles(quillet);
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "Piece removed"), 1);
    DWORD code;
    EXPECT_TRUE(quillet.Quit(&code));
}
