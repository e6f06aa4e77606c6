// Reading list controls of another process. A list control writes its answer
// where the request points, so requests and answers live in a buffer
// allocated inside the process that owns the control.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Every row of a list view, one text per column.
std::vector<std::vector<std::string>> RemoteListRows(HWND list);

// The rectangle of item n, in the control's client coordinates, asked with
// the control's own message: LVM_GETITEMRECT, LB_GETITEMRECT or TCM_GETITEMRECT.
bool RemoteItemRect(HWND control, UINT message, int item, RECT* rect);
