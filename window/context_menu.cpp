#include "window/context_menu.h"

#include <commctrl.h>

#include <initializer_list>

#include "window/controls.h"
#include "window/event_queue.h"
#include "window/main_window.h"

namespace {

const char PreviewItemText[] = "Preview the sort";
const char UndoItemText[] = "Undo the last sort";
const char OpenHistoryItemText[] = "Open the history";
const char WatchItemText[] = "Sort new packages as they arrive";
const char AddRowItemText[] = "Add a row for this package\x85";  // "…" in Windows-1252
const char OpenRowsItemText[] = "Open my rows";
const char OwnKindItemText[] = "Sort only this collection's kind";
const char PreviewOlderItemText[] = "Preview putting older versions aside";
const char PutOlderItemText[] = "Put older versions aside";
const char OlderAfterSortItemText[] = "Put older versions aside after each sort";

int SelectedRow(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// Where a menu asked for with the keyboard opens: below the selected row's
// left end, or near the list's top left corner when no row is selected.
POINT KeyboardMenuPoint(HWND list)
{
    POINT at = {8, 8};
    int selected = SelectedRow(list);
    RECT row;
    row.left = LVIR_BOUNDS;
    if (selected >= 0 && SendMessageA(list, LVM_GETITEMRECT, selected, reinterpret_cast<LPARAM>(&row)))
        at = {row.left + 8, row.bottom};
    ClientToScreen(list, &at);
    return at;
}

}  // namespace

bool ContextMenuRequest(HWND from, LPARAM position)
{
    for (int list : {ListFiles, ListSorted}) {
        if (from && from == ControlWindow(list)) {
            AppEvent event = {AppEvent::ContextMenu, list, 0};
            if (position != -1) {
                event.x = static_cast<short>(LOWORD(position));
                event.y = static_cast<short>(HIWORD(position));
            }
            EventPost(event);
            return true;
        }
    }
    return false;
}

void ContextMenuShow(const AppEvent& event, const ContextMenuItems& items)
{
    HWND owner = MainWindowHandle();
    HWND list = ControlWindow(event.control);
    HMENU menu = CreatePopupMenu();
    if (!owner || !list || !menu) {
        if (menu)
            DestroyMenu(menu);
        return;
    }
    AppendMenuA(menu, MF_STRING, CommandPreviewSort, PreviewItemText);
    AppendMenuA(menu, MF_STRING | (items.undoEnabled ? 0 : MF_GRAYED), CommandUndoSort, UndoItemText);
    AppendMenuA(menu, MF_STRING, CommandOpenHistory, OpenHistoryItemText);
    AppendMenuA(menu, MF_STRING | (items.watchChecked ? MF_CHECKED : 0), CommandWatchArrivals, WatchItemText);
    // The package is the one selected when the menu opens: the command carries its row.
    int package = event.control == ListFiles ? SelectedRow(list) : -1;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | (package >= 0 ? 0 : MF_GRAYED), CommandAddRow, AddRowItemText);
    AppendMenuA(menu, MF_STRING | (items.rowsFileExists ? 0 : MF_GRAYED), CommandOpenRows, OpenRowsItemText);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | (items.ownKindChecked ? MF_CHECKED : 0), CommandOwnKindOnly, OwnKindItemText);
    AppendMenuA(menu, MF_STRING, CommandPreviewOlder, PreviewOlderItemText);
    AppendMenuA(menu, MF_STRING, CommandPutOlderAside, PutOlderItemText);
    AppendMenuA(menu, MF_STRING | (items.olderAfterSort ? MF_CHECKED : 0), CommandOlderAfterSort,
                OlderAfterSortItemText);
    POINT at = {event.x, event.y};
    if (event.x == -1 && event.y == -1)
        at = KeyboardMenuPoint(list);
    // The owner in front lets a click elsewhere close the menu.
    SetForegroundWindow(owner);
    int command = static_cast<int>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr));
    DestroyMenu(menu);
    if (command == CommandPreviewSort || command == CommandUndoSort || command == CommandOpenHistory
        || command == CommandWatchArrivals || command == CommandOpenRows || command == CommandOwnKindOnly
        || command == CommandPreviewOlder || command == CommandPutOlderAside || command == CommandOlderAfterSort)
        EventPost({AppEvent::ControlEvent, command, 0});
    else if (command == CommandAddRow)
        EventPost({AppEvent::ControlEvent, command, package});
}
