#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/event_loop.h"
#include "app/sort_steps.h"
#include "file_acts/act_refusals.h"
#include "place/package_file_ops.h"
#include "place/placement_checks.h"
#include "place/sort_shared.h"
#include "place/staging_folder.h"
#include "settings/settings_test_support.h"
#include "support/code_page_932.h"
#include "support/folder_link.h"
#include "support/small_volume.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "util/file_facts.h"
#include "util/system_error.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/main_window.h"
#include "window/status_list.h"

namespace {

// A status line as the status list shows it: the explanation ends at its
// first line feed.
std::string ExpectedLine(Activity key, const std::string& detail = std::string())
{
    ActivityText line = ActivityLineText(key, detail);
    return StatusLine(line.title, line.explanation.substr(0, line.explanation.find('\n')));
}

std::string CannotMoveLine(const std::string& fileName, DWORD error)
{
    return ExpectedLine(Activity::CannotMove, fileName + "  " + SystemErrorText(error));
}

}  // namespace

class RunSortTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        app.TitleBanner = "Quillet - ";
        app.LogFilePath = temp / "Quillet.Log";
        app.Settings.LastIndex = "LiberKey";
        app.Settings.CopyOrMove = "Copy";
        app.Settings.DumpLeftOvers = "No";
        app.IndexList = {{"_Audio\\_Converter", "Format_"},
                         {"_Office\\_Diagram_Editor", "Dia_"},
                         {"_Video\\_Player", "VLC_media_player_"}};
        app.ActiveSource = Source();
        app.ActiveTarget = Target();
    }

    std::string Source() const { return temp / "In\\"; }
    std::string Target() const { return temp / "Out\\"; }

    // Lays a package into the source tree and lists it as the fetch does.
    void ListPackage(const std::string& fileName, const std::string& bytes = "package",
                     const std::string& subFolder = std::string())
    {
        std::string folder = Source() + subFolder;
        WriteFileBytes(folder + fileName, bytes);
        ListAddRow(ListFiles, -1, folder + "\n" + fileName);
    }

    std::vector<std::string> FileRows() const { return ListRows(ListFiles, 2); }

    TempFolder temp;
};

TEST_F(RunSortTest, EmptySourceOrTargetAbortsWithOneLine)
{
    app.Settings.DumpLeftOvers = "Yes";
    ListPackage("Format_Factory_2.7.lks");
    for (std::string AppState::*emptied : {&AppState::ActiveSource, &AppState::ActiveTarget}) {
        app.ActiveSource = Source();
        app.ActiveTarget = Target();
        app.*emptied = "";
        RunSort(app);
    }
    EXPECT_EQ(StatusLines(),
              (std::vector<std::string>{ExpectedLine(Activity::SortAborted), ExpectedLine(Activity::SortAborted)}));
    EXPECT_FALSE(FolderExists(Target()));
    EXPECT_EQ(ListCountRows(ListFiles), 1);
    EXPECT_FALSE(FileExists(app.LogFilePath));
}

TEST_F(RunSortTest, EqualFoldersAreDisallowedButLetterCaseMakesThemDiffer)
{
    ListPackage("Format_Factory_2.7.lks");
    app.ActiveTarget = Source();
    RunSort(app);
    EXPECT_EQ(StatusLines(), (std::vector<std::string>{ExpectedLine(Activity::SortDisallowed)}));
    EXPECT_EQ(ListCountRows(ListFiles), 1);

    std::string upper = Source();
    CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    app.ActiveTarget = upper;
    RunSort(app);
    EXPECT_TRUE(FileExists(Source() + "_Audio\\_Converter\\Format_Factory_2.7.lks"));
    EXPECT_EQ(StatusLines()[StatusLines().size() - 2], ExpectedLine(Activity::SortFinished));

    // The copy just made, listed again, is its own destination: not copied onto itself.
    ListPackage("Format_Factory_2.7.lks", "package", "_Audio\\_Converter\\");
    RunSort(app);
    EXPECT_EQ(StatusLines()[StatusLines().size() - 3], ExpectedLine(Activity::CannotCopy, "Format_Factory_2.7.lks"));
}

TEST_F(RunSortTest, CopyPlacesAPackageIntoEveryMatchingCategory)
{
    ListPackage("Unknown_1.0.lks");
    ListPackage("VLC_media_player_1.1.11.lks", "vlc bytes");
    ListPackage("Other_2.0.lks");
    RunSort(app);

    EXPECT_EQ(ReadFileBytes(Target() + "_Office\\_Diagram_Editor\\VLC_media_player_1.1.11.lks"), "vlc bytes");
    EXPECT_EQ(ReadFileBytes(Target() + "_Video\\_Player\\VLC_media_player_1.1.11.lks"), "vlc bytes");
    EXPECT_TRUE(FileExists(Source() + "VLC_media_player_1.1.11.lks"));
    EXPECT_EQ(ListRows(ListSorted, 3), (std::vector<std::string>{"_Office\\_Diagram_Editor|Dia_|Okay",
                                                            "_Video\\_Player|VLC_media_player_|Okay"}));
    EXPECT_EQ(FileRows(), (std::vector<std::string>{Source() + "|Unknown_1.0.lks", Source() + "|Other_2.0.lks"}));
    EXPECT_EQ(GetWindowTitle(), "Quillet - 2 VLC_media_player_1.1.11.lks");
    EXPECT_EQ(StatusLines(), (std::vector<std::string>{ExpectedLine(Activity::FileCopied, "VLC_media_player_1.1.11.lks"),
                                                       ExpectedLine(Activity::FileCopied, "VLC_media_player_1.1.11.lks"),
                                                       ExpectedLine(Activity::SortFinished),
                                                       ExpectedLine(Activity::SortSummary, "2 placed, 0 already there, 0 older, 2 not placed (no row), 0 failed")}));
    // Folders are made only for entries that matched.
    EXPECT_FALSE(FolderExists(Target() + "_Audio"));
}

TEST_F(RunSortTest, MovePlacesIntoTheFirstMatchAndReportsTheSecond)
{
    app.Settings.CopyOrMove = "Move";
    ListPackage("VLC_media_player_1.1.11.lks", "vlc bytes");
    ListPackage("Other_2.0.lks");
    RunSort(app);

    EXPECT_EQ(ReadFileBytes(Target() + "_Office\\_Diagram_Editor\\VLC_media_player_1.1.11.lks"), "vlc bytes");
    EXPECT_FALSE(FileExists(Source() + "VLC_media_player_1.1.11.lks"));
    EXPECT_TRUE(FolderExists(Target() + "_Video\\_Player"));
    EXPECT_FALSE(FileExists(Target() + "_Video\\_Player\\VLC_media_player_1.1.11.lks"));
    EXPECT_EQ(ListRows(ListSorted, 3), (std::vector<std::string>{"_Office\\_Diagram_Editor|Dia_|Okay"}));
    EXPECT_EQ(FileRows(), (std::vector<std::string>{Source() + "|Other_2.0.lks"}));
    EXPECT_EQ(GetWindowTitle(), "Quillet - 1 VLC_media_player_1.1.11.lks");
    EXPECT_EQ(StatusLines(),
              (std::vector<std::string>{ExpectedLine(Activity::FileMoved, "VLC_media_player_1.1.11.lks"),
                                        CannotMoveLine("VLC_media_player_1.1.11.lks", ERROR_FILE_NOT_FOUND),
                                        ExpectedLine(Activity::SortFinished),
                                        ExpectedLine(Activity::SortSummary, "1 placed, 0 already there, 0 older, 1 not placed (no row), 0 failed")}));
}

TEST_F(RunSortTest, SortOfSomeRowsLeavesTheOthersAndCountsOnlyRealFailures)
{
    app.Settings.CopyOrMove = "Move";
    ListPackage("Format_1.lks", "format");
    ListPackage("VLC_media_player_1.1.11.lks", "vlc");
    ListPackage("Dia_gone.lks");
    DeleteFileA((Source() + "Dia_gone.lks").c_str());
    SortOutcome outcome = RunSortOfRows(app, {1, 2});

    // The second row of the moved VLC package fails as every such row does;
    // only the vanished package counts as failed.
    EXPECT_TRUE(outcome.sorted);
    EXPECT_EQ(outcome.failed, 1);
    EXPECT_EQ(ReadFileBytes(Target() + "_Office\\_Diagram_Editor\\VLC_media_player_1.1.11.lks"), "vlc");
    EXPECT_EQ(ReadFileBytes(Source() + "Format_1.lks"), "format");
    EXPECT_EQ(FileRows(), (std::vector<std::string>{Source() + "|Format_1.lks", Source() + "|Dia_gone.lks"}));
    // The summary counts the rows given; the Format package among them is
    // one no row of this index names.
    EXPECT_EQ(StatusLines().back(), ExpectedLine(Activity::SortSummary, "1 placed, 0 already there, 0 older, 0 not placed (no row), 1 failed"));

    app.Settings.CopyOrMove = "move";
    EXPECT_FALSE(RunSortOfRows(app, {0}).sorted);
}

TEST_F(RunSortTest, TwoEntriesOfOneCategoryInMoveRemoveNoFurtherRow)
{
    app.Settings.CopyOrMove = "Move";
    app.IndexList = {{"_Games", "AssaultCubePortable_"}, {"_Games", "CubePortable_"}};
    ListPackage("Keep_1.paf.exe");
    ListPackage("AssaultCubePortable_1.1.paf.exe", "cube");
    RunSort(app);

    EXPECT_EQ(ReadFileBytes(Target() + "_Games\\AssaultCubePortable_1.1.paf.exe"), "cube");
    EXPECT_EQ(FileRows(), (std::vector<std::string>{Source() + "|Keep_1.paf.exe"}));
    EXPECT_EQ(ListCountRows(ListSorted), 1);
    EXPECT_EQ(StatusLines()[1].rfind("Cannot move file|", 0), 0u);
}

TEST_F(RunSortTest, NestedCategoryIsCreatedLevelByLevelAndLetterCaseIgnored)
{
    app.IndexList = {{"_System utilities\\_Information\\_Inventory", "Speccy_"}};
    ListPackage("sPECCY_1.15.LKS", "speccy", "Downloads\\Deep\\");
    RunSort(app);
    EXPECT_EQ(ReadFileBytes(Target() + "_System utilities\\_Information\\_Inventory\\sPECCY_1.15.LKS"), "speccy");
    EXPECT_EQ(StatusLines()[0], ExpectedLine(Activity::FileCopied, "sPECCY_1.15.LKS"));
    EXPECT_EQ(ListCountRows(ListFiles), 0);
}

TEST_F(RunSortTest, CopyModeNeitherCopyNorMoveOnlyMakesTheFolders)
{
    app.Settings.CopyOrMove = "copy";
    ListPackage("VLC_media_player_1.1.11.lks");
    SetWindowTitle("before");
    RunSort(app);
    EXPECT_TRUE(FolderExists(Target() + "_Office\\_Diagram_Editor"));
    EXPECT_TRUE(FolderExists(Target() + "_Video\\_Player"));
    EXPECT_FALSE(FileExists(Target() + "_Video\\_Player\\VLC_media_player_1.1.11.lks"));
    EXPECT_TRUE(FileExists(Source() + "VLC_media_player_1.1.11.lks"));
    EXPECT_EQ(ListCountRows(ListFiles), 1);
    EXPECT_EQ(ListCountRows(ListSorted), 0);
    EXPECT_EQ(GetWindowTitle(), "before");
    EXPECT_EQ(StatusLines(), (std::vector<std::string>{ExpectedLine(Activity::SortFinished),
                                                       ExpectedLine(Activity::SortSummary, "0 placed, 0 already there, 0 older, 0 not placed (no row), 0 failed")}));
}

TEST_F(RunSortTest, PackageThatVanishedAfterTheFetchFailsAndStaysListed)
{
    ListPackage("Format_Factory_2.7.lks");
    DeleteFileA((Source() + "Format_Factory_2.7.lks").c_str());
    // A copy that fails at its source never reached the destination: an
    // older copy there is the user's and stays.
    std::string older = Target() + "_Audio\\_Converter\\Format_Factory_2.7.lks";
    WriteFileBytes(older, "older copy");
    RunSort(app);
    app.Settings.CopyOrMove = "Move";
    RunSort(app);

    EXPECT_EQ(ReadFileBytes(older), "older copy");
    EXPECT_EQ(ListCountRows(ListFiles), 1);
    EXPECT_EQ(ListCountRows(ListSorted), 0);
    const std::string failed = "0 placed, 0 already there, 0 older, 0 not placed (no row), 1 failed";
    EXPECT_EQ(StatusLines(), (std::vector<std::string>{ExpectedLine(Activity::CannotCopy, "Format_Factory_2.7.lks"),
                                                       ExpectedLine(Activity::SortFinished),
                                                       ExpectedLine(Activity::SortSummary, failed),
                                                       CannotMoveLine("Format_Factory_2.7.lks", ERROR_FILE_NOT_FOUND),
                                                       ExpectedLine(Activity::SortFinished),
                                                       ExpectedLine(Activity::SortSummary, failed)}));
}

TEST_F(RunSortTest, RowsAreWalkedFromTheBottomAndOnlyPlacedOnesLeave)
{
    ListPackage("Format_A_1.lks", "a", "One\\");
    ListPackage("Stays_1.lks");
    ListPackage("Format_B_1.lks", "b", "Two\\");
    ListPackage("Stays_2.lks");
    RunSort(app);
    EXPECT_EQ(FileRows(), (std::vector<std::string>{Source() + "|Stays_1.lks", Source() + "|Stays_2.lks"}));
    EXPECT_EQ(ListRows(ListSorted, 3), (std::vector<std::string>{"_Audio\\_Converter|Format_|Okay",
                                                            "_Audio\\_Converter|Format_|Okay"}));
    EXPECT_EQ(StatusLines()[0], ExpectedLine(Activity::FileCopied, "Format_B_1.lks"));
    EXPECT_EQ(GetWindowTitle(), "Quillet - 2 Format_A_1.lks");
    EXPECT_EQ(ReadFileBytes(Target() + "_Audio\\_Converter\\Format_A_1.lks"), "a");
}

TEST_F(RunSortTest, SecondRunWithoutAFetchCountsFromOneAndKeepsTheSortedRows)
{
    ListPackage("Format_Factory_2.7.lks");
    ListPackage("Unknown_1.0.lks");
    RunSort(app);
    app.IndexList.push_back({"_Misc", "Unknown_"});
    RunSort(app);

    EXPECT_EQ(ListCountRows(ListFiles), 0);
    EXPECT_EQ(ListRows(ListSorted, 3),
              (std::vector<std::string>{"_Audio\\_Converter|Format_|Okay", "_Misc|Unknown_|Okay"}));
    EXPECT_EQ(GetWindowTitle(), "Quillet - 1 Unknown_1.0.lks");
}

TEST_F(RunSortTest, NewestSortedRowIsScrolledIntoView)
{
    for (int row = 0; row < 100; ++row)
        ListAddRow(ListSorted, -1, "_Earlier\nEarlier_\nOkay");
    ListPackage("Format_Factory_2.7.lks");
    RunSort(app);

    HWND sorted = ControlWindow(ListSorted);
    int top = static_cast<int>(SendMessageA(sorted, LVM_GETTOPINDEX, 0, 0));
    int perPage = static_cast<int>(SendMessageA(sorted, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_GT(top, 0);
    EXPECT_LE(100, top + perPage - 1);
}

TEST_F(RunSortTest, TargetWithoutFinalBackslashIsGluedToTheCategory)
{
    app.ActiveTarget = temp / "Sorted";
    app.IndexList = {{"_Games", "AssaultCubePortable_"}};
    ListPackage("AssaultCubePortable_1.1.paf.exe");
    RunSort(app);
    EXPECT_TRUE(FileExists(temp / "Sorted_Games\\AssaultCubePortable_1.1.paf.exe"));
}

// A category folder that leads out of the target: the copy is refused by
// Quillet itself, not by the system. "Cannot copy file" keeps its form, and
// one line after it says why; "Cannot move file" takes the words as its
// reason, which the system has no text for.
TEST_F(RunSortTest, ARefusalOfItsOwnIsSaidInWords)
{
    MakeFolders(temp / "Elsewhere");
    MakeFolders(Target() + "_Audio");
    FolderLink link(Target() + "_Audio", "_Converter", "../../Elsewhere");
    ASSERT_TRUE(link.made());
    const std::string reason = "a link or a folder on its way leads outside the folders chosen";
    ListPackage("Format_Factory_2.7.lks");
    RunSort(app);
    ASSERT_GE(StatusLines().size(), 2u);
    EXPECT_EQ(StatusLines()[0], ExpectedLine(Activity::CannotCopy, "Format_Factory_2.7.lks"));
    EXPECT_EQ(StatusLines()[1], ExpectedLine(Activity::CopyRefused, "Format_Factory_2.7.lks  " + reason));
    app.Settings.CopyOrMove = "Move";
    RunSort(app);
    EXPECT_EQ(StatusLines()[4], ExpectedLine(Activity::CannotMove, "Format_Factory_2.7.lks  " + reason));
    EXPECT_EQ(FolderEntries(temp / "Elsewhere\\"), std::set<std::string>{});
}

TEST_F(RunSortTest, CopyOverwritesAFileOfTheSameName)
{
    WriteFileBytes(Target() + "_Audio\\_Converter\\Format_Factory_2.7.lks", "older and longer bytes");
    // What a killed copy over a file of an earlier version left beside it:
    // no record of this history names it, so it is the user's to delete.
    std::string piece = Target() + "_Audio\\_Converter\\qlt1F.tmp";
    WriteFileBytes(piece, "a piece");
    ListPackage("Format_Factory_2.7.lks", "new");
    RunSort(app);
    EXPECT_EQ(ReadFileBytes(Target() + "_Audio\\_Converter\\Format_Factory_2.7.lks"), "new");
    EXPECT_EQ(StatusLines()[0], ExpectedLine(Activity::FileCopied, "Format_Factory_2.7.lks"));
    EXPECT_EQ(FolderEntries(Target() + "_Audio\\_Converter\\"),
              (std::set<std::string>{"Format_Factory_2.7.lks", "qlt1F.tmp"}));
}

TEST_F(RunSortTest, MoveOntoAnIdenticalFileDropsTheSourceAndItsRow)
{
    app.Settings.CopyOrMove = "Move";
    WriteFileBytes(Target() + "_Audio\\_Converter\\Format_Factory_2.7.lks", "same bytes");
    ListPackage("Format_Factory_2.7.lks", "same bytes");
    SetWindowTitle("before");
    RunSort(app);

    EXPECT_FALSE(FileExists(Source() + "Format_Factory_2.7.lks"));
    EXPECT_EQ(ReadFileBytes(Target() + "_Audio\\_Converter\\Format_Factory_2.7.lks"), "same bytes");
    EXPECT_EQ(ListCountRows(ListFiles), 0);
    EXPECT_EQ(ListCountRows(ListSorted), 0);
    EXPECT_EQ(GetWindowTitle(), "before");
    EXPECT_EQ(StatusLines()[0], CannotMoveLine("Format_Factory_2.7.lks", ERROR_ALREADY_EXISTS));
}

TEST_F(RunSortTest, MoveOntoADifferentFileKeepsTheSourceAndItsRow)
{
    app.Settings.CopyOrMove = "Move";
    std::string package(100000, 'p');
    // A copy cut short by an earlier run, then another file of that name.
    for (const std::string& there : {package.substr(0, 4096), std::string(100000, 'q')}) {
        WriteFileBytes(Target() + "_Audio\\_Converter\\Format_Factory_2.7.lks", there);
        ListRemoveAllRows(ListFiles);
        ListPackage("Format_Factory_2.7.lks", package);
        RunSort(app);

        EXPECT_EQ(ReadFileBytes(Source() + "Format_Factory_2.7.lks"), package);
        EXPECT_EQ(ReadFileBytes(Target() + "_Audio\\_Converter\\Format_Factory_2.7.lks"), there);
        EXPECT_EQ(FileRows(), (std::vector<std::string>{Source() + "|Format_Factory_2.7.lks"}));
        EXPECT_EQ(StatusLines()[StatusLines().size() - 3],
                  CannotMoveLine("Format_Factory_2.7.lks", ERROR_ALREADY_EXISTS));
    }
}

// Wine makes 8.3 names as Windows does, and opens a file by its short name:
// a package carrying the short name of another file at its destination.
TEST_F(RunSortTest, APackageNamedAsAnotherFilesShortNameNeverTakesThatFilesPlace)
{
    const std::string longFile = Target() + "_Audio\\_Converter\\Format_Factory_Long_Name_2.90.lks";
    WriteFileBytes(longFile, "same bytes");
    char shortPath[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(longFile.c_str(), shortPath, MAX_PATH), 0u);
    std::string alias = shortPath;
    alias = alias.substr(alias.rfind('\\') + 1);
    ASSERT_NE(alias, "Format_Factory_Long_Name_2.90.lks") << "no short name made";
    app.IndexList = {{"_Audio\\_Converter", "~"}};
    for (const char* mode : {"Move", "Copy"}) {
        app.Settings.CopyOrMove = mode;
        ListRemoveAllRows(ListFiles);
        ListPackage(alias, mode[0] == 'M' ? "same bytes" : "other bytes");
        RunSort(app);
        EXPECT_EQ(ReadFileBytes(longFile), "same bytes") << mode;
        EXPECT_TRUE(FileExists(Source() + alias)) << mode;
        EXPECT_EQ(FileRows(), (std::vector<std::string>{Source() + "|" + alias})) << mode;
    }
    EXPECT_EQ(StatusLines()[0], ExpectedLine(Activity::CannotMove, alias + "  another file stands there"));
    EXPECT_EQ(StatusLines()[3], ExpectedLine(Activity::CannotCopy, alias));
}

TEST_F(RunSortTest, CopyCutShortByAFullVolumeLeavesNoPieceAndKeepsAnOlderCopy)
{
    SmallVolume volume(temp.path(), "Out");
    if (!volume.mounted())
        GTEST_SKIP() << "no small volume can be mounted here";
    app.IndexList.push_back({"_Fresh", "Format_"});
    std::string older(30000, 'o'), kept = Target() + "_Audio\\_Converter\\Format_Factory_2.7.lks";
    WriteFileBytes(kept, older);
    ListPackage("Format_Factory_2.7.lks", std::string(200000, 'n'));
    RunSort(app);

    EXPECT_TRUE(ReadFileBytes(kept) == older);
    // Only an empty folder can be removed: no piece lies beside the older copy.
    DeleteFileA(kept.c_str());
    EXPECT_TRUE(RemoveDirectoryA((Target() + "_Audio\\_Converter").c_str()));
    EXPECT_TRUE(RemoveDirectoryA((Target() + "_Fresh").c_str()));
    EXPECT_EQ(StatusLines(), (std::vector<std::string>{ExpectedLine(Activity::CannotCopy, "Format_Factory_2.7.lks"),
                                                       ExpectedLine(Activity::CannotCopy, "Format_Factory_2.7.lks"),
                                                       ExpectedLine(Activity::SortFinished),
                                                       ExpectedLine(Activity::SortSummary, "0 placed, 0 already there, 0 older, 0 not placed (no row), 2 failed")}));
}

TEST_F(RunSortTest, MoveCutShortByAFullVolumeLeavesNoPieceToBlockTheNextMove)
{
    SmallVolume volume(temp.path(), "Out");
    if (!volume.mounted())
        GTEST_SKIP() << "no small volume can be mounted here";
    app.Settings.CopyOrMove = "Move";
    app.IndexList.push_back({"_Fresh", "Format_"});
    std::string package(200000, 'p'), older(30000, 'o');
    ListPackage("Format_Factory_2.7.lks", package);
    WriteFileBytes(Target() + "_Fresh\\Format_Factory_2.7.lks", older);
    // A small package crosses to the other volume whole, and leaves its folder.
    ListPackage("Format_Small_1.lks", "small");
    RunSort(app);
    RunSort(app);

    EXPECT_EQ(ReadFileBytes(Target() + "_Audio\\_Converter\\Format_Small_1.lks"), "small");
    EXPECT_FALSE(FileExists(Source() + "Format_Small_1.lks"));
    EXPECT_TRUE(ReadFileBytes(Source() + "Format_Factory_2.7.lks") == package);
    EXPECT_TRUE(ReadFileBytes(Target() + "_Fresh\\Format_Factory_2.7.lks") == older);
    EXPECT_EQ(FolderEntries(Target() + "_Audio\\_Converter\\"), (std::set<std::string>{"Format_Small_1.lks"}));
    EXPECT_EQ(FolderEntries(Target() + "_Fresh\\"), (std::set<std::string>{"Format_Factory_2.7.lks"}));
    EXPECT_EQ(StatusLines()[0], ExpectedLine(Activity::FileMoved, "Format_Small_1.lks"));
    EXPECT_EQ(StatusLines()[2], CannotMoveLine("Format_Factory_2.7.lks", ERROR_DISK_FULL));
    EXPECT_EQ(StatusLines()[3], CannotMoveLine("Format_Factory_2.7.lks", ERROR_ALREADY_EXISTS));
    EXPECT_EQ(StatusLines()[6], StatusLines()[2]);
    EXPECT_EQ(StatusLines()[7], StatusLines()[3]);
}

TEST_F(RunSortTest, MoveOntoAFolderOfTheNameKeepsTheSourceAndItsRow)
{
    app.Settings.CopyOrMove = "Move";
    MakeFolders(Target() + "_Audio\\_Converter\\Format_Factory_2.7.lks");
    ListPackage("Format_Factory_2.7.lks");
    RunSort(app);
    EXPECT_TRUE(FileExists(Source() + "Format_Factory_2.7.lks"));
    EXPECT_EQ(ListCountRows(ListFiles), 1);
    EXPECT_EQ(StatusLines()[0].rfind("Cannot move file|", 0), 0u);
}

TEST_F(RunSortTest, EmptyFileListOnlyFinishes)
{
    app.Settings.DumpLeftOvers = "Yes";
    RunSort(app);
    EXPECT_EQ(StatusLines(), (std::vector<std::string>{ExpectedLine(Activity::SortFinished),
                                                       ExpectedLine(Activity::SortSummary, "0 placed, 0 already there, 0 older, 0 not placed (no row), 0 failed")}));
    EXPECT_FALSE(FileExists(app.LogFilePath));
}

TEST_F(RunSortTest, OrphanListingOnlyWhenPackagesAreLeftAndAskedFor)
{
    ListPackage("Unknown_1.0.lks", "x", "Sub\\");
    RunSort(app);
    EXPECT_FALSE(FileExists(app.LogFilePath));

    app.Settings.DumpLeftOvers = "Yes";
    RunSort(app);
    std::string listing = ReadFileBytes(app.LogFilePath);
    EXPECT_NE(listing.find("\r\n" + Source() + "Sub\\Unknown_1.0.lks\r\n"), std::string::npos);

    // A run that places everything leaves the earlier listing alone.
    app.IndexList.push_back({"_Misc", "Unknown_"});
    RunSort(app);
    EXPECT_EQ(ListCountRows(ListFiles), 0);
    EXPECT_EQ(ReadFileBytes(app.LogFilePath), listing);
}

TEST_F(RunSortTest, EventsRaisedDuringTheRunAreDropped)
{
    ListPackage("Format_Factory_2.7.lks");
    // Forget the notifications of filling the fields.
    EventQueueClear();
    PostMessageA(MainWindowHandle(), WM_CLOSE, 0, 0);
    PostMessageA(ControlWindow(ButtonQuit), BM_CLICK, 0, 0);
    RunSort(app);

    PostMessageA(ControlWindow(ButtonSort), BM_CLICK, 0, 0);
    AppEvent event;
    ASSERT_TRUE(EventWait(&event));
    EXPECT_EQ(event.kind, AppEvent::ControlEvent);
    EXPECT_EQ(event.control, ButtonSort);
}

// Under code page 932 the category and the package name each hold a
// character whose second byte is that of "\".
TEST_F(RunSortTest, CopyOverAnOlderFileCodePage932)
{
    REQUIRE_CODE_PAGE_932();
    const std::string category = "_\x8B\x40\x94\x5C";
    const std::string name = "\x95\x5C_1.lks";
    app.IndexList = {{category, "\x95\x5C_"}};
    WriteFileBytes(Target() + category + "\\" + name, "older");
    ListPackage(name, "newer");
    RunSort(app);
    EXPECT_EQ(ReadFileBytes(Target() + category + "\\" + name), "newer");
    EXPECT_EQ(FolderEntries(Target()), std::set<std::string>{category});
    EXPECT_EQ(FolderEntries(Target() + category + "\\"), std::set<std::string>{name});
}

TEST(PlacementTitle, BannerCountBlankFileName)
{
    EXPECT_EQ(PlacementTitle("Quillet - ", 3, "Dia_0.97.lks"), "Quillet - 3 Dia_0.97.lks");
    EXPECT_EQ(PlacementTitle("", 12, "a.apk"), "12 a.apk");
}

namespace {

// The real acts, but for the steps a test makes fail the way Windows fails
// them and Wine does not: between the system's call and the clean-up.
DWORD injected = 0;  // the error the failing step reports

unsigned long CopyFailingAtSource(const ActFile&, ActFile&, unsigned long*)
{
    return injected;
}

unsigned long CopyCutShort(const ActFile&, ActFile& to, unsigned long*)
{
    DWORD written = 0;
    WriteFile(to.handle.Get(), "a piece", 7, &written, nullptr);
    return injected;
}

unsigned long RenameAcrossVolumes(ActFile& file, const ActFolder& into, const std::string& name, bool replace)
{
    if (file.name.find(".tmp") == std::string::npos)
        return ERROR_NOT_SAME_DEVICE;
    return SystemFileCalls().rename(file, into, name, replace);
}

unsigned long RemoveRefused(ActFile&, const FileIdentity*, bool, bool)
{
    return injected;
}

// Another program takes the package away (by a way no sharing stops) while
// it is being copied, out of this folder.
std::string vanishingFolder;
unsigned long CopyThenPackageVanishes(const ActFile& from, ActFile& to, unsigned long* kept)
{
    unsigned long error = SystemFileCalls().copy(from, to, kept);
    UnixRemoveFile(vanishingFolder, from.name);
    return error;
}

struct InjectedCase {
    PackageFileCalls calls;
    bool move;
    DWORD error;
};

// The folders of one file operation, held as a run holds them: the test's
// folder (where the staging folder is made), In and Out.
struct HeldOps {
    explicit HeldOps(const TempFolder& temp) : path(temp.path())
    {
        MakeFolders(temp / "In");
        MakeFolders(temp / "Out");
        ActFolderOpen(root, temp.path());
        ActFolderOpen(in, temp / "In\\");
        ActFolderOpen(out, temp / "Out\\");
        StagingFolderSetUp(staging, &root, temp.path(), "");
    }
    ~HeldOps() { StagingFolderEnd(staging); }
    std::string path;
    ActFolder root, in, out;
    StagingFolder staging;
};

}  // namespace

// Whatever step fails, a file that stood at the destination keeps its bytes,
// the package keeps its, and no file of the operation's own is left.
TEST(PackageFileOps, AFailedStepRemovesOnlyTheOperationsOwnFile)
{
    const PackageFileCalls& real = SystemFileCalls();
    const InjectedCase cases[] = {
        // A copy failing at its held source while the destination exists.
        {{CopyFailingAtSource, real.rename, real.remove}, false, ERROR_SHARING_VIOLATION},
        {{CopyCutShort, real.rename, real.remove}, false, ERROR_DISK_FULL},
        // A move to another volume: cut short, and from a read-only medium.
        {{CopyCutShort, RenameAcrossVolumes, real.remove}, true, ERROR_DISK_FULL},
        {{real.copy, RenameAcrossVolumes, RemoveRefused}, true, ERROR_WRITE_PROTECT},
    };
    for (const InjectedCase& test : cases) {
        for (bool standing : {true, false}) {
            TempFolder temp;
            std::string source = temp / "In\\Format_1.lks", destination = temp / "Out\\Format_1.lks";
            WriteFileBytes(source, "package");
            if (standing)
                WriteFileBytes(destination, "the user's file");
            injected = test.error;
            PackageFileResult result;
            {
                HeldOps held(temp);
                ActFile package;
                ASSERT_EQ(PackageOpen(package, held.in, "Format_1.lks", test.move), 0u);
                result = test.move ? MovePackageFile(package, held.out, held.staging, test.calls)
                                   : CopyPackageFile(package, held.out, held.staging, true, test.calls);
            }
            EXPECT_EQ(FolderEntries(temp.path()), (std::set<std::string>{"In", "Out"}));
            EXPECT_FALSE(result.done);
            // Across volumes, a file standing there is found before any data moves.
            EXPECT_EQ(result.error, standing && test.move ? ERROR_FILE_EXISTS : test.error);
            EXPECT_EQ(ReadFileBytes(source), "package");
            EXPECT_EQ(FolderEntries(temp / "Out\\"),
                      standing ? std::set<std::string>{"Format_1.lks"} : std::set<std::string>{});
            EXPECT_EQ(ReadFileBytes(destination), standing ? "the user's file" : "");
        }
    }
}

TEST(PackageFileOps, AMoveAcrossVolumesOntoAFileOfThatNameKeepsBoth)
{
    const PackageFileCalls& real = SystemFileCalls();
    PackageFileCalls calls = {real.copy, RenameAcrossVolumes, real.remove};
    TempFolder temp;
    WriteFileBytes(temp / "In\\Format_1.lks", "package");
    WriteFileBytes(temp / "Out\\Format_1.lks", "another file");
    WriteFileBytes(temp / "In\\Format_3.lks", "package 3");
    MakeFolders(temp / "Other");
    {
        HeldOps held(temp);
        ActFolder other;
        ActFolderOpen(other, temp / "Other\\");
        ActFile package;
        ASSERT_EQ(PackageOpen(package, held.in, "Format_1.lks", true), 0u);
        PackageFileResult result = MovePackageFile(package, held.out, held.staging, calls);
        ActFileClose(package);
        EXPECT_FALSE(result.done);
        EXPECT_TRUE(result.destinationKnown && result.destinationExisted);
        EXPECT_EQ(ReadFileBytes(temp / "In\\Format_1.lks"), "package");
        EXPECT_EQ(ReadFileBytes(temp / "Out\\Format_1.lks"), "another file");

        ASSERT_EQ(PackageOpen(package, held.in, "Format_1.lks", true), 0u);
        result = MovePackageFile(package, other, held.staging, calls);
        EXPECT_TRUE(result.done);
        EXPECT_FALSE(FileExists(temp / "In\\Format_1.lks"));
        EXPECT_EQ(ReadFileBytes(temp / "Other\\Format_1.lks"), "package");

        // The package vanishing between its copy and its deletion leaves the copy.
        calls.copy = CopyThenPackageVanishes;
        vanishingFolder = temp / "In\\";
        ASSERT_EQ(PackageOpen(package, held.in, "Format_3.lks", true), 0u);
        result = MovePackageFile(package, held.out, held.staging, calls);
        EXPECT_TRUE(result.done);
        EXPECT_EQ(ReadFileBytes(temp / "Out\\Format_3.lks"), "package 3");
    }
    EXPECT_EQ(FolderEntries(temp / "Out\\"), (std::set<std::string>{"Format_1.lks", "Format_3.lks"}));
    EXPECT_EQ(FolderEntries(temp.path()), (std::set<std::string>{"In", "Other", "Out"}));
}
// How a test swaps the held folder "Parent\In" for a link to another user's
// "Elsewhere\In".
enum class Swap {
    HeldFolderByUnixTools,  // Linux mv and ln -s: no sharing stops them (the worst case)
    ParentByWindows,        // a Windows call renames the parent (Wine lets it; Windows refuses)
};

bool SwapHeldFolder(const TempFolder& temp, Swap swap, std::unique_ptr<FolderLink>& link)
{
    if (swap == Swap::HeldFolderByUnixTools) {
        if (!UnixRename(temp / "Parent\\", "In", "Held"))
            return false;
        link.reset(new FolderLink(temp / "Parent\\", "In", "../Elsewhere/In"));
    } else {
        if (!MoveFileA((temp / "Parent").c_str(), (temp / "Held").c_str()))
            return false;
        link.reset(new FolderLink(temp.path(), "Parent", "Elsewhere"));
    }
    return link->made() && ReadFileBytes(temp / "Parent\\In\\Format_1.lks").substr(0, 9) == "private 1";
}

std::string HeldPackagePath(const TempFolder& temp, Swap swap)
{
    return temp / (swap == Swap::HeldFolderByUnixTools ? "Parent\\Held\\Format_1.lks" : "Held\\In\\Format_1.lks");
}

// A package is opened by its name in its held folder: once held, a swap of
// that folder (or one above it) for a link to another user's folder no longer
// decides which file is copied, whatever the package's size, small or past
// the size from which the copy runs on a worker thread. The copy keeps the
// package's read-only mark and last-write time, as CopyFileA's copy does. A
// move, which renames and deletes by the held handle, is refused instead:
// under Wine those go by the path, which now leads to the other user's file.
TEST(PackageFileOps, HeldPackagesComeFromTheHeldFolderWhereverItsPathLeadsMeanwhile)
{
    for (Swap swap : {Swap::HeldFolderByUnixTools, Swap::ParentByWindows}) {
        for (size_t size : {size_t(9), size_t(20) << 20}) {
            TempFolder temp;
            std::string package = std::string("package 1") + std::string(size - 9, 'p');
            WriteFileBytes(temp / "Parent\\In\\Format_1.lks", package);
            WriteFileBytes(temp / "Parent\\In\\Format_2.lks", "package 2");
            WriteFileBytes(temp / "Elsewhere\\In\\Format_1.lks", "private 1");
            WriteFileBytes(temp / "Elsewhere\\In\\Format_2.lks", "private 2");
            SetFileAttributesA((temp / "Parent\\In\\Format_1.lks").c_str(), FILE_ATTRIBUTE_READONLY);
            std::unique_ptr<FolderLink> link;
            {
                HeldOps held(temp);
                ActFolder in;
                ActFolderOpen(in, temp / "Parent\\In\\");
                ASSERT_TRUE(SwapHeldFolder(temp, swap, link));
                ActFile copied, moved;
                ASSERT_EQ(PackageOpen(copied, in, "Format_1.lks", false), 0u);
                EXPECT_TRUE(CopyPackageFile(copied, held.out, held.staging, false).done);
                EXPECT_EQ(PackageOpen(moved, in, "Format_2.lks", true), ActLeadsOut);
            }
            EXPECT_EQ(ReadFileBytes(temp / "Out\\Format_1.lks"), package);
            EXPECT_EQ(ReadFileBytes(temp / "Elsewhere\\In\\Format_1.lks"), "private 1");
            EXPECT_EQ(ReadFileBytes(temp / "Elsewhere\\In\\Format_2.lks"), "private 2");
            EXPECT_FALSE(FileExists(temp / "Out\\Format_2.lks"));
            FileStamp original, copy;
            ASSERT_TRUE(ReadFileStamp(HeldPackagePath(temp, swap), &original));
            ASSERT_TRUE(ReadFileStamp(temp / "Out\\Format_1.lks", &copy));
            EXPECT_EQ(copy.lastWriteTime, original.lastWriteTime);
            EXPECT_TRUE(GetFileAttributesA((temp / "Out\\Format_1.lks").c_str()) & FILE_ATTRIBUTE_READONLY);
            SetFileAttributesA(HeldPackagePath(temp, swap).c_str(), FILE_ATTRIBUTE_NORMAL);
            SetFileAttributesA((temp / "Out\\Format_1.lks").c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }
}

// A Windows process meets the held folder's sharing: it cannot rename the
// held folder itself, so there is nothing to swap.
TEST(PackageFileOps, AHeldFolderCannotBeRenamedByAWindowsProgram)
{
    TempFolder temp;
    WriteFileBytes(temp / "Parent\\In\\Format_1.lks", "package 1");
    ActFolder in;
    ActFolderOpen(in, temp / "Parent\\In\\");
    EXPECT_FALSE(MoveFileA((temp / "Parent\\In").c_str(), (temp / "Parent\\Held").c_str()));
    EXPECT_TRUE(FileExists(temp / "Parent\\In\\Format_1.lks"));
}
