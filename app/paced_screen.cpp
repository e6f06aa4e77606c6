#include "app/paced_screen.h"

#include <algorithm>

#include "app/control_ops.h"
#include "app/controls.h"
#include "app/event_loop.h"
#include "app/main_window.h"

namespace {

// Ten frames a second read as continuous progress; where a frame costs more,
// frames come rarer so that they never take more than a twentieth of the time.
const DWORD FrameInterval = 100;
const DWORD FrameShare = 20;

const int PacedLists[] = {ListFiles, ListSorted, ListStatus};

void SetListsDrawing(bool drawing)
{
    for (int list : PacedLists)
        SendMessageA(ControlWindow(list), WM_SETREDRAW, drawing ? TRUE : FALSE, 0);
}

// Drawing back on marks each list for a whole repaint, painted by the next
// frame or drain.
void ShowLatest(PacedScreen& screen)
{
    SetListsDrawing(true);
    if (screen.keepInViewRow >= 0)
        EnsureVisible(screen.keepInViewList, screen.keepInViewRow);
    screen.keepInViewRow = -1;
    if (screen.titlePending)
        SetWindowTitle(screen.title);
    screen.titlePending = false;
}

}  // namespace

void PacedScreenBegin(PacedScreen& screen)
{
    screen.lastFrame = GetTickCount();
    SetListsDrawing(false);
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
    DWORD start = GetTickCount();
    if (start - screen.lastFrame < std::max(FrameInterval, FrameShare * screen.frameCost)) {
        EventDrain();
        return;
    }
    // The frame is painted before the drain and costed alone: a drain can
    // wait for seconds (the user drags the window), which says nothing about
    // what a frame costs.
    ShowLatest(screen);
    RedrawWindow(MainWindowHandle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    screen.frameCost = GetTickCount() - start;
    EventDrain();
    SetListsDrawing(false);
    screen.lastFrame = GetTickCount();
}

void PacedScreenEnd(PacedScreen& screen)
{
    ShowLatest(screen);
}
