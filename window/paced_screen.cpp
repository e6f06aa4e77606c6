#include "window/paced_screen.h"

#include <algorithm>

#include "util/file_progress.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/event_queue.h"
#include "window/list_views.h"
#include "window/main_window.h"
#include "window/taskbar_progress.h"

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
    if (screen.workTotal > 0)
        TaskbarProgressShow(screen.workDone, screen.workTotal);
}

// The title a wait shows with the percent after it: the latest one set.
std::string TitleOfTheMoment(const PacedScreen& screen)
{
    return screen.titlePending ? screen.title : GetWindowTitle();
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

void PacedScreenSetInHand(PacedScreen& screen, const std::string& title)
{
    screen.inHand = title;
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

void PacedScreenSetWork(PacedScreen& screen, uint64_t done, uint64_t total)
{
    screen.workDone = done;
    screen.workTotal = total;
}

namespace {

// The title a wait shows with the percent after it, and the one it shows
// after it, taken at its first frame: a wait that shows no frame asks the
// window nothing.
struct PercentTitle {
    FileProgress* progress;
    bool shown = false;
    std::string title = {};
    std::string before = {};
};

// The title with the percent done, for the next frame.
void SetPercentTitle(PacedScreen& screen, PercentTitle& percent)
{
    if (!percent.progress)
        return;
    if (!percent.shown) {
        percent.before = TitleOfTheMoment(screen);
        percent.title = screen.inHand.empty() ? percent.before : screen.inHand;
    }
    percent.shown = true;
    screen.title = percent.title + " " + std::to_string(FileProgressPercent(*percent.progress)) + "%";
    screen.titlePending = true;
}

void WaitWithFrames(PacedScreen& screen, HANDLE object, PercentTitle& percent)
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
        if (now - screen.lastFrame >= FrameSpacing(screen)) {
            SetPercentTitle(screen, percent);
            FrameAndPoll(screen, now);
        } else {
            Poll(screen, now);
        }
    }
}

}  // namespace

void PacedScreenWaitFor(PacedScreen& screen, HANDLE object, FileProgress* progress)
{
    PercentTitle percent{progress};
    WaitWithFrames(screen, object, percent);
    screen.inHand.clear();
    // The file is done: its percent goes at once.
    if (percent.shown) {
        screen.title = percent.before;
        screen.titlePending = false;
        SetWindowTitle(percent.before);
    }
}

void PacedScreenEnd(PacedScreen& screen)
{
    ShowLatest(screen);
    if (screen.workTotal > 0)
        TaskbarProgressShow(0, 0);
    EventDrain();
}
