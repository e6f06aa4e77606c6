#include "window/list_tips.h"

#include <commctrl.h>

#include <string>

#include "window/controls.h"
#include "window/list_views.h"

namespace {

constexpr UINT_PTR ToolId = 1;
constexpr UINT_PTR SubclassId = 1;
constexpr int MaxTipWidth = 480;

HWND g_tipWindow;
int g_row = -1;      // the row under the mouse
std::string g_text;  // the text last handed to the tooltip, kept while it shows

TOOLINFOA Tool(HWND list)
{
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = list;
    tool.uId = ToolId;
    return tool;
}

int RowAt(HWND list, LPARAM point)
{
    LVHITTESTINFO hit = {};
    hit.pt = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    return static_cast<int>(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

// The tool becomes the row's rectangle (none off the rows).
void FollowRow(HWND list, int row)
{
    if (row == g_row)
        return;
    g_row = row;
    TOOLINFOA tool = Tool(list);
    if (row >= 0) {
        tool.rect.left = LVIR_BOUNDS;
        SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&tool.rect));
    }
    SendMessageA(g_tipWindow, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
}

bool IsTipRequest(LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    return header->hwndFrom == g_tipWindow && header->code == TTN_GETDISPINFOA;
}

LRESULT CALLBACK ListProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && g_tipWindow) {
        if (msg == WM_MOUSEMOVE)
            FollowRow(list, RowAt(list, lParam));
        MSG relayed = {list, msg, wParam, lParam, 0, {}};
        SendMessageA(g_tipWindow, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    } else if (msg == WM_NOTIFY && g_tipWindow && IsTipRequest(lParam)) {
        // Empty text shows no tip.
        g_text = ListViewTipText(ListFiles, g_row);
        reinterpret_cast<NMTTDISPINFOA*>(lParam)->lpszText = const_cast<char*>(g_text.c_str());
        return 0;
    } else if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(list, ListProc, SubclassId);
        g_tipWindow = nullptr;
        g_row = -1;
    }
    return DefSubclassProc(list, msg, wParam, lParam);
}

}  // namespace

void ListTipAttach(HWND list)
{
    g_tipWindow = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  GetAncestor(list, GA_ROOT), nullptr, nullptr, nullptr);
    if (!g_tipWindow)
        return;
    g_row = -1;
    TOOLINFOA tool = Tool(list);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(g_tipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(g_tipWindow, TTM_SETMAXTIPWIDTH, 0, MaxTipWidth);
    SetWindowSubclass(list, ListProc, SubclassId, 0);
}

HWND ListTipWindow()
{
    return g_tipWindow;
}
