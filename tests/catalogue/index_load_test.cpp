#include <gtest/gtest.h>

#include "app/event_loop.h"
#include "app/sort_steps.h"
#include "catalogue/index_load.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "util/system_error.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/main_window.h"
#include "window/status_list.h"

namespace {

std::string Line(const std::string& title, const std::string& text)
{
    return StatusLine(title, std::string(ActivityMarker) + "  " + text);
}

}  // namespace

class LoadIndexTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        for (const char* name : {"LiberKey", "PortableApps", "Android"})
            CtlAddItem(ComboIndex, name);
        app.TitleBanner = "Quillet - ";
        Settings& s = app.Settings;
        s.LiberkeySourcePath = temp / "LK\\In\\";
        s.LiberkeyTargetPath = temp / "LK\\Out\\";
        s.PortableAppsSourcePath = temp / "PA\\In\\";
        s.PortableAppsTargetPath = temp / "PA\\Out\\Deep\\";
        s.AndroidSourcePath = temp / "AN\\In\\";
        s.AndroidTargetPath = temp / "AN\\Out\\";
    }

    // Handles every pending event as the loop would, until none is left.
    void DispatchPending()
    {
        PumpPending();
        EventPost({AppEvent::CloseRequest, 0, 0});  // marks the end of what is pending
        AppEvent event;
        while (EventWait(&event) && event.kind != AppEvent::CloseRequest)
            DispatchEvent(app, event);
    }

    TempFolder temp;
};

TEST_F(LoadIndexTest, SelectedIndexBecomesActiveAndIsFetched)
{
    WriteFileBytes(temp / "PA\\In\\FirefoxPortable_10.0.paf.exe", "x");
    CtlSetText(ComboIndex, "PortableApps");
    LoadIndex(app);
    EXPECT_EQ(app.Settings.LastIndex, "PortableApps");
    EXPECT_EQ(CtlGetText(FieldActiveSource), temp / "PA\\In\\");
    EXPECT_EQ(CtlGetText(FieldActiveTarget), temp / "PA\\Out\\Deep\\");
    EXPECT_EQ(CtlGetText(FieldPortableAppsSource), temp / "PA\\In\\");
    EXPECT_EQ(CtlGetText(FieldPortableAppsTarget), temp / "PA\\Out\\Deep\\");
    EXPECT_EQ(CtlGetText(FieldLiberkeySource), "");
    EXPECT_TRUE(FolderExists(temp / "PA\\Out\\Deep"));

    std::vector<std::string> expected = {
        Line("Index load", "PortableApps file sort index list loaded"),
        Line("Fetching files", "Retrieving files from " + temp / "PA\\In\\"),
        Line("Finished fetching", "Found all files for PortableApps"),
    };
    EXPECT_EQ(StatusLines(), expected);
    ASSERT_EQ(ListCountRows(ListFiles), 1);
    EXPECT_EQ(ListRowText(ListFiles, 0, 1), "FirefoxPortable_10.0.paf.exe");
    EXPECT_EQ(GetWindowTitle(), "Quillet - 1  PortableApps Files found");
}

TEST_F(LoadIndexTest, EachIndexLoadsItsWholeCatalogue)
{
    struct Expected {
        const char* index;
        size_t rows;
        const char* lastName;
        const char* line;
    };
    const Expected indexes[] = {
        {"LiberKey", 335, "VideoCalc_", "LiberKey file sort index list loaded"},
        {"PortableApps", 226, "ZintPortable_", "PortableApps file sort index list loaded"},
        {"Android", 272, "WiFinder", "AndroidApps file sort index list loaded"},
    };
    for (const Expected& e : indexes) {
        CtlSetText(ComboIndex, e.index);
        LoadIndex(app);
        ASSERT_EQ(app.IndexList.size(), e.rows) << e.index;
        EXPECT_EQ(app.IndexList.back().name, e.lastName);
        EXPECT_EQ(StatusLines()[StatusLines().size() - 3], Line("Index load", e.line));
    }
}

TEST_F(LoadIndexTest, LoadingAgainRebuildsInsteadOfAdding)
{
    CtlSetText(ComboIndex, "LiberKey");
    LoadIndex(app);
    LoadIndex(app);
    EXPECT_EQ(app.IndexList.size(), 335u);

    CtlSetText(ComboIndex, "Android");
    LoadIndex(app);
    EXPECT_EQ(app.IndexList.size(), 272u);
    for (const IndexEntry& entry : app.IndexList)
        EXPECT_NE(entry.category[0], '_') << entry.category << " " << entry.name;
    EXPECT_EQ(ListCountRows(ListStatus), 9);
}

TEST_F(LoadIndexTest, StoredNameInOtherLetterCaseBecomesTheItemsName)
{
    // The default "Last Index" is written with a lower-case k.
    app.Settings.LastIndex = "Liberkey";
    CtlSetText(ComboIndex, app.Settings.LastIndex);
    LoadIndex(app);
    EXPECT_EQ(app.Settings.LastIndex, "LiberKey");
    EXPECT_EQ(app.IndexList.size(), 335u);
}

TEST_F(LoadIndexTest, NoSelectionEmptiesEverythingAndReportsNothing)
{
    app.Settings.LastIndex = "Liberkey";
    app.IndexList.push_back({"Old", "Entry_"});
    CtlSetText(FieldActiveSource, "C:\\Was\\");
    ListAddRow(ListFiles, -1, "C:\\Was\\\nkept.lks", 8);
    LoadIndex(app);
    EXPECT_EQ(app.Settings.LastIndex, "");
    EXPECT_TRUE(app.IndexList.empty());
    EXPECT_EQ(CtlGetText(FieldActiveSource), "C:\\Was\\");
    EXPECT_EQ(ListCountRows(ListStatus), 0);
    EXPECT_EQ(ListCountRows(ListFiles), 1);
    EXPECT_FALSE(FolderExists(temp / "LK"));
}

TEST_F(LoadIndexTest, EmptyFoldersArePassedOverSilently)
{
    app.Settings.AndroidSourcePath = "";
    app.Settings.AndroidTargetPath = "";
    CtlSetText(ComboIndex, "Android");
    LoadIndex(app);
    EXPECT_EQ(app.Settings.LastIndex, "Android");
    EXPECT_EQ(CtlGetText(FieldActiveTarget), "");
    std::vector<std::string> expected = {
        Line("Index load", "AndroidApps file sort index list loaded"),
        Line("Source abort", "The selected directory to search is empty"),
    };
    EXPECT_EQ(StatusLines(), expected);
}

TEST_F(LoadIndexTest, PickingAnIndexInTheSelectorLoadsIt)
{
    WriteFileBytes(temp / "PA\\In\\a.paf.exe", "x");
    CtlSetText(ComboIndex, "LiberKey");
    // The user moves the selection down by one with the keyboard.
    HWND combo = ControlWindow(ComboIndex);
    SetFocus(combo);
    SendMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_EQ(CtlGetText(ComboIndex), "PortableApps");
    DispatchPending();
    EXPECT_EQ(app.Settings.LastIndex, "PortableApps");
    EXPECT_EQ(app.IndexList.size(), 226u);
    EXPECT_EQ(ListCountRows(ListFiles), 1);
}

TEST_F(LoadIndexTest, LoadButtonLoadsTheSelectedIndexAgain)
{
    WriteFileBytes(temp / "LK\\In\\a.lks", "x");
    CtlSetText(ComboIndex, "LiberKey");
    LoadIndex(app);
    WriteFileBytes(temp / "LK\\In\\b.lks", "x");
    PostMessageA(ControlWindow(ButtonLoadIndex), BM_CLICK, 0, 0);
    DispatchPending();
    EXPECT_EQ(app.IndexList.size(), 335u);
    EXPECT_EQ(ListCountRows(ListFiles), 2);
    EXPECT_EQ(ListCountRows(ListStatus), 6);
}

TEST_F(LoadIndexTest, OtherSelectorNotificationsLoadNothing)
{
    CtlSetText(ComboIndex, "Android");
    HWND combo = ControlWindow(ComboIndex);
    for (WORD code : {CBN_DROPDOWN, CBN_CLOSEUP, CBN_SETFOCUS, CBN_KILLFOCUS, CBN_SELENDOK, CBN_SELENDCANCEL})
        DispatchEvent(app, {AppEvent::ControlEvent, ComboIndex, code});
    // A real drop-down and close of the list raises its notifications too.
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    DispatchPending();
    EXPECT_TRUE(app.IndexList.empty());
    EXPECT_EQ(app.Settings.LastIndex, "");
    EXPECT_EQ(ListCountRows(ListStatus), 0);
}

TEST_F(LoadIndexTest, UserRowsFollowTheCatalogueAndAnEditCountsAtTheNextLoad)
{
    app.UserRowsFilePath = temp / "Quillet.Catalogue.Ini";
    CtlSetText(ComboIndex, "LiberKey");
    LoadIndex(app);
    EXPECT_EQ(ListCountRows(ListStatus), 3);  // no file: nothing is said

    WriteFileBytes(app.UserRowsFilePath, "[LiberKey]\r\nWinamp_ = _Audio\\_Player\r\n");
    LoadIndex(app);
    WriteFileBytes(app.UserRowsFilePath, "[liberkey]\r\nWinamp_ = _Audio\\_Players\r\nAIMP_ = _Mine\r\n");
    PostMessageA(ControlWindow(ButtonLoadIndex), BM_CLICK, 0, 0);
    DispatchPending();
    ASSERT_EQ(app.IndexList.size(), 337u);
    EXPECT_EQ(app.IndexList[335].category, "_Audio\\_Players");
    EXPECT_EQ(app.IndexList[336].name, "AIMP_");
    std::vector<std::string> lines = StatusLines();
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[4], Line("User rows loaded", "1 row for LiberKey from " + app.UserRowsFilePath));
    EXPECT_EQ(lines[8], Line("User rows loaded", "2 rows for LiberKey from " + app.UserRowsFilePath));
}

TEST_F(LoadIndexTest, RefusedUserRowsPlaceNothingOutsideTheTarget)
{
    app.UserRowsFilePath = temp / "Quillet.Catalogue.Ini";
    WriteFileBytes(app.UserRowsFilePath,
                   "[LiberKey]\r\nEvil_ = ..\\Escaped\r\nEvil_ = " + temp / "Escaped" + "\r\nEvil_ = _Kept\r\n");
    WriteFileBytes(temp / "LK\\In\\Evil_1.0.lks", "evil");
    app.Settings.CopyOrMove = "Copy";
    CtlSetText(ComboIndex, "LiberKey");
    LoadIndex(app);
    RunSort(app);
    EXPECT_EQ(ReadFileBytes(temp / "LK\\Out\\_Kept\\Evil_1.0.lks"), "evil");
    EXPECT_FALSE(FolderExists(temp / "LK\\Escaped"));
    EXPECT_FALSE(FolderExists(temp / "Escaped"));
    std::vector<std::string> lines = StatusLines();
    EXPECT_EQ(lines[2], Line("User row refused", "line 2: category leaves the target folder"));
    EXPECT_EQ(lines[3], Line("User row refused", "line 3: category leaves the target folder"));
}

TEST_F(LoadIndexTest, UserRowsThatCannotBeReadAreSaidSoAndTheCatalogueStillLoads)
{
    app.UserRowsFilePath = temp / "Quillet.Catalogue.Ini";
    CtlSetText(ComboIndex, "Android");
    MakeFolders(app.UserRowsFilePath);
    LoadIndex(app);
    RemoveTree(app.UserRowsFilePath);
    HANDLE file = CreateFileA(app.UserRowsFilePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    SetFilePointer(file, 16 * 1024 * 1024 + 1, nullptr, FILE_BEGIN);  // just past what a settings file may be
    SetEndOfFile(file);
    CloseHandle(file);
    LoadIndex(app);
    EXPECT_EQ(app.IndexList.size(), 272u);
    // The system's words without their line end; Wine has none for the
    // second code, and the line says its number.
    std::string denied = SystemErrorText(ERROR_ACCESS_DENIED);
    ASSERT_EQ(denied.substr(denied.size() - 2), "\r\n");
    EXPECT_EQ(StatusLines()[1], Line("User rows not read", app.UserRowsFilePath + "  " + denied.substr(0, denied.size() - 2)));
    EXPECT_EQ(StatusLines()[5], Line("User rows not read", app.UserRowsFilePath + "  error 223"));
}
