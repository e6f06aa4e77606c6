// The packages list's tooltip: a tooltip control over the list whose text is
// asked for the row the mouse rests on (ListViewTipText, list_views.h). Made
// here rather than with the list view's own info tips, which Wine's list view
// never shows. The tool follows the row under the mouse, so that moving to
// another row leaves the tool, and the next rest asks for that row's text.
#pragma once

#include <windows.h>

// Puts the tooltip over the list (the packages list), owned by its top-level
// window; it goes with the list.
void ListTipAttach(HWND list);

// The tooltip window, or null while there is none.
HWND ListTipWindow();
