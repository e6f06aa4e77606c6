#include "window/main_window.h"

#include <commctrl.h>

#include "window/context_menu.h"
#include "window/controls.h"
#include "window/event_queue.h"
#include "window/icon_slots.h"
#include "window/list_tips.h"
#include "window/list_views.h"
#include "window/taskbar_progress.h"

const char MainWindowClassName[] = "QuilletMainWindow";

namespace {

const char PageClassName[] = "QuilletTabPage";
// No WS_CLIPCHILDREN: group boxes paint only their frame and rely on the
// window to paint what lies inside them.
const DWORD MainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// The images a list row can carry, in image-list order.
const int PackageSlots[] = {ImageLiberkeyPackage, ImagePortableAppsPackage, ImageAndroidPackage};

struct Control {
    HWND hwnd;
    ControlKind kind;
};

HINSTANCE g_instance;
HWND g_main;
HWND g_pages[TabCount];
Control g_controls[ControlCount];
HFONT g_font;
HBRUSH g_greyBrush;
HIMAGELIST g_tabImages;
HIMAGELIST g_packageImages;

bool IsGreyControl(HWND hwnd)
{
    int id = GetDlgCtrlID(hwnd);
    return id > 0 && id < ControlCount && g_controls[id].hwnd == hwnd && KindIsGrey(g_controls[id].kind);
}

LRESULT OnCtlColor(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!IsGreyControl(reinterpret_cast<HWND>(lParam)))
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetBkColor(dc, WindowGrey);
    return reinterpret_cast<LRESULT>(g_greyBrush);
}

LRESULT OnListCustomDraw(int list, NMLVCUSTOMDRAW* draw)
{
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        COLORREF colour;
        if (ListViewRowColour(list, static_cast<int>(draw->nmcd.dwItemSpec), &colour))
            draw->clrTextBk = colour;
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void ShowPage(int page)
{
    for (int i = 0; i < TabCount; ++i)
        ShowWindow(g_pages[i], i == page ? SW_SHOW : SW_HIDE);
}

LRESULT OnNotify(NMHDR* header)
{
    if (header->idFrom == static_cast<UINT_PTR>(PanelTabs) && header->code == TCN_SELCHANGE) {
        ShowPage(static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
        return 0;
    }
    int id = static_cast<int>(header->idFrom);
    if (id <= 0 || id >= ControlCount || g_controls[id].kind != ControlKind::List)
        return 0;
    if (header->code == NM_CUSTOMDRAW)
        return OnListCustomDraw(id, reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    if (header->code == LVN_GETDISPINFOA)
        ListViewAnswerDisplayInfo(id, reinterpret_cast<NMLVDISPINFOA*>(header));
    return 0;
}

// The window procedure turns user actions into events for the event loop and
// otherwise only paints; it never runs a handler itself.
LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CLOSE:
        EventPost({AppEvent::CloseRequest, 0, 0});
        return 0;
    case WM_COMMAND:
        EventPost({AppEvent::ControlEvent, LOWORD(wParam), HIWORD(wParam)});
        return 0;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_CONTEXTMENU:
        if (ContextMenuRequest(reinterpret_cast<HWND>(wParam), lParam))
            return 0;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return OnCtlColor(hwnd, msg, wParam, lParam);
    default:
        if (TaskbarProgressMessage(hwnd, msg))
            return 0;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

// Tab pages hand everything their controls report on to the main window.
LRESULT CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CONTEXTMENU:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        if (g_main)
            return SendMessageA(g_main, msg, wParam, lParam);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

bool RegisterWindowClasses(HINSTANCE instance)
{
    WNDCLASSEXA main = {};
    main.cbSize = sizeof(main);
    main.lpfnWndProc = MainWindowProc;
    main.hInstance = instance;
    main.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(AppIconResource), IMAGE_ICON, 0, 0,
                                               LR_DEFAULTSIZE | LR_SHARED));
    main.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(AppIconResource), IMAGE_ICON, 16, 16,
                                                 LR_SHARED));
    main.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    main.hbrBackground = g_greyBrush;
    main.lpszClassName = MainWindowClassName;
    if (!RegisterClassExA(&main) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;

    WNDCLASSEXA page = {};
    page.cbSize = sizeof(page);
    page.lpfnWndProc = PageProc;
    page.hInstance = instance;
    page.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    page.hbrBackground = g_greyBrush;
    page.lpszClassName = PageClassName;
    if (!RegisterClassExA(&page) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    return true;
}

HFONT CreateWindowFont()
{
    HDC screen = GetDC(nullptr);
    int height = -MulDiv(10, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Comic Sans MS");
}

HIMAGELIST CreateImageList(const int* slots, int count)
{
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, count, 0);
    for (int i = 0; i < count; ++i)
        ImageList_AddIcon(list, IconSlot(slots[i]));
    return list;
}

struct WindowClassAndStyle {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

WindowClassAndStyle ClassAndStyleFor(const ControlLayout& layout)
{
    DWORD align = layout.align == TextAlign::Centre ? 1u : 0u;
    DWORD group = layout.startsGroup ? WS_GROUP : 0;
    switch (layout.kind) {
    case ControlKind::GroupBox:
        return {"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::TabPanel:
        return {WC_TABCONTROLA, WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT};
    case ControlKind::List:
        // Owner data: the list asks for what it shows (see list_views.h).
        return {WC_LISTVIEWA,
                LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_OWNERDATA | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case ControlKind::Label:
        return {"STATIC", static_cast<DWORD>(SS_NOPREFIX | (align ? SS_CENTER : SS_LEFT)), 0};
    case ControlKind::PathField:
        return {"EDIT", static_cast<DWORD>(ES_READONLY | ES_AUTOHSCROLL | (align ? ES_CENTER : ES_LEFT) | WS_TABSTOP), 0};
    case ControlKind::Button:
        return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | group, 0};
    case ControlKind::ImageButton:
        return {"BUTTON", BS_PUSHBUTTON | BS_ICON | WS_TABSTOP | group, 0};
    case ControlKind::OptionButton:
        return {"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP | group, 0};
    case ControlKind::CheckBox:
        return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | group, 0};
    case ControlKind::DropDown:
        return {WC_COMBOBOXA, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | group, 0};
    }
    return {"STATIC", 0, 0};
}

void SetUpList(HWND list, int id)
{
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    SendMessageA(list, LVM_SETBKCOLOR, 0, WindowGrey);
    SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, WindowGrey);
    int column = 0;
    for (int i = 0; i < ListColumnCount; ++i) {
        if (ListColumns[i].list != id)
            continue;
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.pszText = const_cast<char*>(ListColumns[i].header);
        col.cx = ListColumns[i].width;
        col.iSubItem = column;
        SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&col));
        ++column;
    }
    if (id != ListFiles)
        return;
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(g_packageImages));
    // Its rows carry tooltips (an Android package's label).
    ListTipAttach(list);
}

// The closed drop-down is made exactly as high as its table row; the height
// given at creation is the height of the opened list.
void SetUpDropDown(HWND combo, int closedHeight)
{
    // The frame around the selection field depends on the system, so adjust
    // until the closed box has the wanted height.
    int field = closedHeight - 6;
    for (int attempt = 0; attempt < 4; ++attempt) {
        SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
        RECT r;
        GetWindowRect(combo, &r);
        int now = r.bottom - r.top;
        if (now == closedHeight)
            return;
        field += closedHeight - now;
    }
}

HWND CreatePage(HWND tabs, int page, HINSTANCE instance)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(Tabs[page].caption);
    item.iImage = page;
    SendMessageA(tabs, TCM_INSERTITEMA, page, reinterpret_cast<LPARAM>(&item));

    RECT area;
    GetClientRect(tabs, &area);
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    DWORD visible = page == 0 ? WS_VISIBLE : 0;
    return CreateWindowExA(WS_EX_CONTROLPARENT, PageClassName, "", WS_CHILD | WS_CLIPSIBLINGS | visible, area.left,
                           area.top, area.right - area.left, area.bottom - area.top, tabs, nullptr, instance,
                           nullptr);
}

HWND CreateControl(const ControlLayout& layout, HWND parent, HINSTANCE instance)
{
    WindowClassAndStyle cs = ClassAndStyleFor(layout);
    int height = layout.kind == ControlKind::DropDown ? 350 : layout.h;
    HWND hwnd = CreateWindowExA(cs.exStyle, cs.className, layout.text, WS_CHILD | WS_VISIBLE | cs.style, layout.x,
                                layout.y, layout.w, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
    if (!hwnd)
        return nullptr;
    g_controls[layout.id] = {hwnd, layout.kind};
    if (KindTakesFont(layout.kind))
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), FALSE);
    switch (layout.kind) {
    case ControlKind::List:
        SetUpList(hwnd, layout.id);
        break;
    case ControlKind::ImageButton:
        SendMessageA(hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(IconSlot(layout.imageSlot)));
        break;
    case ControlKind::DropDown:
        SetUpDropDown(hwnd, layout.h);
        break;
    case ControlKind::TabPanel:
        SendMessageA(hwnd, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(g_tabImages));
        break;
    default:
        break;
    }
    return hwnd;
}

void CreateControls(HINSTANCE instance)
{
    HWND tabs = nullptr;
    int pagesMade = 0;
    for (int i = 0; i < MainWindowControlCount; ++i) {
        const ControlLayout& layout = MainWindowControls[i];
        HWND parent = g_main;
        if (layout.page != OnWindow) {
            tabs = g_controls[PanelTabs].hwnd;
            while (tabs && pagesMade <= layout.page) {
                g_pages[pagesMade] = CreatePage(tabs, pagesMade, instance);
                ++pagesMade;
            }
            parent = g_pages[layout.page];
        }
        CreateControl(layout, parent, instance);
    }
    // Frames come first in the table, so they would lie on top of what they
    // surround. They take no focus, so moving them to the bottom of the
    // z-order leaves the focus order as it was built.
    for (int i = 0; i < MainWindowControlCount; ++i) {
        if (MainWindowControls[i].kind == ControlKind::GroupBox)
            SetWindowPos(g_controls[MainWindowControls[i].id].hwnd, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

}  // namespace

WindowPlacement CentreOnScreen(int screenWidth, int screenHeight, int outerWidth, int outerHeight)
{
    int width = outerWidth < screenWidth ? outerWidth : screenWidth;
    int height = outerHeight < screenHeight ? outerHeight : screenHeight;
    return {(screenWidth - width) / 2, (screenHeight - height) / 2, width, height};
}

HWND MainWindowOpen(HINSTANCE instance, int showCommand)
{
    if (g_main)
        return g_main;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    g_instance = instance;
    g_greyBrush = CreateSolidBrush(WindowGrey);
    if (!RegisterWindowClasses(instance)) {
        MainWindowClose();
        return nullptr;
    }

    RECT outer = {0, 0, MainClientWidth, MainClientHeight};
    AdjustWindowRectEx(&outer, MainWindowStyle, FALSE, 0);
    WindowPlacement at = CentreOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                        outer.right - outer.left, outer.bottom - outer.top);
    g_main = CreateWindowExA(0, MainWindowClassName, "", MainWindowStyle, at.x, at.y, at.width, at.height, nullptr,
                             nullptr, instance, nullptr);
    if (!g_main) {
        MainWindowClose();
        return nullptr;
    }
    // Before the window is shown, which makes its taskbar button.
    TaskbarProgressAllow(g_main);

    g_font = CreateWindowFont();
    static const int tabSlots[] = {ImageTabWork, ImageTabPaths, ImageTabStatus};
    g_tabImages = CreateImageList(tabSlots, 3);
    g_packageImages = CreateImageList(PackageSlots, 3);

    CreateControls(instance);
    ShowWindow(g_main, showCommand);
    UpdateWindow(g_main);
    return g_main;
}

void MainWindowClose()
{
    TaskbarProgressRelease();
    if (g_main)
        DestroyWindow(g_main);
    g_main = nullptr;
    for (HWND& page : g_pages)
        page = nullptr;
    for (Control& control : g_controls)
        control = {nullptr, ControlKind::GroupBox};
    if (g_font)
        DeleteObject(g_font);
    g_font = nullptr;
    if (g_tabImages)
        ImageList_Destroy(g_tabImages);
    g_tabImages = nullptr;
    if (g_packageImages)
        ImageList_Destroy(g_packageImages);
    g_packageImages = nullptr;
    if (g_instance) {
        UnregisterClassA(MainWindowClassName, g_instance);
        UnregisterClassA(PageClassName, g_instance);
    }
    g_instance = nullptr;
    if (g_greyBrush)
        DeleteObject(g_greyBrush);
    g_greyBrush = nullptr;
}

HWND MainWindowHandle()
{
    return g_main;
}

HFONT MainWindowFont()
{
    return g_font;
}

HWND ControlWindow(int id)
{
    if (id <= 0 || id >= ControlCount)
        return nullptr;
    return g_controls[id].hwnd;
}

ControlKind ControlKindOf(int id)
{
    if (id <= 0 || id >= ControlCount)
        return ControlKind::GroupBox;
    return g_controls[id].kind;
}

int ListImageIndex(int slot)
{
    for (int i = 0; i < 3; ++i)
        if (PackageSlots[i] == slot)
            return i;
    return -1;
}

int ListImageSlot(int index)
{
    return index >= 0 && index < 3 ? PackageSlots[index] : 0;
}
