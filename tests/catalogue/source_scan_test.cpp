#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/event_loop.h"
#include "catalogue/source_scan.h"
#include "support/folder_link.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/icon_slots.h"
#include "window/main_window.h"
#include "window/status_list.h"

TEST(PackageKindOf, EndingsMatchInAnyLetterCase)
{
    for (const char* name : {"A.LKS", "b.Lks", "C.PAF.EXE", "d.Paf.Exe", "E.APK", "f.aPk", "\xC4pfel.APK"})
        EXPECT_NE(PackageKindOf(name), nullptr) << name;
    EXPECT_EQ(PackageKindOf("C.PAF.EXE")->imageSlot, ImagePortableAppsPackage);
}

TEST(PackageKindOf, OtherFilesAreNoPackages)
{
    for (const char* name : {"x.lks.bak", "setup.exe", "x.pafexe", "x.paf", "lks", "apk", "paf.exe", "x.lk", "",
                             "x.apk ", "x.lks.", "README"})
        EXPECT_EQ(PackageKindOf(name), nullptr) << name;
    // Names just as long as their ending still count.
    EXPECT_NE(PackageKindOf(".lks"), nullptr);
    EXPECT_NE(PackageKindOf(".paf.exe"), nullptr);
}

TEST(FetchTitleText, BannerCountTwoBlanksIndexAndFilesFound)
{
    EXPECT_EQ(FetchTitleText("Quillet - ", 3, "LiberKey"), "Quillet - 3  LiberKey Files found");
    EXPECT_EQ(FetchTitleText("Quillet - ", 40000, "PortableApps"), "Quillet - 40000  PortableApps Files found");
    EXPECT_EQ(FetchTitleText("", 1, ""), "1   Files found");
}

TEST(NextRowShade, DarkFirstThenAlternating)
{
    bool shading = false;
    EXPECT_EQ(NextRowShade(shading), RowShadeDark);
    EXPECT_TRUE(shading);
    EXPECT_EQ(NextRowShade(shading), RowShadeLight);
    EXPECT_FALSE(shading);
    EXPECT_EQ(RowShadeDark, RGB(193, 193, 193));
    EXPECT_EQ(RowShadeLight, RGB(212, 212, 212));
}

TEST(ScanRootOf, DropsOneTrailingBackslashOnly)
{
    EXPECT_EQ(ScanRootOf("C:\\Downloads\\"), "C:\\Downloads");
    EXPECT_EQ(ScanRootOf("C:\\Downloads"), "C:\\Downloads");
    EXPECT_EQ(ScanRootOf("C:\\Downloads\\\\"), "C:\\Downloads\\");
    EXPECT_EQ(ScanRootOf("C:\\"), "C:");
}

namespace {

struct Row {
    std::string folder;
    std::string name;
    int icon;
};

std::vector<Row> FileRows()
{
    std::vector<Row> rows;
    for (int row = 0; row < ListCountRows(ListFiles); ++row)
        rows.push_back({ListRowText(ListFiles, row, 0), ListRowText(ListFiles, row, 1), ListRowImageSlot(ListFiles, row)});
    return rows;
}

std::vector<std::string> RowPaths(const std::vector<Row>& rows)
{
    std::vector<std::string> paths;
    for (const Row& row : rows)
        paths.push_back(row.folder + row.name);
    return paths;
}

std::vector<std::string> Sorted(std::vector<std::string> texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

// Whether the rows come from a depth-first, pre-order walk: a folder's own
// files before anything below it, and everything below a folder in one run.
bool IsPreOrder(const std::vector<Row>& rows)
{
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string& folder = rows[i].folder;
        bool left = false, deeper = false;
        for (size_t j = i + 1; j < rows.size(); ++j) {
            bool inside = rows[j].folder.compare(0, folder.size(), folder) == 0;
            bool own = rows[j].folder == folder;
            if ((inside && left) || (own && deeper))
                return false;
            left = left || !inside;
            deeper = deeper || (inside && !own);
        }
    }
    return true;
}

// The background colour the row shows on screen, under its file name, once
// the window has handled what is pending.
COLORREF RowColourOnScreen(int row)
{
    PumpPending();
    return ListRowPixel(ListFiles, row, 200);
}

}  // namespace

namespace {

std::string FetchingLine(const std::string& source)
{
    return StatusLine("Fetching files", std::string(ActivityMarker) + "  Retrieving files from " + source);
}

std::string FinishedLine(const std::string& index)
{
    return StatusLine("Finished fetching", std::string(ActivityMarker) + "  Found all files for " + index);
}

}  // namespace

class FetchFilesTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        app.TitleBanner = "Quillet - ";
        app.Settings.LastIndex = "LiberKey";
    }

    // Fetches from the folder below the test's own one.
    void FetchFrom(const std::string& relative)
    {
        app.ActiveSource = temp / relative;
        FetchFiles(app);
    }

    TempFolder temp;
};

TEST_F(FetchFilesTest, ListsTheThreeKindsWithIconsTitleAndLines)
{
    for (const char* name : {"a.lks", "b.apk", "c.paf.exe", "d.exe", "e.LKS", "f.Paf.Exe", "g.lks.bak", "lks"})
        WriteFileBytes(temp / "In\\" + name, "x");
    SetFileAttributesA((temp / "In\\e.LKS").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    FetchFrom("In\\");

    std::vector<Row> rows = FileRows();
    EXPECT_EQ(Sorted(RowPaths(rows)), Sorted({temp / "In\\a.lks", temp / "In\\b.apk", temp / "In\\c.paf.exe",
                                              temp / "In\\e.LKS", temp / "In\\f.Paf.Exe"}));
    const std::map<std::string, int> icons = {
        {"a.lks", ImageLiberkeyPackage}, {"b.apk", ImageAndroidPackage}, {"c.paf.exe", ImagePortableAppsPackage},
        {"e.LKS", ImageLiberkeyPackage}, {"f.Paf.Exe", ImagePortableAppsPackage}};
    for (const Row& row : rows)
        EXPECT_EQ(row.icon, icons.at(row.name)) << row.name;
    EXPECT_EQ(GetWindowTitle(), "Quillet - 5  LiberKey Files found");
    std::vector<std::string> expected = {
        FetchingLine(temp / "In\\"),
        FinishedLine("LiberKey"),
    };
    EXPECT_EQ(StatusLines(), expected);
}

TEST_F(FetchFilesTest, WalksSubFoldersDepthFirstInPreOrder)
{
    // The spelled-out case: a sub-folder's packages come after the folder's own.
    WriteFileBytes(temp / "Simple\\A\\b.apk", "x");
    WriteFileBytes(temp / "Simple\\z.lks", "x");
    FetchFrom("Simple");
    std::vector<std::string> simple = {temp / "Simple\\z.lks", temp / "Simple\\A\\b.apk"};
    EXPECT_EQ(RowPaths(FileRows()), simple);

    std::vector<std::string> files = {
        "Tree\\r1.lks", "Tree\\r2.apk", "Tree\\A\\a1.apk", "Tree\\A\\A1\\deep.lks", "Tree\\A\\A1\\A2\\deeper.apk",
        "Tree\\A\\A1\\A2\\A3\\deepest.paf.exe", "Tree\\A\\a2.lks", "Tree\\B\\b1.lks", "Tree\\B\\B1\\b2.apk",
        "Tree\\C\\c1.lks", "Tree\\C\\C1\\C2\\c2.lks", "Tree\\D\\D1\\d1.apk", "Tree\\E\\e1.apk"};
    std::vector<std::string> paths;
    for (const std::string& file : files) {
        WriteFileBytes(temp / file, "x");
        paths.push_back(temp / file);
    }
    MakeFolders(temp / "Tree\\Empty\\Below");
    FetchFrom("Tree");
    std::vector<Row> rows = FileRows();
    EXPECT_EQ(Sorted(RowPaths(rows)), Sorted(paths));
    EXPECT_TRUE(IsPreOrder(rows));
    for (const Row& row : rows)
        EXPECT_EQ(row.folder.back(), '\\') << row.folder;
}

TEST_F(FetchFilesTest, SourceFolderRowsNameTheFieldTextWithOneBackslash)
{
    WriteFileBytes(temp / "In\\top.lks", "x");
    WriteFileBytes(temp / "In\\Sub\\low.apk", "x");
    for (const std::string& source : {temp / "In", temp / "In\\"}) {
        app.ActiveSource = source;
        FetchFiles(app);
        std::vector<Row> rows = FileRows();
        ASSERT_EQ(rows.size(), 2u) << source;
        EXPECT_EQ(rows[0].folder, temp / "In\\");
        EXPECT_EQ(rows[1].folder, temp / "In\\Sub\\");
    }
    EXPECT_EQ(StatusLines()[0], FetchingLine(temp / "In"));
    EXPECT_EQ(StatusLines()[2], FetchingLine(temp / "In\\"));
}

// The sort hands work on large packages to a worker thread by this size.
TEST_F(FetchFilesTest, EachPackageKeepsItsSizeBeyondFourGigabytes)
{
    WriteFileBytes(temp / "In\\a.lks", "four");
    WriteZeroFile(temp / "In\\b.lks", 5ull << 30);
    app.ActiveSource = temp / "In";
    FetchFiles(app);
    ASSERT_EQ(app.Packages.Count(), 2);
    int large = app.Packages.At(0).name == "b.lks" ? 0 : 1;
    EXPECT_EQ(app.Packages.At(large).size, 5ull << 30);
    EXPECT_EQ(app.Packages.At(1 - large).size, 4u);
}

TEST_F(FetchFilesTest, FolderNamedLikeAPackageIsWalkedNotListed)
{
    WriteFileBytes(temp / "In\\Game.apk\\inside.lks", "x");
    MakeFolders(temp / "In\\Empty.paf.exe");
    FetchFrom("In");
    std::vector<Row> rows = FileRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].folder, temp / "In\\Game.apk\\");
    EXPECT_EQ(rows[0].name, "inside.lks");
}

TEST_F(FetchFilesTest, EmptySourceFieldGivesOnlySourceAbort)
{
    ListAddRow(ListFiles, -1, "C:\\Old\\\nold.lks", ImageLiberkeyPackage);
    ListAddRow(ListSorted, -1, "_Cat\nold.lks\nOkay");
    SetWindowTitle("Quillet - 7  LiberKey Files found");
    app.ActiveSource = "";
    FetchFiles(app);
    EXPECT_EQ(ListCountRows(ListFiles), 0);
    EXPECT_EQ(ListCountRows(ListSorted), 0);
    std::vector<std::string> expected = {
        StatusLine("Source abort", std::string(ActivityMarker) + "  The selected directory to search is empty")};
    EXPECT_EQ(StatusLines(), expected);
    EXPECT_EQ(GetWindowTitle(), "Quillet - 7  LiberKey Files found");
}

TEST_F(FetchFilesTest, MissingOrEmptySourceListsNothingAndKeepsTheTitle)
{
    MakeFolders(temp / "Empty");
    SetWindowTitle("Quillet - 7  LiberKey Files found");
    for (const char* source : {"Missing\\", "Empty"}) {
        ListAddRow(ListFiles, -1, "C:\\Old\\\nold.lks", ImageLiberkeyPackage);
        ListAddRow(ListSorted, -1, "_Cat\nold.lks\nOkay");
        FetchFrom(source);
        EXPECT_EQ(ListCountRows(ListFiles), 0) << source;
        EXPECT_EQ(ListCountRows(ListSorted), 0) << source;
    }
    std::vector<std::string> lines = StatusLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], FetchingLine(temp / "Missing\\"));
    EXPECT_EQ(lines[1], FinishedLine("LiberKey"));
    EXPECT_EQ(GetWindowTitle(), "Quillet - 7  LiberKey Files found");
}

TEST_F(FetchFilesTest, FolderBeyondThePathLimitIsSkippedSilently)
{
    WriteFileBytes(temp / "In\\a.lks", "x");
    WriteFileBytes(temp / "In\\Z\\z.apk", "x");
    // Made by a path relative to its parent, a folder can lie deeper than a
    // full path may reach; its listing cannot be opened.
    std::string parent = temp / ("In\\" + std::string(150, 'd'));
    std::string tooDeep = std::string(120, 'e');
    MakeFolders(parent);
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(parent.c_str()));
    ASSERT_TRUE(CreateDirectoryA(tooDeep.c_str(), nullptr));
    WriteFileBytes(tooDeep + "\\hidden.lks", "x");
    bool madeDeepFile = FileExists(tooDeep + "\\hidden.lks");
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(madeDeepFile);

    FetchFrom("In");
    EXPECT_EQ(Sorted(RowPaths(FileRows())), Sorted({temp / "In\\a.lks", temp / "In\\Z\\z.apk"}));
    EXPECT_EQ(StatusLines().size(), 2u);

    SetCurrentDirectoryA(parent.c_str());
    DeleteFileA((tooDeep + "\\hidden.lks").c_str());
    RemoveDirectoryA(tooDeep.c_str());
    SetCurrentDirectoryA(previous);
}

TEST_F(FetchFilesTest, NamesOutsideTheCodePageShowQuestionMarksNeverAnotherFilesName)
{
    ASSERT_EQ(GetACP(), 1252u);
    WriteFileBytes(temp / "In\\Okami_Format_1.0.lks", "plain");
    // An O with a macron, which the system's default writes as a plain O, and
    // Cyrillic letters, which it writes as "?".
    std::string in = temp / "In\\";
    std::wstring folder(in.begin(), in.end());  // the test folder's path is plain ASCII
    const std::wstring names[] = {L"\u014Ckami_Format_1.0.lks", L"\u0410\u0443\u0434\u0438\u043E_Format_2.80.lks"};
    for (const std::wstring& name : names) {
        HANDLE file = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    FetchFrom("In\\");

    EXPECT_EQ(Sorted(RowPaths(FileRows())), Sorted({temp / "In\\Okami_Format_1.0.lks", temp / "In\\?kami_Format_1.0.lks",
                                                     temp / "In\\?????_Format_2.80.lks"}));
    for (const std::wstring& name : names)
        DeleteFileW((folder + name).c_str());
}

TEST_F(FetchFilesTest, ShadingAlternatesAndContinuesAcrossFetches)
{
    for (const char* name : {"a.lks", "b.lks", "c.lks"})
        WriteFileBytes(temp / "Odd\\" + name, "x");
    WriteFileBytes(temp / "One\\d.apk", "x");
    FetchFrom("Odd");
    EXPECT_EQ(RowColourOnScreen(0), RowShadeDark);
    EXPECT_EQ(RowColourOnScreen(1), RowShadeLight);
    EXPECT_EQ(RowColourOnScreen(2), RowShadeDark);
    FetchFrom("One");
    EXPECT_EQ(RowColourOnScreen(0), RowShadeLight);
    FetchFrom("Odd");
    EXPECT_EQ(RowColourOnScreen(0), RowShadeDark);
    EXPECT_EQ(RowColourOnScreen(1), RowShadeLight);
}

TEST_F(FetchFilesTest, EventsDuringTheFetchAreDropped)
{
    WriteFileBytes(temp / "In\\a.lks", "x");
    app.ActiveSource = temp / "In";
    EventQueueClear();
    PostMessageA(MainWindowHandle(), WM_CLOSE, 0, 0);
    PostMessageA(ControlWindow(ButtonSort), BM_CLICK, 0, 0);
    FetchFiles(app);
    EXPECT_EQ(ListCountRows(ListFiles), 1);
    PostMessageA(ControlWindow(ButtonLoadIndex), BM_CLICK, 0, 0);
    AppEvent event;
    ASSERT_TRUE(EventWait(&event));
    EXPECT_EQ(event.kind, AppEvent::ControlEvent);
    EXPECT_EQ(event.control, ButtonLoadIndex);
}

// Folder links: a Unix symbolic link shows as a folder under Wine.
TEST_F(FetchFilesTest, LinkBackToAnAncestorIsNotWalkedAgain)
{
    WriteFileBytes(temp / "In\\top.lks", "x");
    WriteFileBytes(temp / "In\\A\\mid.apk", "x");
    WriteFileBytes(temp / "In\\A\\B\\low.paf.exe", "x");
    FolderLink loop(temp / "In\\A\\B", "loop", "../..");
    if (!loop.made())
        GTEST_SKIP() << "no folder links here";
    // The link really leads round.
    ASSERT_TRUE(FileExists(temp / "In\\A\\B\\loop\\A\\B\\loop\\top.lks"));

    FetchFrom("In");
    EXPECT_EQ(Sorted(RowPaths(FileRows())),
              Sorted({temp / "In\\top.lks", temp / "In\\A\\mid.apk", temp / "In\\A\\B\\low.paf.exe"}));
    EXPECT_EQ(GetWindowTitle(), "Quillet - 3  LiberKey Files found");
    EXPECT_EQ(StatusLines().back(), FinishedLine("LiberKey"));
}

TEST_F(FetchFilesTest, FolderReachedTwiceIsListedOnce)
{
    WriteFileBytes(temp / "In\\A\\a.apk", "x");
    WriteFileBytes(temp / "In\\B\\b.apk", "x");
    FolderLink toA(temp / "In\\B", "toA", "../A");
    if (!toA.made())
        GTEST_SKIP() << "no folder links here";
    ASSERT_TRUE(FileExists(temp / "In\\B\\toA\\a.apk"));

    FetchFrom("In");
    std::vector<std::string> names;
    for (const Row& row : FileRows())
        names.push_back(row.name);
    EXPECT_EQ(Sorted(names), Sorted({"a.apk", "b.apk"}));
}

// A link out of the source is not walked, and said so once; one that stays
// inside is walked as any folder.
TEST_F(FetchFilesTest, LinkToAFolderOutsideTheTreeIsNotFollowed)
{
    WriteFileBytes(temp / "In\\own.lks", "x");
    WriteFileBytes(temp / "In\\Inner\\near.apk", "x");
    WriteFileBytes(temp / "Elsewhere\\far.apk", "x");
    FolderLink shared(temp / "In", "Shared", "../Elsewhere");
    FolderLink inner(temp / "In", "Near", "Inner");
    if (!shared.made() || !inner.made())
        GTEST_SKIP() << "no folder links here";

    FetchFrom("In");
    std::vector<std::string> names;
    for (const Row& row : FileRows())
        names.push_back(row.name);
    EXPECT_EQ(Sorted(names), Sorted({"near.apk", "own.lks"}));
    std::vector<std::string> lines = StatusLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         StatusLine("Link not followed", std::string(ActivityMarker) + "  " + temp / "In\\Shared")),
              1);
    EXPECT_EQ(lines.size(), 3u);
}
