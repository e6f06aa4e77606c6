#include "window/control_ops.h"

#include <commctrl.h>

#include "model/app_state.h"
#include "util/ansi_text.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/main_window.h"

namespace {

std::string WindowText(HWND hwnd)
{
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(hwnd, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

std::string ComboItemText(HWND combo, int item)
{
    LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, item, 0);
    if (length == CB_ERR)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = SendMessageA(combo, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

void ComboSelectText(HWND combo, const std::string& text)
{
    if (text.empty()) {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        return;
    }
    int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        if (AnsiEqualsIgnoringCase(ComboItemText(combo, item), text)) {
            SendMessageA(combo, CB_SETCURSEL, item, 0);
            return;
        }
    }
}

HWND ListWindow(int id)
{
    return ControlKindOf(id) == ControlKind::List ? ControlWindow(id) : nullptr;
}

}  // namespace

void CtlSetText(int id, const std::string& text)
{
    HWND hwnd = ControlWindow(id);
    if (!hwnd)
        return;
    if (ControlKindOf(id) == ControlKind::DropDown)
        ComboSelectText(hwnd, text);
    else
        SetWindowTextA(hwnd, text.c_str());
}

std::string CtlGetText(int id)
{
    HWND hwnd = ControlWindow(id);
    if (!hwnd)
        return std::string();
    if (ControlKindOf(id) == ControlKind::DropDown) {
        int selected = static_cast<int>(SendMessageA(hwnd, CB_GETCURSEL, 0, 0));
        return selected == CB_ERR ? std::string() : ComboItemText(hwnd, selected);
    }
    return WindowText(hwnd);
}

void CtlSetState(int id, int state)
{
    HWND hwnd = ControlWindow(id);
    if (!hwnd)
        return;
    WPARAM check = state == 1 ? BST_CHECKED : BST_UNCHECKED;
    if (ControlKindOf(id) == ControlKind::OptionButton && state == 1) {
        // Checking one member of the group unchecks the others beside it.
        HWND parent = GetParent(hwnd);
        for (int other = 1; other < ControlCount; ++other) {
            HWND sibling = ControlWindow(other);
            if (other != id && sibling && GetParent(sibling) == parent
                && ControlKindOf(other) == ControlKind::OptionButton)
                SendMessageA(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
    SendMessageA(hwnd, BM_SETCHECK, check, 0);
}

int CtlGetState(int id)
{
    HWND hwnd = ControlWindow(id);
    if (!hwnd)
        return 0;
    return static_cast<int>(SendMessageA(hwnd, BM_GETCHECK, 0, 0));
}

void CtlAddItem(int id, const std::string& text)
{
    HWND hwnd = ControlWindow(id);
    if (hwnd && ControlKindOf(id) == ControlKind::DropDown)
        SendMessageA(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<std::string> SplitRowText(const std::string& text, int columnCount)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (static_cast<int>(parts.size()) < columnCount) {
        size_t end = text.find('\n', start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return parts;
}

int ListColumnCountOf(int id)
{
    HWND list = ListWindow(id);
    if (!list)
        return 0;
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    return static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

namespace {

// Inserts the row's texts into the table the list shows.
void InsertTableRow(AppState& app, int id, int position, const std::vector<std::string>& parts, int imageSlot)
{
    auto part = [&parts](size_t i) { return i < parts.size() ? parts[i] : std::string(); };
    if (id == ListFiles) {
        app.Packages.Insert(position, part(0), part(1), imageSlot);
    } else if (id == ListSorted) {
        size_t at = position < 0 || position > static_cast<int>(app.Sorted.size()) ? app.Sorted.size()
                                                                                     : static_cast<size_t>(position);
        app.Sorted.insert(app.Sorted.begin() + static_cast<std::ptrdiff_t>(at), {part(0), part(1), part(2), 0});
    } else if (id == ListStatus) {
        size_t at = position < 0 || position > static_cast<int>(app.Status.size()) ? app.Status.size()
                                                                                     : static_cast<size_t>(position);
        app.Status.insert(app.Status.begin() + static_cast<std::ptrdiff_t>(at), {part(0), part(1)});
    }
}

}  // namespace

int ListAddRow(int id, int position, const std::string& text, int imageSlot)
{
    AppState* app = ListViewsState();
    if (!app || !ListWindow(id))
        return -1;
    int count = ListViewTableCount(id);
    int row = position < 0 || position > count ? count : position;
    InsertTableRow(*app, id, row, SplitRowText(text, ListColumnCountOf(id)), imageSlot);
    ListViewRefresh(id, row < count);
    return row;
}

int ListCountRows(int id)
{
    HWND list = ListWindow(id);
    return list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string ListRowText(int id, int row, int column)
{
    HWND list = ListWindow(id);
    if (!list)
        return std::string();
    // The list copies at most the buffer's size; grow it until the text fits.
    std::string text(256, '\0');
    for (;;) {
        LVITEMA cell = {};
        cell.iSubItem = column;
        cell.pszText = &text[0];
        cell.cchTextMax = static_cast<int>(text.size());
        int got = static_cast<int>(SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell)));
        if (got < static_cast<int>(text.size()) - 1) {
            text.resize(got > 0 ? static_cast<size_t>(got) : 0);
            return text;
        }
        text.assign(text.size() * 2, '\0');
    }
}

int ListRowImageSlot(int id, int row)
{
    HWND list = ListWindow(id);
    if (!list)
        return 0;
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return 0;
    return ListImageSlot(item.iImage);
}

void ListRemoveRow(int id, int row)
{
    AppState* app = ListViewsState();
    if (!app || !ListWindow(id) || row < 0 || row >= ListViewTableCount(id))
        return;
    if (id == ListFiles)
        app->Packages.Remove(row);
    else if (id == ListSorted)
        app->Sorted.erase(app->Sorted.begin() + row);
    else
        app->Status.erase(app->Status.begin() + row);
    ListViewRefresh(id, true);
}

void ListRemoveAllRows(int id)
{
    AppState* app = ListViewsState();
    if (!app || !ListWindow(id))
        return;
    if (id == ListFiles)
        app->Packages.Clear();
    else if (id == ListSorted)
        SortedRows().swap(app->Sorted);
    else
        StatusRows().swap(app->Status);
    ListViewRefresh(id, true);
}

void ListSetRowColour(int id, int row, COLORREF colour)
{
    AppState* app = ListViewsState();
    if (!app || !ListWindow(id) || row < 0 || row >= ListViewTableCount(id))
        return;
    if (id == ListFiles)
        app->Packages.SetColour(row, colour);
    else if (id == ListSorted)
        app->Sorted[static_cast<size_t>(row)].colour = PackageColourSet | (colour & 0x00FFFFFF);
    SendMessageA(ControlWindow(id), LVM_REDRAWITEMS, row, row);
}

void EnsureVisible(int id, int row)
{
    HWND list = ListWindow(id);
    if (list)
        SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

void ListSelectRow(int id, int row)
{
    HWND list = ListWindow(id);
    if (!list)
        return;
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
    SetFocus(list);
}

void SetWindowTitle(const std::string& text)
{
    if (HWND main = MainWindowHandle())
        SetWindowTextA(main, text.c_str());
}

std::string GetWindowTitle()
{
    HWND main = MainWindowHandle();
    return main ? WindowText(main) : std::string();
}
