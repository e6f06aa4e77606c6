#include "support/window_test.h"

#include <commctrl.h>

#include "app/event_loop.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/icon_slots.h"
#include "window/list_views.h"
#include "window/main_window.h"

void WindowTest::SetUp()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    IconSlotsLoad(instance);
    ASSERT_NE(MainWindowOpen(instance), nullptr);
    ListViewsBind(&app);
    EventQueueClear();
}

void WindowTest::TearDown()
{
    ListViewsBind(nullptr);
    MainWindowClose();
    EventQueueClear();
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string StatusLine(const std::string& title, const std::string& explanation)
{
    return title + "|" + explanation;
}

std::vector<std::string> StatusLines()
{
    std::vector<std::string> lines;
    for (int row = 0; row < ListCountRows(ListStatus); ++row)
        lines.push_back(StatusLine(ListRowText(ListStatus, row, 0), ListRowText(ListStatus, row, 1)));
    return lines;
}

std::vector<std::string> ListRows(int list, int columns)
{
    std::vector<std::string> rows;
    for (int row = 0; row < ListCountRows(list); ++row) {
        std::string text = ListRowText(list, row, 0);
        for (int column = 1; column < columns; ++column)
            text += "|" + ListRowText(list, row, column);
        rows.push_back(text);
    }
    return rows;
}

RECT RectInParent(HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

COLORREF ListRowPixel(int id, int row, int x)
{
    HWND list = ControlWindow(id);
    RECT bounds;
    bounds.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    HDC dc = GetDC(list);
    COLORREF colour = GetPixel(dc, bounds.left + x, bounds.bottom - 2);
    ReleaseDC(list, dc);
    return colour;
}
