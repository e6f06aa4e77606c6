#include "window/paced_screen.h"

#include <algorithm>

#include "window/control_ops.h"
#include "window/controls.h"
#include "window/event_queue.h"
#include "window/list_views.h"
#include "window/main_window.h"

namespace {

// Ten frames a second read as continuous progress; where a frame costs more,
// frames come rarer so that they never take more than a twentieth of the time.
const DWORD FrameInterval = 100;
const DWORD FrameShare = 20;
// Input waits at most this long to be taken out, which keeps the window
// answering at once while a run of small files asks the system a few
// hundred times a second rather than once per file.
const DWORD PollInterval = 5;

const int PacedLists[] = {ListFiles, ListSorted, ListStatus};

// Releasing the lists brings their row counts up to date. While held, the
// lists are not told of new or removed rows, so they neither redraw nor
// rework their scroll bars between frames; switching their drawing off and
// on instead costs Wine tens of milliseconds a frame.
void ShowLatest(PacedScreen& screen)
{
    ListViewsHold(false);
    if (screen.keepInViewRow >= 0)
        EnsureVisible(screen.keepInViewList, screen.keepInViewRow);
    screen.keepInViewRow = -1;
    if (screen.titlePending)
        SetWindowTitle(screen.title);
    screen.titlePending = false;
}

// A frame is the redraw alone: how long the drain then waits (the user
// holding a scroll bar, say) says nothing about what frames cost.
void ShowFrame(PacedScreen& screen, DWORD start)
{
    ShowLatest(screen);
    for (int list : PacedLists)
        UpdateWindow(ControlWindow(list));
    screen.frameCost = GetTickCount() - start;
    screen.lastFrame = start;
}

void Poll(PacedScreen& screen, DWORD now)
{
    screen.lastPoll = now;
    EventDrain();
}

DWORD FrameSpacing(const PacedScreen& screen)
{
    return std::max(FrameInterval, FrameShare * screen.frameCost);
}

// A frame, then pending input taken out while the lists are released, so that
// the paint messages among it draw the latest rows.
void FrameAndPoll(PacedScreen& screen, DWORD now)
{
    ShowFrame(screen, now);
    Poll(screen, now);
    ListViewsHold(true);
}

}  // namespace

void PacedScreenBegin(PacedScreen& screen)
{
    screen.lastFrame = GetTickCount();
    screen.lastPoll = screen.lastFrame;
    ListViewsHold(true);
}

void PacedScreenSetTitle(PacedScreen& screen, const std::string& title)
{
    screen.title = title;
    screen.titlePending = true;
}

void PacedScreenKeepInView(PacedScreen& screen, int list, int row)
{
    screen.keepInViewList = list;
    screen.keepInViewRow = row;
}

void PacedScreenDrain(PacedScreen& screen)
{
    DWORD now = GetTickCount();
    if (now - screen.lastFrame >= FrameSpacing(screen)) {
        FrameAndPoll(screen, now);
        return;
    }
    if (now - screen.lastPoll >= PollInterval)
        Poll(screen, now);
}

void PacedScreenWaitFor(PacedScreen& screen, HANDLE object)
{
    for (;;) {
        DWORD since = GetTickCount() - screen.lastFrame;
        DWORD spacing = FrameSpacing(screen);
        DWORD untilFrame = since >= spacing ? 0 : spacing - since;
        DWORD woke = MsgWaitForMultipleObjectsEx(1, &object, untilFrame, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0)
            return;
        if (woke == WAIT_FAILED) {
            WaitForSingleObject(object, INFINITE);
            return;
        }
        // Input is taken out as soon as it comes, not every few milliseconds:
        // while waiting, nothing else is to be done.
        DWORD now = GetTickCount();
        if (now - screen.lastFrame >= FrameSpacing(screen))
            FrameAndPoll(screen, now);
        else
            Poll(screen, now);
    }
}

void PacedScreenEnd(PacedScreen& screen)
{
    ShowLatest(screen);
    EventDrain();
}
