// Keeping the window up to date during a long run without paying for frames
// nobody can see, nor for asking the system about input after every file.
//
// A run changes the lists and the window title once per file, hundreds of
// times a second. Each change to a visible list with a scroll bar makes the
// list redraw its scroll bar at once, which under Wine costs a few
// milliseconds, many times the cost of copying a small file; and asking
// whether input waits is a round trip to the window system. So while a run
// works, the lists are held (see ListViewsHold), the screen is brought up to date
// several times a second (the rows, scroll positions and title it then shows
// are the latest ones), and pending input is taken out every few
// milliseconds and once more at the end, so that none raised during the run
// is acted upon.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct FileProgress;

struct PacedScreen {
    DWORD lastFrame = 0;       // tick count when the screen was last brought up to date
    DWORD frameCost = 0;       // milliseconds the last redraw took
    DWORD lastPoll = 0;        // tick count when pending input was last taken out
    std::string title;         // the latest title, not yet shown
    bool titlePending = false;
    int keepInViewList = 0;    // a list row to scroll into view at the next frame
    int keepInViewRow = -1;
    uint64_t workDone = 0;     // the run's steps done of all of them, for the
    uint64_t workTotal = 0;    //   taskbar button (0 of 0: none shown)
    std::string inHand;        // the title of the file work under way, for its percent
};

// Holds the lists until PacedScreenEnd.
void PacedScreenBegin(PacedScreen& screen);

// The window title to show at the next frame.
void PacedScreenSetTitle(PacedScreen& screen, const std::string& title);

// The list row to scroll wholly into view at the next frame (see EnsureVisible).
void PacedScreenKeepInView(PacedScreen& screen, int list, int row);

// The title of the file work about to be waited for ("Quillet - 3
// VLC_3.0.lks": the banner, the count placed so far plus one and the name of
// the package in hand), which PacedScreenWaitFor shows with its percent.
void PacedScreenSetInHand(PacedScreen& screen, const std::string& title);

// The run's steps done of all of them, shown on the taskbar button at the
// next frame, and taken away at PacedScreenEnd.
void PacedScreenSetWork(PacedScreen& screen, uint64_t done, uint64_t total);

// Called once per file: brings the screen up to date when a frame is due,
// and drains pending window events (see EventDrain) when a few milliseconds
// have passed since the last drain.
void PacedScreenDrain(PacedScreen& screen);

// Waits until the object (a worker thread, say) is signalled, keeping the
// window as PacedScreenDrain does: frames as they fall due, and pending window
// events drained (and dropped) as soon as they come, so that the window
// answers at once however long the wait. With the progress of the file work
// the object does, each frame's title is the title of the package in hand (see
// PacedScreenSetInHand; else the title of the moment), a blank and the whole
// percent done ("Quillet - 3 VLC_3.0.lks 45%"); when the object is signalled,
// the title is the one before again, and the title in hand is forgotten.
void PacedScreenWaitFor(PacedScreen& screen, HANDLE object, FileProgress* progress = nullptr);

// Brings the screen up to date, releases the lists, and
// drains pending window events one last time.
void PacedScreenEnd(PacedScreen& screen);
