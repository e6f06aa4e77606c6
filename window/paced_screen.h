// Keeping the window up to date during a long run without paying for frames
// nobody can see.
//
// A run changes the lists and the window title once per file, hundreds of
// times a second. Each change to a visible list with a scroll bar makes the
// list redraw its scroll bar at once, which under Wine costs a few
// milliseconds, many times the cost of copying a small file. So while a run
// works, the three lists stop drawing themselves and the screen is brought up
// to date several times a second: the rows, the scroll positions and the title
// it then shows are the latest ones, as they would have been.
#pragma once

#include <windows.h>

#include <string>

struct PacedScreen {
    DWORD lastFrame = 0;       // tick count when the screen was last brought up to date
    DWORD frameCost = 0;       // milliseconds that took
    std::string title;         // the latest title, not yet shown
    bool titlePending = false;
    int keepInViewList = 0;    // a list row to scroll into view at the next frame
    int keepInViewRow = -1;
};

// Stops the lists from drawing themselves until PacedScreenEnd.
void PacedScreenBegin(PacedScreen& screen);

// The window title to show at the next frame.
void PacedScreenSetTitle(PacedScreen& screen, const std::string& title);

// The list row to scroll wholly into view at the next frame (see EnsureVisible).
void PacedScreenKeepInView(PacedScreen& screen, int list, int row);

// Drains pending window events (see EventDrain); first brings the screen up
// to date when a frame is due.
void PacedScreenDrain(PacedScreen& screen);

// Brings the screen up to date and lets the lists draw themselves again.
void PacedScreenEnd(PacedScreen& screen);
