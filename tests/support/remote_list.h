// Asking controls of another process. A list control writes its answer
// where the request points, so requests and answers live in a buffer
// allocated inside the process that owns the control.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Every row of a list view, one text per column.
std::vector<std::vector<std::string>> RemoteListRows(HWND list);

// One row of a list view, one text per column: a single row can be asked for
// while the owner answers only now and then, as during a long run.
std::vector<std::string> RemoteListRow(HWND list, int row);

// The rectangle of item n, in the control's client coordinates, asked with
// the control's own message: LVM_GETITEMRECT, LB_GETITEMRECT or TCM_GETITEMRECT.
bool RemoteItemRect(HWND control, UINT message, int item, RECT* rect);

// Sends a message whose lParam points to the text, copied into the window's
// own process first. Returns the window's answer, 0 when it cannot be sent.
LRESULT RemoteSendText(HWND window, UINT message, WPARAM wParam, const std::string& text);
