// The context menu of the packages list and the sorted list. The window
// procedure only turns a request for it into an event; the event loop then
// shows the menu, and the item chosen comes back as a command event that the
// dispatch table hands to its handler.
#pragma once

#include <windows.h>

struct AppEvent;

// Queues a context-menu event when the request comes from the packages list
// or the sorted list; false for any other window. position is the request's
// screen point, or -1 for one made with the keyboard.
bool ContextMenuRequest(HWND from, LPARAM position);

// Shows the menu where the event asked for it (for a keyboard request: at the
// list's selected row, or at its top left corner) and queues the command of
// the item chosen, if any. An item that cannot be chosen is shown greyed;
// "Add a row for this package…" is greyed unless a row of the packages list
// is selected (the command carries it).
struct ContextMenuItems {
    bool undoEnabled = false;     // "Undo the last sort" can be chosen
    bool watchChecked = false;    // "Sort new packages as they arrive" shows its check mark
    bool rowsFileExists = false;  // "Open my rows" can be chosen
    bool ownKindChecked = false;  // "Sort only this collection's kind" shows its check mark
    bool olderAfterSort = false;  // "Put older versions aside after each sort" shows its check mark
};
void ContextMenuShow(const AppEvent& event, const ContextMenuItems& items);
