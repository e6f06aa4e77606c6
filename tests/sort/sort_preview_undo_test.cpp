// A sort's preview and its undo, on real files in a fresh folder, with the
// real window in the test process.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/sort_steps.h"
#include "plan/sort_preview.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "undo/sort_undo.h"
#include "util/scoped_handle.h"
#include "util/system_error.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/off_thread.h"
#include "window/status_list.h"

namespace {

std::string Line(const std::string& title, const std::string& text)
{
    return StatusLine(title, std::string(ActivityMarker) + "  " + text);
}

}  // namespace

class SortPreviewUndoTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        app.TitleBanner = "Quillet - ";
        app.Settings.DumpLeftOvers = "No";
        app.IndexList = {{"_Audio\\_Converter", "Format_"},
                         {"_Office\\_Diagram_Editor", "Dia_"},
                         {"_Video\\_Player", "VLC_media_player_"}};
        app.ActiveSource = Source();
        app.ActiveTarget = Target();
        MakeFolders(temp / "Out");  // as the index load leaves it
    }

    std::string Source() const { return temp / "In\\"; }
    std::string Target() const { return temp / "Out\\"; }

    void ListPackage(const std::string& fileName, const std::string& bytes, const std::string& subFolder = "")
    {
        WriteFileBytes(Source() + subFolder + fileName, bytes);
        ListAddRow(ListFiles, -1, Source() + subFolder + "\n" + fileName);
    }

    // One package matching nothing, one matching two rows, one whose name a
    // file in its folder already has, one whose identical copy is there.
    void ListFourPackages()
    {
        ListPackage("Unknown_1.0.lks", "unknown");
        ListPackage("VLC_media_player_1.1.11.lks", "vlc");
        ListPackage("Format_Factory_2.7.lks", "format");
        WriteFileBytes(Target() + "_Audio\\_Converter\\Format_Factory_2.7.lks", "another file");
        ListPackage("Format_Same_1.lks", "same");
        WriteFileBytes(Target() + "_Audio\\_Converter\\Format_Same_1.lks", "same");
    }

    // Besides those four: a package another program is writing (until the
    // test ends), one whose destination holds a read-only file, one at whose
    // destination a folder stands.
    void ListEveryCase()
    {
        ListFourPackages();
        for (const char* name : {"Format_Held_1.lks", "Format_Read_Only_1.lks", "Format_Folder_1.lks"})
            ListPackage(name, name);
        std::string readOnly = Target() + "_Audio\\_Converter\\Format_Read_Only_1.lks";
        WriteFileBytes(readOnly, "kept");
        SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
        MakeFolders(Target() + "_Audio\\_Converter\\Format_Folder_1.lks");
        writing.Reset(CreateFileA((Source() + "Format_Held_1.lks").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    }

    // The preview changes nothing and shows the rows; the sort then does with
    // each placement what the preview said it would, fills a sorted list
    // emptied first, and leaves the packages it said would stay.
    void PreviewThenSort(const std::vector<std::string>& rows, const std::string& summary, int staying)
    {
        std::vector<std::string> disk = DiskListing(temp.path());
        std::vector<std::string> files = ListRows(ListFiles, 2);
        SetWindowTitle("before");
        PreviewSort(app);
        EXPECT_EQ(DiskListing(temp.path()), disk);
        EXPECT_EQ(ListRows(ListFiles, 2), files);
        EXPECT_EQ(GetWindowTitle(), "before");
        EXPECT_EQ(ListRows(ListSorted, 3), rows);
        EXPECT_EQ(StatusLines(), (std::vector<std::string>{Line("Sort preview", summary)}));

        RunSort(app);
        std::vector<std::string> placed;
        std::vector<PlacementOutcome> expected, outcomes;
        for (size_t at = 0; at < rows.size(); ++at) {
            std::string status = rows[at].substr(rows[at].rfind('|') + 1);
            if (status != "Fail" && status != "Twin")
                placed.push_back(rows[at].substr(0, rows[at].find('|')));
            expected.push_back(status == "Fail"   ? PlacementOutcome::Failed
                               : status == "Twin" ? PlacementOutcome::SourceRemoved
                               : status == "Same" ? PlacementOutcome::Identical
                                                  : PlacementOutcome::Placed);
            outcomes.push_back(at < app.LastSort.placements.size() ? app.LastSort.placements[at].outcome
                                                                   : PlacementOutcome::NotRun);
        }
        EXPECT_EQ(outcomes, expected);
        EXPECT_EQ(ListRows(ListSorted, 1), placed);
        EXPECT_EQ(ListCountRows(ListFiles), staying);
    }

    std::vector<std::string> StatusLinesFrom(size_t first)
    {
        std::vector<std::string> lines = StatusLines();
        return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(first), lines.end());
    }

    // The line an undo of the last sort starts with: the fixture's sorts have no index.
    std::string UndoStarted(int placements) const
    {
        return Line("Undo started", app.LastSort.time + "  " + std::to_string(placements)
                                        + (placements == 1 ? " placement" : " placements"));
    }

    TempFolder temp;
    ScopedHandle writing;
};

TEST_F(SortPreviewUndoTest, PreviewOfACopyChangesNothingAndShowsWhatTheSortDoes)
{
    app.Settings.CopyOrMove = "Copy";
    ListFourPackages();
    // Each row names its package, so that two rows of one entry tell apart.
    PreviewThenSort({"_Audio\\_Converter|Format_Same_1.lks|Replace", "_Audio\\_Converter|Format_Factory_2.7.lks|Replace",
                     "_Office\\_Diagram_Editor|VLC_media_player_1.1.11.lks|Copy",
                     "_Video\\_Player|VLC_media_player_1.1.11.lks|Copy"},
                    "3 packages would go to 3 folders, 1 would not", 1);
}

TEST_F(SortPreviewUndoTest, PreviewOfAMoveChangesNothingAndShowsWhatTheSortDoes)
{
    app.Settings.CopyOrMove = "Move";
    ListFourPackages();
    PreviewThenSort({"_Audio\\_Converter|Format_Same_1.lks|Twin", "_Audio\\_Converter|Format_Factory_2.7.lks|Fail",
                     "_Office\\_Diagram_Editor|VLC_media_player_1.1.11.lks|Move",
                     "_Video\\_Player|VLC_media_player_1.1.11.lks|Fail"},
                    "2 packages would go to 2 folders, 2 would not", 2);
}

TEST_F(SortPreviewUndoTest, PreviewAndSortAgreeOnEveryCaseInBothModes)
{
    for (const char* mode : {"Copy", "Move"}) {
        app.Settings.CopyOrMove = mode;
        ListEveryCase();
        bool copy = mode[0] == 'C';
        const std::string audio = "_Audio\\_Converter|", vlc = "|VLC_media_player_1.1.11.lks|";
        PreviewThenSort({audio + "Format_Folder_1.lks|Fail", audio + "Format_Read_Only_1.lks|Fail",
                         audio + "Format_Held_1.lks|Fail", audio + "Format_Same_1.lks|" + (copy ? "Replace" : "Twin"),
                         audio + "Format_Factory_2.7.lks|" + (copy ? "Replace" : "Fail"),
                         "_Office\\_Diagram_Editor" + vlc + (copy ? "Copy" : "Move"),
                         "_Video\\_Player" + vlc + (copy ? "Copy" : "Fail")},
                        copy ? "3 packages would go to 3 folders, 4 would not"
                             : "2 packages would go to 2 folders, 5 would not",
                        copy ? 4 : 5);
        writing.Reset();
        SetFileAttributesA((Target() + "_Audio\\_Converter\\Format_Read_Only_1.lks").c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveTree(temp / "In");
        RemoveTree(temp / "Out");
        MakeFolders(temp / "Out");
        ListRemoveAllRows(ListFiles);
        ListRemoveAllRows(ListStatus);
    }
}

// An identical copy with the package's time is "Same" for a copy, and a move
// removes a package for its twin only when it can delete the package: a
// read-only package whose twin stands there fails.
TEST_F(SortPreviewUndoTest, PreviewSaysSameForAnIdenticalCopyAndFailForATwinThatCannotGo)
{
    for (const char* mode : {"Copy", "Move"}) {
        app.Settings.CopyOrMove = mode;
        bool copy = mode[0] == 'C';
        std::string folder = Target() + "_Audio\\_Converter\\";
        for (const char* name : {"Format_Kept_1.lks", "Format_Twin_1.lks"}) {
            ListPackage(name, name);
            MakeFolders(folder);
            CopyFileA((Source() + name).c_str(), (folder + name).c_str(), FALSE);
        }
        SetFileAttributesA((Source() + "Format_Kept_1.lks").c_str(), FILE_ATTRIBUTE_READONLY);
        ListPackage("Format_New_1.lks", "new");
        const std::string audio = "_Audio\\_Converter|";
        PreviewThenSort({audio + "Format_New_1.lks|" + mode, audio + "Format_Twin_1.lks|" + (copy ? "Same" : "Twin"),
                         audio + "Format_Kept_1.lks|" + (copy ? "Same" : "Fail")},
                        copy ? "3 packages would go to 1 folder, 0 would not"
                             : "2 packages would go to 1 folder, 1 would not",
                        copy ? 0 : 1);
        SetFileAttributesA((Source() + "Format_Kept_1.lks").c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveTree(temp / "In");
        RemoveTree(temp / "Out");
        MakeFolders(temp / "Out");
        ListRemoveAllRows(ListFiles);
        ListRemoveAllRows(ListStatus);
    }
}

// With older versions put aside after each sort: each package older than a
// version in its folder is "Older" in the preview. A Move puts it into the
// folder's counterpart below _Older versions, removes it when its identical
// copy lies there already, and leaves it when another file of that name
// does, or when it cannot be deleted; a Copy leaves every one of them.
TEST_F(SortPreviewUndoTest, OlderVersionsArePutAsideByAMoveAndLeftByACopyAsThePreviewSays)
{
    app.Options[ProgramOption::OlderVersionsAside].value = true;
    const std::string folder = Target() + "_Audio\\_Converter\\";
    const std::string aside = Target() + "_Older versions\\_Audio\\_Converter\\";
    for (const char* mode : {"Move", "Copy"}) {
        app.Settings.CopyOrMove = mode;
        for (const char* app : {"A", "B", "C", "D"}) {
            WriteFileBytes(folder + "Format_" + app + "_3.0.lks", "newer");
            ListPackage(std::string("Format_") + app + "_1.0.lks", app);
        }
        WriteFileBytes(aside + "Format_B_1.0.lks", "B");
        WriteFileBytes(aside + "Format_C_1.0.lks", "another file");
        WriteFileBytes(aside + "Format_D_1.0.lks", "D");
        SetFileAttributesA((Source() + "Format_D_1.0.lks").c_str(), FILE_ATTRIBUTE_READONLY);
        std::vector<std::string> disk = DiskListing(temp.path());
        PreviewSort(app);
        bool move = mode[0] == 'M';
        const std::string audio = "_Audio\\_Converter|Format_";
        EXPECT_EQ(ListRows(ListSorted, 3), (std::vector<std::string>{audio + "D_1.0.lks|" + (move ? "Fail" : "Older"),
                                                                     audio + "C_1.0.lks|Older",
                                                                     audio + "B_1.0.lks|Older",
                                                                     audio + "A_1.0.lks|Older"}));
        EXPECT_EQ(DiskListing(temp.path()), disk);
        size_t first = StatusLines().size();
        RunSort(app);
        std::vector<std::string> lines = StatusLinesFrom(first);
        ASSERT_GE(lines.size(), 4u);
        lines.resize(4);
        if (move) {
            EXPECT_EQ(lines[0].rfind("Cannot move file|", 0), 0u) << lines[0];
            EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()),
                      (std::vector<std::string>{
                          Line("Older version not placed", "Format_C_1.0.lks"),
                          Line("Older version put aside", "Format_B_1.0.lks  its identical copy was already there"),
                          Line("Older version put aside", "Format_A_1.0.lks")}));
            EXPECT_EQ(ReadFileBytes(aside + "Format_A_1.0.lks"), "A");
            EXPECT_EQ(ReadFileBytes(aside + "Format_C_1.0.lks"), "another file");
            EXPECT_EQ(ListRows(ListFiles, 2), (std::vector<std::string>{Source() + "|Format_C_1.0.lks",
                                                                        Source() + "|Format_D_1.0.lks"}));
            EXPECT_EQ(ListRows(ListSorted, 1), (std::vector<std::string>{"_Older versions\\_Audio\\_Converter"}));
        } else {
            for (size_t at = 0; at < lines.size(); ++at)
                EXPECT_EQ(lines[at], Line("Older version not placed", std::string("Format_") + "DCBA"[at] + "_1.0.lks"));
            EXPECT_EQ(ListCountRows(ListFiles), 4);
            EXPECT_EQ(ListCountRows(ListSorted), 0);
        }
        SetFileAttributesA((Source() + "Format_D_1.0.lks").c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveTree(temp / "In");
        RemoveTree(temp / "Out");
        MakeFolders(temp / "Out");
        ListRemoveAllRows(ListFiles);
        ListRemoveAllRows(ListStatus);
    }
}

TEST_F(SortPreviewUndoTest, PreviewChecksTheFoldersAndSaysWhenTheCopyModeDoesNothing)
{
    app.Settings.CopyOrMove = "copy";
    ListFourPackages();
    std::vector<std::string> disk = DiskListing(temp.path());
    PreviewSort(app);
    app.ActiveTarget = Source();
    PreviewSort(app);
    EXPECT_EQ(DiskListing(temp.path()), disk);
    EXPECT_EQ(ListCountRows(ListSorted), 0);
    EXPECT_EQ(StatusLines(),
              (std::vector<std::string>{
                  Line("Sort preview", "0 packages would go to 0 folders, 4 would not: the copy mode is neither "
                                       "Copy nor Move, so a sort would copy and move nothing"),
                  Line("Sort disallowed",
                       "The source and target directories must not be the same, bad things can happen")}));
}

TEST_F(SortPreviewUndoTest, UndoOfAMoveRestoresEveryPackage)
{
    app.Settings.CopyOrMove = "Move";
    app.IndexList.push_back({"_System\\_Information\\_Inventory", "Speccy_"});
    ListPackage("Speccy_1.15.lks", "speccy", "Deep\\Er\\");
    ListPackage("VLC_media_player_1.1.11.lks", "vlc");
    ListPackage("Format_Same_1.lks", "same");
    WriteFileBytes(Target() + "_Audio\\_Converter\\Format_Same_1.lks", "same");
    std::vector<std::string> disk = DiskListing(temp.path());
    RunSort(app);
    ASSERT_NE(DiskListing(temp.path()), disk);
    size_t first = StatusLines().size();
    std::string started = UndoStarted(3);
    UndoLastSort(app);

    // The folders the sort made are gone; the one it found is kept.
    EXPECT_EQ(DiskListing(temp.path()), disk);
    EXPECT_EQ(StatusLinesFrom(first),
              (std::vector<std::string>{started, Line("Undone", "Speccy_1.15.lks  moved back to " + Source() + "Deep\\Er\\"),
                                        Line("Undone", "VLC_media_player_1.1.11.lks  moved back to " + Source()),
                                        Line("Undone", "Format_Same_1.lks  copied back to " + Source()),
                                        Line("Undo finished", "3 of 3 placements undone")}));
    EXPECT_EQ(GetWindowTitle(), "Quillet - 3 Format_Same_1.lks");
    EXPECT_FALSE(UndoAvailable(app.LastSort));
}

TEST_F(SortPreviewUndoTest, UndoLeavesAFileChangedOrReplacedSinceTheSortAndSaysSo)
{
    app.Settings.CopyOrMove = "Move";
    ListPackage("Format_A_1.lks", "a");
    ListPackage("Format_B_1.lks", "b");
    RunSort(app);
    std::string folder = Target() + "_Audio\\_Converter\\";
    WriteFileBytes(folder + "Format_A_1.lks", "a, changed by the user");
    WriteFileBytes(Source() + "Format_B_1.lks", "b, downloaded again");
    std::vector<std::string> disk = DiskListing(temp.path());
    size_t first = StatusLines().size();
    std::string started = UndoStarted(2);
    UndoLastSort(app);

    EXPECT_EQ(DiskListing(temp.path()), disk);
    EXPECT_EQ(StatusLinesFrom(first),
              (std::vector<std::string>{
                  started, Line("Not undone", "Format_A_1.lks  the file in " + folder + " was changed after the sort"),
                  Line("Not undone", "Format_B_1.lks  a file of that name stands in " + Source()),
                  Line("Undo finished", "0 of 2 placements undone")}));
}

TEST_F(SortPreviewUndoTest, UndoNeverDeletesACopyThatIsNotProvablyTheSortsOwn)
{
    app.Settings.CopyOrMove = "Copy";
    std::string folder = Target() + "_Audio\\_Converter\\";
    WriteFileBytes(folder + "Format_C_1.lks", "there before the sort");
    for (const char* name : {"Format_A_1.lks", "Format_B_1.lks", "Format_C_1.lks", "Format_D_1.lks"})
        ListPackage(name, "package");
    RunSort(app);
    WriteFileBytes(Source() + "Format_A_1.lks", "PACKAGE");
    DeleteFileA((Source() + "Format_D_1.lks").c_str());
    size_t first = StatusLines().size();
    std::string started = UndoStarted(4);
    UndoLastSort(app);

    EXPECT_EQ(ReadFileBytes(folder + "Format_A_1.lks"), "package");
    EXPECT_FALSE(FileExists(folder + "Format_B_1.lks"));
    EXPECT_EQ(ReadFileBytes(folder + "Format_C_1.lks"), "package");
    EXPECT_EQ(ReadFileBytes(folder + "Format_D_1.lks"), "package");
    EXPECT_EQ(StatusLinesFrom(first),
              (std::vector<std::string>{
                  started, Line("Not undone", "Format_A_1.lks  the copy differs from its package in " + Source()),
                  Line("Undone", "Format_B_1.lks  copy deleted from " + folder),
                  Line("Not undone", "Format_C_1.lks  the copy replaced a file that was in " + folder
                                         + " before the sort, which cannot be brought back"),
                  Line("Not undone", "Format_D_1.lks  its package is no longer in " + Source() + ", so the copy is kept"),
                  Line("Undo finished", "1 of 4 placements undone")}));
}

TEST_F(SortPreviewUndoTest, PreviewForeseesTheFailuresThatThePathsMakeCertain)
{
    app.Settings.CopyOrMove = "Copy";
    std::string target = Source() + "Sorted\\";  // inside the source
    app.ActiveTarget = target;
    WriteFileBytes(target + "_Blocked", "a file where a folder must be");
    std::string longFolder = "_" + std::string(247 - target.size(), 'L');  // target + it: 248 characters
    std::string deepFolder = "_" + std::string(239 - target.size(), 'D');  // 240, and a file name of 20 more
    app.IndexList = {{"_Fine", "Fine_"},       {"_Blocked\\_Sub", "Blocked_"}, {"_Tools\\aux", "Device_"},
                     {longFolder, "Long_"}, {deepFolder, "Deep_"}};
    for (const char* name : {"Fine_2.lks", "Blocked_1.lks", "Device_1.lks", "Long_1.lks", "Deep_Package_1.0.lks"})
        ListPackage(name, name);
    ListPackage("Fine_1.lks", "sorted before", "Sorted\\_Fine\\");  // its own destination
    // The short name of another file there.
    WriteFileBytes(target + "_Fine\\Fine_Long_Name_2.90.lks", "another file");
    char alias[MAX_PATH];
    GetShortPathNameA((target + "_Fine\\Fine_Long_Name_2.90.lks").c_str(), alias, MAX_PATH);
    std::string aliasName = std::string(alias).substr(std::string(alias).rfind('\\') + 1);
    app.IndexList.push_back({"_Fine", aliasName});
    ListPackage(aliasName, "alias");
    std::vector<std::string> rows = {"_Fine|" + aliasName + "|Fail", "_Fine|Fine_1.lks|Fail", deepFolder + "|Deep_Package_1.0.lks|Fail",
                                     longFolder + "|Long_1.lks|Fail", "_Tools\\aux|Device_1.lks|Fail",
                                     "_Blocked\\_Sub|Blocked_1.lks|Fail", "_Fine|Fine_2.lks|Copy"};
    PreviewThenSort(rows, "1 package would go to 1 folder, 6 would not", 6);

    std::vector<std::string> outcomes = StatusLinesFrom(1);
    ASSERT_EQ(outcomes.size(), rows.size() + 2);
    for (size_t at = 0; at < rows.size(); ++at)
        EXPECT_EQ(outcomes[at].substr(0, 16), rows[at].substr(rows[at].rfind('|')) == "|Fail" ? "Cannot copy file"
                                                                                                 : "File copied okay");
    EXPECT_EQ(ReadFileBytes(target + "_Fine\\Fine_1.lks"), "sorted before");
    EXPECT_EQ(ReadFileBytes(target + "_Fine\\Fine_Long_Name_2.90.lks"), "another file");
    EXPECT_FALSE(FolderExists(target + "_Tools"));
}

TEST_F(SortPreviewUndoTest, UndoDeletesItsOwnCopiesOfOneNameFromTwoFoldersOrByTwoSpellingsOfAFolder)
{
    app.Settings.CopyOrMove = "Copy";
    app.IndexList.push_back({"_audio\\_CONVERTER", "Factory_"});  // an own row naming a folder in other letter case
    ListPackage("Format_Factory_2.7.lks", "format");
    ListPackage("Format_Twice_1.lks", "one", "One\\");
    ListPackage("Format_Twice_1.lks", "two", "Two\\");
    std::vector<std::string> disk = DiskListing(temp.path());
    RunSort(app);
    size_t first = StatusLines().size();
    UndoLastSort(app);

    EXPECT_EQ(DiskListing(temp.path()), disk);
    // The copy by the second spelling found the first one's bytes there and left them.
    EXPECT_EQ(StatusLinesFrom(first).back(), Line("Undo finished", "3 of 3 placements undone"));
}

TEST_F(SortPreviewUndoTest, UndoKeepsAStepASystemErrorStoppedForTheNextUndo)
{
    app.Settings.CopyOrMove = "Move";
    ListPackage("Format_A_1.lks", "a");
    ListPackage("Format_B_1.lks", "b");
    RunSort(app);
    std::string folder = Target() + "_Audio\\_Converter\\";
    WriteFileBytes(folder + "Format_B_1.lks", "b, changed by the user");
    HANDLE held = CreateFileA((folder + "Format_A_1.lks").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    UndoLastSort(app);
    CloseHandle(held);
    EXPECT_EQ(StatusLines()[StatusLines().size() - 2].rfind("Not undone|", 0), 0u);
    ASSERT_TRUE(UndoAvailable(app.LastSort));

    size_t first = StatusLines().size();
    std::string started = UndoStarted(1);
    UndoLastSort(app);
    EXPECT_EQ(StatusLinesFrom(first),
              (std::vector<std::string>{started, Line("Undone", "Format_A_1.lks  moved back to " + Source()),
                                        Line("Undo finished", "1 of 1 placement undone")}));
    EXPECT_EQ(ReadFileBytes(Source() + "Format_A_1.lks"), "a");
    EXPECT_FALSE(UndoAvailable(app.LastSort));
}

TEST_F(SortPreviewUndoTest, ASortThatOnlyRemovedADuplicateIsTheOneUndone)
{
    app.Settings.CopyOrMove = "Move";
    ListPackage("Format_A_1.lks", "a");
    RunSort(app);
    ListPackage("Format_Same_1.lks", "same");
    WriteFileBytes(Target() + "_Audio\\_Converter\\Format_Same_1.lks", "same");
    RunSort(app);
    UndoLastSort(app);

    EXPECT_EQ(ReadFileBytes(Source() + "Format_Same_1.lks"), "same");
    EXPECT_FALSE(FileExists(Source() + "Format_A_1.lks"));
    EXPECT_EQ(ReadFileBytes(Target() + "_Audio\\_Converter\\Format_A_1.lks"), "a");
}

// Every copy, move and comparison handed to a worker thread, as those of large
// files are: the same rows, lines and files, and a failure still reported with
// the system's text for it, though the failing call ran on another thread.
TEST_F(SortPreviewUndoTest, FileWorkOffTheWindowThreadEndsAlike)
{
    struct AllOffThread {
        uint64_t before = OffThreadSetLargeFileBytes(0);
        ~AllOffThread() { OffThreadSetLargeFileBytes(before); }
    } offThread;
    app.Settings.CopyOrMove = "Move";
    ListFourPackages();
    PreviewThenSort({"_Audio\\_Converter|Format_Same_1.lks|Twin", "_Audio\\_Converter|Format_Factory_2.7.lks|Fail",
                     "_Office\\_Diagram_Editor|VLC_media_player_1.1.11.lks|Move",
                     "_Video\\_Player|VLC_media_player_1.1.11.lks|Fail"},
                    "2 packages would go to 2 folders, 2 would not", 2);
    RemoveTree(Source());
    size_t first = StatusLines().size();
    std::string started = UndoStarted(2);
    UndoLastSort(app);

    std::string reason = SystemErrorText(ERROR_PATH_NOT_FOUND);
    reason.erase(reason.find_last_not_of("\r\n ") + 1);
    EXPECT_EQ(StatusLinesFrom(first),
              (std::vector<std::string>{
                  started, Line("Not undone", "VLC_media_player_1.1.11.lks  cannot move it back: " + reason),
                  Line("Not undone", "Format_Same_1.lks  cannot copy it back: " + reason),
                  Line("Undo finished", "0 of 2 placements undone")}));
}
