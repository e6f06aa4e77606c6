#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "support/window_test.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/icon_slots.h"
#include "window/main_window.h"
#include "window/window_layout.h"

TEST(CentreOnScreen, CentresTheOuterWindow)
{
    WindowPlacement at = CentreOnScreen(1280, 1024, 871, 680);
    EXPECT_EQ(at.x, (1280 - 871) / 2);
    EXPECT_EQ(at.y, (1024 - 680) / 2);
    EXPECT_EQ(at.width, 871);
    EXPECT_EQ(at.height, 680);
}

TEST(CentreOnScreen, ClampsToASmallerScreen)
{
    WindowPlacement at = CentreOnScreen(800, 600, 871, 680);
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 0);
    EXPECT_EQ(at.width, 800);
    EXPECT_EQ(at.height, 600);

    at = CentreOnScreen(1024, 600, 871, 680);
    EXPECT_EQ(at.x, (1024 - 871) / 2);
    EXPECT_EQ(at.y, 0);
    EXPECT_EQ(at.height, 600);
}

namespace {

std::string ClassOf(HWND hwnd)
{
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

LONG StyleOf(HWND hwnd)
{
    return GetWindowLongA(hwnd, GWL_STYLE);
}

// The windows below a parent in z-order, depth first: the order in which the
// dialog manager walks them for Tab and Shift+Tab.
void WalkZOrder(HWND parent, std::vector<HWND>& out)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        out.push_back(child);
        if (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
            WalkZOrder(child, out);
    }
}

LOGFONTA FontOf(HWND hwnd)
{
    LOGFONTA font = {};
    HFONT handle = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    if (handle)
        GetObjectA(handle, sizeof(font), &font);
    return font;
}

}  // namespace

using MainWindowOpenTest = WindowTest;

TEST_F(MainWindowOpenTest, WindowHasTheFixedClientSizeEmptyTitleAndFrame)
{
    HWND main = MainWindowHandle();
    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 865);
    EXPECT_EQ(client.bottom, 655);
    EXPECT_EQ(GetWindowTitle(), "");
    EXPECT_TRUE(IsWindowVisible(main));
    LONG style = StyleOf(main);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_NE(GetClassLongPtrA(main, GCLP_HICON), 0);
}

TEST_F(MainWindowOpenTest, WindowIsCentredOnTheScreen)
{
    RECT outer;
    GetWindowRect(MainWindowHandle(), &outer);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(outer.left, (screenWidth - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (screenHeight - (outer.bottom - outer.top)) / 2);
}

TEST_F(MainWindowOpenTest, EveryControlStandsWhereTheLayoutSays)
{
    for (int i = 0; i < MainWindowControlCount; ++i) {
        const ControlLayout& layout = MainWindowControls[i];
        HWND hwnd = ControlWindow(layout.id);
        ASSERT_NE(hwnd, nullptr) << layout.id;
        EXPECT_EQ(GetDlgCtrlID(hwnd), layout.id);
        RECT r = RectInParent(hwnd);
        EXPECT_EQ(r.left, layout.x) << layout.id;
        EXPECT_EQ(r.top, layout.y) << layout.id;
        EXPECT_EQ(r.right - r.left, layout.w) << layout.id;
        EXPECT_EQ(r.bottom - r.top, layout.h) << layout.id;
        bool onWindow = GetParent(hwnd) == MainWindowHandle();
        EXPECT_EQ(onWindow, layout.page == OnWindow) << layout.id;
    }
    EXPECT_EQ(ControlWindow(3), nullptr);
    EXPECT_EQ(ControlWindow(4), nullptr);
    EXPECT_EQ(ControlWindow(5), nullptr);
}

TEST_F(MainWindowOpenTest, ControlsSitOnTheirTabPages)
{
    HWND tabs = ControlWindow(PanelTabs);
    HWND page0 = GetParent(ControlWindow(ListFiles));
    HWND page1 = GetParent(ControlWindow(OptionMove));
    HWND page2 = GetParent(ControlWindow(ListStatus));
    EXPECT_EQ(GetParent(page0), tabs);
    EXPECT_NE(page0, page1);
    EXPECT_NE(page1, page2);
    EXPECT_EQ(GetParent(ControlWindow(ListSorted)), page0);
    EXPECT_EQ(GetParent(ControlWindow(FieldAndroidTarget)), page1);
    EXPECT_EQ(GetParent(ControlWindow(FrameSpare)), page1);
    EXPECT_EQ(GetParent(ControlWindow(FrameStatus)), page2);
    EXPECT_TRUE(IsWindowVisible(page0));
    EXPECT_FALSE(IsWindowVisible(page1));
    EXPECT_FALSE(IsWindowVisible(page2));

    // A few places straight from the window's drawing, in case the table drifts.
    RECT r = RectInParent(ControlWindow(ButtonSort));
    EXPECT_EQ(r.left, 80);
    EXPECT_EQ(r.top, 595);
    r = RectInParent(ControlWindow(ListStatus));
    EXPECT_EQ(r.right - r.left, 800);
    EXPECT_EQ(r.bottom - r.top, 490);
}

TEST_F(MainWindowOpenTest, ControlsAreOfTheirKinds)
{
    EXPECT_EQ(ClassOf(ControlWindow(PanelTabs)), WC_TABCONTROLA);
    for (int id : {ListFiles, ListSorted, ListStatus}) {
        HWND list = ControlWindow(id);
        EXPECT_EQ(ClassOf(list), WC_LISTVIEWA);
        LONG style = StyleOf(list);
        EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_TRUE(style & LVS_SINGLESEL);
        EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
        EXPECT_TRUE(GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        LRESULT ex = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
        EXPECT_TRUE(ex & LVS_EX_DOUBLEBUFFER);
    }
    for (int id : {FieldLiberkeySource, FieldActiveSource, FieldActiveTarget}) {
        LONG style = StyleOf(ControlWindow(id));
        EXPECT_EQ(ClassOf(ControlWindow(id)), "Edit");
        EXPECT_TRUE(style & ES_READONLY);
        EXPECT_TRUE(style & ES_AUTOHSCROLL);
        EXPECT_FALSE(style & WS_BORDER);
        EXPECT_TRUE(style & WS_TABSTOP);
    }
    EXPECT_TRUE(StyleOf(ControlWindow(FieldLiberkeySource)) & ES_CENTER);
    EXPECT_FALSE(StyleOf(ControlWindow(FieldActiveSource)) & (ES_CENTER | ES_RIGHT));
    EXPECT_EQ(StyleOf(ControlWindow(LabelLiberkeySource)) & SS_TYPEMASK, SS_CENTER);
    EXPECT_EQ(StyleOf(ControlWindow(LabelCopyMove)) & SS_TYPEMASK, SS_LEFT);
    EXPECT_EQ(StyleOf(ControlWindow(FrameQuit)) & BS_TYPEMASK, BS_GROUPBOX);
    EXPECT_EQ(StyleOf(ControlWindow(OptionMove)) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
    EXPECT_EQ(StyleOf(ControlWindow(CheckDumpLeftovers)) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_TRUE(StyleOf(ControlWindow(ButtonQuit)) & BS_ICON);
    EXPECT_EQ(StyleOf(ControlWindow(ComboIndex)) & 3, CBS_DROPDOWNLIST);
}

TEST_F(MainWindowOpenTest, TextsOfLabelsAndButtons)
{
    EXPECT_EQ(CtlGetText(LabelLiberkeyPaths), " LiberKey source and target paths");
    EXPECT_EQ(CtlGetText(LabelPortableAppsPaths), " PortableApps source and target paths");
    EXPECT_EQ(CtlGetText(LabelAndroidPaths), " Android source and target paths");
    EXPECT_EQ(CtlGetText(LabelCopyMove), " Copying or moving portable files around");
    EXPECT_EQ(CtlGetText(OptionMove), "Move files to target path");
    EXPECT_EQ(CtlGetText(OptionCopy), "Copy files to target path");
    EXPECT_EQ(CtlGetText(CheckDumpLeftovers), "Dump leftover files to a report log file in program dir");
    EXPECT_EQ(CtlGetText(LabelSelectIndex), "Select index");
    EXPECT_EQ(CtlGetText(ButtonAndroidTarget), "...");
    EXPECT_EQ(CtlGetText(LabelActiveTarget), "Target");
    EXPECT_EQ(CtlGetText(ButtonSort), "");
    EXPECT_EQ(CtlGetText(FrameTabs), "");
    EXPECT_EQ(CtlGetState(OptionMove), 0);
    EXPECT_EQ(CtlGetState(OptionCopy), 0);
    EXPECT_EQ(CtlGetState(CheckDumpLeftovers), 0);
}

TEST_F(MainWindowOpenTest, ImageButtonsShowTheirIcons)
{
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(ControlWindow(ButtonLoadIndex), BM_GETIMAGE, IMAGE_ICON, 0)),
              IconSlot(ImageLoadIndex));
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(ControlWindow(ButtonSort), BM_GETIMAGE, IMAGE_ICON, 0)),
              IconSlot(ImageSort));
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(ControlWindow(ButtonQuit), BM_GETIMAGE, IMAGE_ICON, 0)),
              IconSlot(ImageQuit));
    for (int slot : {1, 2, 3, 4, 5, 6, 8, 9, 10})
        EXPECT_NE(IconSlot(slot), nullptr) << slot;
    EXPECT_EQ(IconSlot(7), nullptr);
}

TEST_F(MainWindowOpenTest, TabsHaveTheirCaptionsAndIcons)
{
    HWND tabs = ControlWindow(PanelTabs);
    ASSERT_EQ(TabCtrl_GetItemCount(tabs), 3);
    const char* captions[] = {"  Main work form", " Source and target paths setup", " Errors of the idiot programmer"};
    for (int i = 0; i < 3; ++i) {
        char text[64] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, captions[i]);
        EXPECT_EQ(item.iImage, i);
    }
    EXPECT_EQ(ImageList_GetImageCount(TabCtrl_GetImageList(tabs)), 3);
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), 0);
}

TEST_F(MainWindowOpenTest, SwitchingTabsShowsThatPage)
{
    HWND tabs = ControlWindow(PanelTabs);
    TabCtrl_SetCurFocus(tabs, 2);
    PumpPending();
    EXPECT_TRUE(IsWindowVisible(ControlWindow(ListStatus)));
    EXPECT_FALSE(IsWindowVisible(ControlWindow(ListFiles)));
}

TEST_F(MainWindowOpenTest, ListsHaveTheirColumns)
{
    struct Column {
        int list;
        int index;
        const char* header;
        int width;
    };
    const Column columns[] = {
        {ListFiles, 0, "Directory", 0},       {ListFiles, 1, "Source Files", 231}, {ListSorted, 0, "Category", 233},
        {ListSorted, 1, "Filename", 233},     {ListSorted, 2, "Status", 70},       {ListStatus, 0, "Status message", 140},
        {ListStatus, 1, "Explanation", 656},
    };
    for (const Column& c : columns) {
        HWND list = ControlWindow(c.list);
        char text[64] = "";
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = text;
        column.cchTextMax = sizeof(text);
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, c.index, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(text, c.header);
        EXPECT_EQ(column.cx, c.width) << c.header;
    }
    EXPECT_EQ(ListColumnCountOf(ListFiles), 2);
    EXPECT_EQ(ListColumnCountOf(ListSorted), 3);
    EXPECT_EQ(ListColumnCountOf(ListStatus), 2);
}

TEST_F(MainWindowOpenTest, TextControlsUseComicSansTenPointOthersTheDefaultFont)
{
    HDC screen = GetDC(nullptr);
    int height = -MulDiv(10, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    for (int i = 0; i < MainWindowControlCount; ++i) {
        const ControlLayout& layout = MainWindowControls[i];
        HWND hwnd = ControlWindow(layout.id);
        bool hasFont = SendMessageA(hwnd, WM_GETFONT, 0, 0) != 0;
        if (layout.kind == ControlKind::GroupBox || layout.kind == ControlKind::TabPanel
            || layout.kind == ControlKind::ImageButton) {
            EXPECT_FALSE(hasFont) << layout.id;
            continue;
        }
        ASSERT_TRUE(hasFont) << layout.id;
        LOGFONTA font = FontOf(hwnd);
        EXPECT_STREQ(font.lfFaceName, "Comic Sans MS") << layout.id;
        EXPECT_EQ(font.lfHeight, height) << layout.id;
        EXPECT_EQ(font.lfWeight, FW_NORMAL) << layout.id;
        EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut) << layout.id;
    }
}

TEST_F(MainWindowOpenTest, ListsLabelsAndPathFieldsAreGrey)
{
    const COLORREF grey = RGB(219, 219, 219);
    for (int id : {ListFiles, ListSorted, ListStatus}) {
        EXPECT_EQ(static_cast<COLORREF>(SendMessageA(ControlWindow(id), LVM_GETBKCOLOR, 0, 0)), grey);
        EXPECT_EQ(static_cast<COLORREF>(SendMessageA(ControlWindow(id), LVM_GETTEXTBKCOLOR, 0, 0)), grey);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    for (int id : {LabelSelectIndex, LabelLiberkeySource, FieldActiveSource, FieldAndroidTarget}) {
        HWND control = ControlWindow(id);
        HBRUSH brush = reinterpret_cast<HBRUSH>(
            SendMessageA(GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(control)));
        LOGBRUSH info = {};
        ASSERT_TRUE(GetObjectA(brush, sizeof(info), &info)) << id;
        EXPECT_EQ(info.lbColor, grey) << id;
        EXPECT_EQ(GetBkColor(dc), grey) << id;
    }
    DeleteDC(dc);
    EXPECT_EQ(GetClassLongPtrA(MainWindowHandle(), GCLP_HBRBACKGROUND) != 0, true);

    // And on screen: the middle of the window's bottom bar between controls.
    PumpPending();
    HDC window = GetDC(MainWindowHandle());
    EXPECT_EQ(GetPixel(window, 262, 615), grey);
    ReleaseDC(MainWindowHandle(), window);
}

TEST_F(MainWindowOpenTest, DropDownIsClosedAtTwentyFivePixelsAndEmpty)
{
    HWND combo = ControlWindow(ComboIndex);
    RECT closed;
    GetWindowRect(combo, &closed);
    EXPECT_EQ(closed.bottom - closed.top, 25);
    RECT dropped;
    SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    // The opened list takes most of its 350 pixels; how the system splits them
    // between the box and the list is its own affair.
    EXPECT_GE(dropped.bottom - dropped.top, 300);
    EXPECT_LE(dropped.bottom - dropped.top, 350);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
}

TEST_F(MainWindowOpenTest, FocusOrderIsTheCreationOrder)
{
    std::vector<int> expected;
    for (int i = 0; i < MainWindowControlCount; ++i) {
        HWND hwnd = ControlWindow(MainWindowControls[i].id);
        if (StyleOf(hwnd) & WS_TABSTOP)
            expected.push_back(MainWindowControls[i].id);
    }
    std::vector<HWND> walk;
    WalkZOrder(MainWindowHandle(), walk);
    std::vector<int> actual;
    for (HWND hwnd : walk) {
        if ((StyleOf(hwnd) & WS_TABSTOP) && GetDlgCtrlID(hwnd) > 0)
            actual.push_back(GetDlgCtrlID(hwnd));
    }
    EXPECT_EQ(actual, expected);
    // Every control that takes input is a tab stop, path fields included: the
    // panel, 3 lists, 8 path fields, 6 "..." buttons, 2 options, the check
    // box, 3 image buttons and the drop-down.
    EXPECT_EQ(expected.size(), 25u);
}

TEST_F(MainWindowOpenTest, TabKeyMovesFocusAlongTheBottomBar)
{
    HWND main = MainWindowHandle();
    SetForegroundWindow(main);
    SetFocus(ControlWindow(ButtonLoadIndex));
    const int order[] = {ButtonSort, ComboIndex, FieldActiveSource, FieldActiveTarget, ButtonQuit};
    for (int next : order) {
        MSG msg = {GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
        IsDialogMessageA(main, &msg);
        EXPECT_EQ(GetFocus(), ControlWindow(next)) << next;
    }
}

TEST_F(MainWindowOpenTest, OptionGroupStartsAtOptionMove)
{
    EXPECT_TRUE(StyleOf(ControlWindow(OptionMove)) & WS_GROUP);
    EXPECT_FALSE(StyleOf(ControlWindow(OptionCopy)) & WS_GROUP);
    EXPECT_TRUE(StyleOf(ControlWindow(CheckDumpLeftovers)) & WS_GROUP);
}

TEST_F(MainWindowOpenTest, PathFieldsRefuseTypedKeys)
{
    CtlSetText(FieldActiveSource, "C:\\In\\");
    HWND field = ControlWindow(FieldActiveSource);
    SetFocus(field);
    for (char key : std::string("X\b")) {
        PostMessageA(field, WM_KEYDOWN, static_cast<WPARAM>(key == '\b' ? VK_BACK : 'X'), 1);
        PostMessageA(field, WM_CHAR, static_cast<WPARAM>(key), 1);
    }
    PostMessageA(field, WM_KEYDOWN, VK_DELETE, 1);
    SendMessageA(field, WM_PASTE, 0, 0);
    PumpPending();
    EXPECT_EQ(CtlGetText(FieldActiveSource), "C:\\In\\");
}

TEST_F(MainWindowOpenTest, CloseReleasesEverythingAndCanOpenAgain)
{
    MainWindowClose();
    EXPECT_EQ(MainWindowHandle(), nullptr);
    EXPECT_EQ(ControlWindow(ListFiles), nullptr);
    EXPECT_EQ(ListCountRows(ListFiles), 0);
    CtlSetText(FieldActiveSource, "ignored without a window");
    ASSERT_NE(MainWindowOpen(GetModuleHandleA(nullptr)), nullptr);
    EXPECT_NE(ControlWindow(ListFiles), nullptr);
}
