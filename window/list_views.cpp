#include "window/list_views.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "model/app_state.h"
#include "window/controls.h"
#include "window/main_window.h"

namespace {

const int Lists[] = {ListFiles, ListSorted, ListStatus};

AppState* g_app;
bool g_held;
ListViewTip g_tip;

struct PendingRefresh {
    bool due;
    bool rowsMoved;
};
PendingRefresh g_pending[ControlCount];

}  // namespace

int ListViewTableCount(int list)
{
    if (!g_app)
        return 0;
    switch (list) {
    case ListFiles:
        return g_app->Packages.Count();
    case ListSorted:
        return static_cast<int>(g_app->Sorted.size());
    case ListStatus:
        return static_cast<int>(g_app->Status.size());
    default:
        return 0;
    }
}

namespace {

void ApplyRefresh(int list, bool rowsMoved)
{
    HWND view = ControlWindow(list);
    if (!view)
        return;
    // The status list is never scrolled by a new line, nor is any other list.
    LPARAM flags = LVSICF_NOSCROLL | (rowsMoved ? 0 : LVSICF_NOINVALIDATEALL);
    SendMessageA(view, LVM_SETITEMCOUNT, static_cast<WPARAM>(ListViewTableCount(list)), flags);
    if (rowsMoved)
        InvalidateRect(view, nullptr, FALSE);
}

void CopyText(const std::string& text, LVITEMA& item)
{
    if (!item.pszText || item.cchTextMax <= 0)
        return;
    size_t fits = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    std::memcpy(item.pszText, text.data(), fits);
    item.pszText[fits] = '\0';
}

}  // namespace

void ListViewsBind(AppState* app)
{
    g_app = app;
    for (int list : Lists)
        ApplyRefresh(list, true);
}

AppState* ListViewsState()
{
    return g_app;
}

void ListViewRefresh(int list, bool rowsMoved)
{
    if (list <= 0 || list >= ControlCount)
        return;
    if (!g_held) {
        ApplyRefresh(list, rowsMoved);
        return;
    }
    g_pending[list].due = true;
    g_pending[list].rowsMoved = g_pending[list].rowsMoved || rowsMoved;
}

void ListViewsHold(bool hold)
{
    g_held = hold;
    if (hold)
        return;
    for (int list : Lists) {
        if (g_pending[list].due)
            ApplyRefresh(list, g_pending[list].rowsMoved);
        g_pending[list] = {false, false};
    }
}

std::string ListViewCellText(int list, int row, int column)
{
    if (row < 0 || row >= ListViewTableCount(list))
        return std::string();
    switch (list) {
    case ListFiles:
        return column == 0 ? g_app->Packages.FolderOf(row) : column == 1 ? g_app->Packages.At(row).name : "";
    case ListSorted: {
        const SortedRow& sorted = g_app->Sorted[static_cast<size_t>(row)];
        return column == 0 ? sorted.category : column == 1 ? sorted.name : column == 2 ? sorted.status : "";
    }
    case ListStatus: {
        const StatusRow& line = g_app->Status[static_cast<size_t>(row)];
        return column == 0 ? line.title : column == 1 ? line.explanation : "";
    }
    default:
        return std::string();
    }
}

int ListViewImageSlot(int list, int row)
{
    if (list != ListFiles || row < 0 || row >= ListViewTableCount(list))
        return 0;
    return g_app->Packages.At(row).imageSlot;
}

bool ListViewRowColour(int list, int row, COLORREF* colour)
{
    if (row < 0 || row >= ListViewTableCount(list))
        return false;
    uint32_t stored = 0;
    if (list == ListFiles)
        stored = g_app->Packages.At(row).colour;
    else if (list == ListSorted)
        stored = g_app->Sorted[static_cast<size_t>(row)].colour;
    if (!(stored & PackageColourSet))
        return false;
    *colour = stored & 0x00FFFFFF;
    return true;
}

void ListViewAnswerDisplayInfo(int list, NMLVDISPINFOA* info)
{
    LVITEMA& item = info->item;
    if (item.mask & LVIF_TEXT)
        CopyText(ListViewCellText(list, item.iItem, item.iSubItem), item);
    if (item.mask & LVIF_IMAGE)
        item.iImage = ListImageIndex(ListViewImageSlot(list, item.iItem));
}

void ListViewsSetTip(ListViewTip tip)
{
    g_tip = std::move(tip);
}

std::string ListViewTipText(int list, int row)
{
    if (list != ListFiles || !g_tip || row < 0 || row >= ListViewTableCount(list))
        return std::string();
    return g_tip(row);
}
