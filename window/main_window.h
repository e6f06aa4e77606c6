// The one main window: building it with all its controls, finding a control
// by its number, and tearing it down again.
#pragma once

#include <windows.h>

#include "window/window_layout.h"

struct WindowPlacement {
    int x, y, width, height;
};

// Centres an outer window size on a screen, first clamping the size to it.
WindowPlacement CentreOnScreen(int screenWidth, int screenHeight, int outerWidth, int outerHeight);

// Builds the window and every control in table order, shows it as the show
// command says and returns its handle, or nullptr when the window cannot be
// created.
HWND MainWindowOpen(HINSTANCE instance, int showCommand = SW_SHOWNORMAL);

// Destroys the window with its controls and releases the font, brush and
// image lists. Safe to call when no window is open.
void MainWindowClose();

HWND MainWindowHandle();

// The font of the window's controls, for dialogs that should look alike.
HFONT MainWindowFont();

// The control with that number, or nullptr when there is none.
HWND ControlWindow(int id);
ControlKind ControlKindOf(int id);

// Image-list index of a package image slot in a list, and back; -1 and 0
// stand for no image.
int ListImageIndex(int slot);
int ListImageSlot(int index);

// Window class names, for finding the window from outside.
extern const char MainWindowClassName[];
