// The operations the program performs on its controls, addressed by control
// number. Each one is a thin wrapper over the control's own messages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Path field or label: shows the text. Drop-down list: selects the item equal
// to the text ignoring letter case; an empty text clears the selection and an
// unknown text changes nothing.
void CtlSetText(int id, const std::string& text);

// Path field or label: its text. Drop-down list: the selected item's text, or
// empty text when nothing is selected.
std::string CtlGetText(int id);

// Option button: 1 checks it and unchecks the rest of its group, 0 unchecks it.
// Check box: 1 checks, 0 clears.
void CtlSetState(int id, int state);
int CtlGetState(int id);

void CtlAddItem(int id, const std::string& text);

// Splits a row text at line feeds into at most columnCount parts.
std::vector<std::string> SplitRowText(const std::string& text, int columnCount);

// Inserts a row at the position (-1: after the last row). The text holds the
// columns separated by line feeds; parts beyond the last column are dropped.
// imageSlot (0 for none) is shown at the left edge of column 0.
// Returns the row's index, or -1 when it could not be added.
int ListAddRow(int id, int position, const std::string& text, int imageSlot = 0);
int ListCountRows(int id);
int ListColumnCountOf(int id);
std::string ListRowText(int id, int row, int column);
int ListRowImageSlot(int id, int row);
void ListRemoveRow(int id, int row);
void ListRemoveAllRows(int id);
void ListSetRowColour(int id, int row, COLORREF colour);

// Scrolls the list so that the row is wholly visible.
void EnsureVisible(int id, int row);

// Makes the row the list's one selected and focused row, scrolls it into view
// and gives the list the keyboard, so that the arrow keys go on from it.
void ListSelectRow(int id, int row);

void SetWindowTitle(const std::string& text);
std::string GetWindowTitle();
