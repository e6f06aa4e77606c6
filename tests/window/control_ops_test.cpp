#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "support/window_test.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/icon_slots.h"
#include "window/main_window.h"

TEST(SplitRowText, SplitsAtLineFeedsAndDropsPartsBeyondTheLastColumn)
{
    EXPECT_EQ(SplitRowText("a\nb\nc\nd", 3), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitRowText("a\nb", 3), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitRowText("plain", 2), (std::vector<std::string>{"plain"}));
    EXPECT_EQ(SplitRowText("a\n\nc", 3), (std::vector<std::string>{"a", "", "c"}));
    EXPECT_EQ(SplitRowText("", 2), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitRowText("x\n", 2), (std::vector<std::string>{"x", ""}));
}

using CtlSetTextTest = WindowTest;

TEST_F(CtlSetTextTest, PathFieldAndLabelShowTheText)
{
    CtlSetText(FieldActiveSource, "C:\\Downloads\\");
    CtlSetText(LabelSelectIndex, "Pick one");
    EXPECT_EQ(CtlGetText(FieldActiveSource), "C:\\Downloads\\");
    EXPECT_EQ(CtlGetText(LabelSelectIndex), "Pick one");
}

TEST_F(CtlSetTextTest, DropDownSelectsItemIgnoringLetterCase)
{
    CtlAddItem(ComboIndex, "LiberKey");
    CtlAddItem(ComboIndex, "PortableApps");
    CtlAddItem(ComboIndex, "Android");
    EXPECT_EQ(CtlGetText(ComboIndex), "");

    CtlSetText(ComboIndex, "pORTABLEaPPS");
    EXPECT_EQ(CtlGetText(ComboIndex), "PortableApps");

    CtlSetText(ComboIndex, "Nonesuch");
    EXPECT_EQ(CtlGetText(ComboIndex), "PortableApps");

    CtlSetText(ComboIndex, "Portable");
    EXPECT_EQ(CtlGetText(ComboIndex), "PortableApps");

    CtlSetText(ComboIndex, "");
    EXPECT_EQ(CtlGetText(ComboIndex), "");
    EXPECT_EQ(SendMessageA(ControlWindow(ComboIndex), CB_GETCURSEL, 0, 0), CB_ERR);
}

using CtlSetStateTest = WindowTest;

TEST_F(CtlSetStateTest, CheckingOneOptionUnchecksTheOther)
{
    CtlSetState(OptionMove, 1);
    EXPECT_EQ(CtlGetState(OptionMove), 1);
    EXPECT_EQ(CtlGetState(OptionCopy), 0);
    CtlSetState(OptionCopy, 1);
    EXPECT_EQ(CtlGetState(OptionMove), 0);
    EXPECT_EQ(CtlGetState(OptionCopy), 1);
    CtlSetState(OptionCopy, 0);
    EXPECT_EQ(CtlGetState(OptionCopy), 0);
}

TEST_F(CtlSetStateTest, ClickingOneOptionUnchecksTheOther)
{
    SendMessageA(ControlWindow(OptionCopy), BM_CLICK, 0, 0);
    EXPECT_EQ(CtlGetState(OptionCopy), 1);
    SendMessageA(ControlWindow(OptionMove), BM_CLICK, 0, 0);
    EXPECT_EQ(CtlGetState(OptionMove), 1);
    EXPECT_EQ(CtlGetState(OptionCopy), 0);
    // The check box is not part of the option group.
    SendMessageA(ControlWindow(CheckDumpLeftovers), BM_CLICK, 0, 0);
    EXPECT_EQ(CtlGetState(CheckDumpLeftovers), 1);
    EXPECT_EQ(CtlGetState(OptionMove), 1);
}

TEST_F(CtlSetStateTest, CheckBoxChecksAndClears)
{
    CtlSetState(CheckDumpLeftovers, 1);
    EXPECT_EQ(CtlGetState(CheckDumpLeftovers), 1);
    CtlSetState(CheckDumpLeftovers, 0);
    EXPECT_EQ(CtlGetState(CheckDumpLeftovers), 0);
    SendMessageA(ControlWindow(CheckDumpLeftovers), BM_CLICK, 0, 0);
    EXPECT_EQ(CtlGetState(CheckDumpLeftovers), 1);
}

using ListAddRowTest = WindowTest;

TEST_F(ListAddRowTest, ColumnsComeFromLineFeedSeparatedParts)
{
    ListAddRow(ListSorted, -1, "_Games\nCubePortable_\nOkay\nextra");
    ASSERT_EQ(ListCountRows(ListSorted), 1);
    EXPECT_EQ(ListRowText(ListSorted, 0, 0), "_Games");
    EXPECT_EQ(ListRowText(ListSorted, 0, 1), "CubePortable_");
    EXPECT_EQ(ListRowText(ListSorted, 0, 2), "Okay");
    EXPECT_EQ(ListColumnCountOf(ListSorted), 3);
}

TEST_F(ListAddRowTest, InsertsAtThePositionOrAfterTheLastRow)
{
    ListAddRow(ListStatus, -1, "b\n2");
    ListAddRow(ListStatus, 0, "a\n1");
    ListAddRow(ListStatus, -1, "c\n3");
    ASSERT_EQ(ListCountRows(ListStatus), 3);
    EXPECT_EQ(ListRowText(ListStatus, 0, 0), "a");
    EXPECT_EQ(ListRowText(ListStatus, 1, 0), "b");
    EXPECT_EQ(ListRowText(ListStatus, 2, 1), "3");
}

TEST_F(ListAddRowTest, FileListKeepsTheFolderInItsHiddenColumnWithTheRowIcon)
{
    ListAddRow(ListFiles, -1, "C:\\In\\Sub\\\nAIMP_3.0.lks", ImageLiberkeyPackage);
    ListAddRow(ListFiles, -1, "C:\\In\\\nfoo.apk", ImageAndroidPackage);
    EXPECT_EQ(ListRowText(ListFiles, 0, 0), "C:\\In\\Sub\\");
    EXPECT_EQ(ListRowText(ListFiles, 0, 1), "AIMP_3.0.lks");
    EXPECT_EQ(ListRowImageSlot(ListFiles, 0), ImageLiberkeyPackage);
    EXPECT_EQ(ListRowImageSlot(ListFiles, 1), ImageAndroidPackage);
    EXPECT_EQ(SendMessageA(ControlWindow(ListFiles), LVM_GETCOLUMNWIDTH, 0, 0), 0);
}

TEST_F(ListAddRowTest, LongCellTextsComeBackWhole)
{
    std::string longName(1000, 'x');
    ListAddRow(ListFiles, -1, "C:\\\n" + longName + ".lks");
    EXPECT_EQ(ListRowText(ListFiles, 0, 1), longName + ".lks");
}

using ListRemoveRowTest = WindowTest;

TEST_F(ListRemoveRowTest, LaterRowsMoveUpByOne)
{
    for (int i = 0; i < 5; ++i)
        ListAddRow(ListSorted, -1, "cat\nname" + std::to_string(i));
    ListRemoveRow(ListSorted, 3);
    ASSERT_EQ(ListCountRows(ListSorted), 4);
    EXPECT_EQ(ListRowText(ListSorted, 3, 1), "name4");
    EXPECT_EQ(ListRowText(ListSorted, 2, 1), "name2");
}

TEST_F(ListRemoveRowTest, RemoveAllRowsEmptiesTheList)
{
    for (int i = 0; i < 5; ++i)
        ListAddRow(ListFiles, -1, "C:\\\nf.lks");
    ListRemoveAllRows(ListFiles);
    EXPECT_EQ(ListCountRows(ListFiles), 0);
}

using ListSetRowColourTest = WindowTest;

TEST_F(ListSetRowColourTest, PaintsEveryColumnOfTheRow)
{
    // The colour is painted on screen, so look at the pixels of all three
    // columns of the sorted list.
    TabCtrl_SetCurSel(ControlWindow(PanelTabs), 0);
    HWND list = ControlWindow(ListSorted);
    ListAddRow(ListSorted, -1, "a\nb\nc");
    ListAddRow(ListSorted, -1, "d\ne\nf");
    ListSetRowColour(ListSorted, 1, RGB(0xC1, 0x22, 0x33));
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpPending();

    RECT row;
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)));
    HDC dc = GetDC(list);
    int y = row.bottom - 2;
    for (int x : {row.left + 200, row.left + 300, row.left + 500})
        EXPECT_EQ(GetPixel(dc, x, y), RGB(0xC1, 0x22, 0x33)) << "x=" << x;
    RECT other;
    other.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(GetPixel(dc, other.left + 300, other.bottom - 2), RGB(219, 219, 219));
    ReleaseDC(list, dc);
}

using EnsureVisibleTest = WindowTest;

TEST_F(EnsureVisibleTest, ScrollsTheRowWhollyIntoView)
{
    HWND list = ControlWindow(ListSorted);
    for (int i = 0; i < 100; ++i)
        ListAddRow(ListSorted, -1, "cat\nname" + std::to_string(i) + "\nOkay");
    EXPECT_EQ(SendMessageA(list, LVM_GETTOPINDEX, 0, 0), 0);
    EnsureVisible(ListSorted, 99);
    RECT client, row;
    GetClientRect(list, &client);
    row.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, 99, reinterpret_cast<LPARAM>(&row));
    EXPECT_GT(SendMessageA(list, LVM_GETTOPINDEX, 0, 0), 0);
    EXPECT_GE(row.top, 0);
    EXPECT_LE(row.bottom, client.bottom);
}

using SetWindowTitleTest = WindowTest;

TEST_F(SetWindowTitleTest, ReplacesTheTitle)
{
    EXPECT_EQ(GetWindowTitle(), "");
    SetWindowTitle("Quillet - 3  LiberKey Files found");
    EXPECT_EQ(GetWindowTitle(), "Quillet - 3  LiberKey Files found");
}
