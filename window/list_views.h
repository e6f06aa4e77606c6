// The three lists as views of the program's tables: owner-data list views
// that ask for a cell's text, icon and colour when they draw it, so a list of
// a hundred thousand packages costs the window nothing per row.
//
// A change to a table is shown by refreshing its list, which brings the
// list's row count up to date. While the lists are held (during a long run,
// see PacedScreen) a refresh is only noted and carried out on release.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

struct AppState;

// The state whose tables the lists show; nullptr shows nothing.
void ListViewsBind(AppState* app);
AppState* ListViewsState();

// Brings the list's row count up to its table. rowsMoved: rows were removed
// or inserted before the end, so every visible row is drawn again.
void ListViewRefresh(int list, bool rowsMoved = false);

// Holds or releases every refresh (see above).
void ListViewsHold(bool hold);

// The number of rows of the table the list shows.
int ListViewTableCount(int list);

// The text of a cell, the image slot and the background colour of a row, as
// the table holds them (a row beyond the table: empty, 0, false).
std::string ListViewCellText(int list, int row, int column);
int ListViewImageSlot(int list, int row);
bool ListViewRowColour(int list, int row, COLORREF* colour);

// Answers a list's request for a cell (LVN_GETDISPINFO).
void ListViewAnswerDisplayInfo(int list, NMLVDISPINFOA* info);

// The tooltip of a row of the packages list (window/list_tips.h): its text,
// or empty text for none. The layer above installs it, since what a package
// carries is none of the window's business.
using ListViewTip = std::function<std::string(int row)>;
void ListViewsSetTip(ListViewTip tip);

// The tooltip text of a row: the installed tip's for a row of the packages
// list; empty for any other list, a row beyond the table, or no tip.
std::string ListViewTipText(int list, int row);
