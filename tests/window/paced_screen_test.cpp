#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "support/answer_watch.h"
#include "support/window_test.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/main_window.h"
#include "window/off_thread.h"
#include "window/paced_screen.h"

using PacedScreenTest = WindowTest;

namespace {

bool RowWhollyInView(int list, int row)
{
    HWND hwnd = ControlWindow(list);
    int top = static_cast<int>(SendMessageA(hwnd, LVM_GETTOPINDEX, 0, 0));
    int perPage = static_cast<int>(SendMessageA(hwnd, LVM_GETCOUNTPERPAGE, 0, 0));
    return row >= top && row < top + perPage;
}

}  // namespace

TEST_F(PacedScreenTest, EndShowsTheLatestTitleAndRow)
{
    SetWindowTitle("before");
    PacedScreen screen;
    PacedScreenBegin(screen);
    for (int row = 0; row < 200; ++row) {
        ListAddRow(ListSorted, -1, "_Cat\nName_\nOkay");
        PacedScreenSetTitle(screen, "Quillet - " + std::to_string(row + 1));
        PacedScreenKeepInView(screen, ListSorted, row);
    }
    PacedScreenEnd(screen);
    PumpPending();
    EXPECT_EQ(GetWindowTitle(), "Quillet - 200");
    EXPECT_TRUE(RowWhollyInView(ListSorted, 199));
    EXPECT_EQ(ListCountRows(ListSorted), 200);
}

TEST_F(PacedScreenTest, DrainShowsTheLatestOnlyWhenAFrameIsDue)
{
    SetWindowTitle("before");
    PacedScreen screen;
    PacedScreenBegin(screen);
    PacedScreenSetTitle(screen, "first");
    PacedScreenDrain(screen);
    EXPECT_EQ(GetWindowTitle(), "before");

    screen.lastFrame = GetTickCount() - 10000;
    PacedScreenDrain(screen);
    EXPECT_EQ(GetWindowTitle(), "first");
    PacedScreenEnd(screen);
}

namespace {

// Stands in for the user holding the window's title bar during a drain.
void CALLBACK HoldTheDrain(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    Sleep(500);
}

}  // namespace

TEST_F(PacedScreenTest, ASlowDrainDoesNotPutOffTheNextFrame)
{
    PacedScreen screen;
    PacedScreenBegin(screen);
    SetTimer(nullptr, 0, 1, HoldTheDrain);
    Sleep(50);
    screen.lastFrame = GetTickCount() - 10000;
    PacedScreenDrain(screen);
    // Two seconds on, the next frame is due: it waits twenty times the cost
    // of drawing a frame, not of the drain's half second.
    PacedScreenSetTitle(screen, "later");
    screen.lastFrame = GetTickCount() - 2000;
    PacedScreenDrain(screen);
    EXPECT_EQ(GetWindowTitle(), "later");
    PacedScreenEnd(screen);
}

TEST_F(PacedScreenTest, ListsDrawAgainAfterTheEnd)
{
    PacedScreen screen;
    PacedScreenBegin(screen);
    PacedScreenEnd(screen);
    // Rows added afterwards update the list's scroll range at once.
    for (int row = 0; row < 200; ++row)
        ListAddRow(ListFiles, -1, "C:\\In\\\na.lks");
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE;
    ASSERT_TRUE(GetScrollInfo(ControlWindow(ListFiles), SB_VERT, &info));
    EXPECT_GE(info.nMax, 199);
}

TEST_F(PacedScreenTest, WorkOnALargeFileRunsOffTheWindowThreadWhileTheWindowAnswers)
{
    SetWindowTitle("before");
    PacedScreen screen;
    PacedScreenBegin(screen);
    PacedScreenSetTitle(screen, "newest");
    AnswerWatch watch(MainWindowHandle());
    DWORD worker = 0;
    int result = OffThreadCall(screen, LargeFileBytes, [&] {
        worker = GetCurrentThreadId();
        Sleep(1000);
        SetLastError(ERROR_FILE_EXISTS);
        return 42;
    });
    DWORD error = GetLastError();
    DWORD longest = watch.Stop();

    EXPECT_EQ(result, 42);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_EXISTS));  // the worker's, handed back
    EXPECT_NE(worker, GetCurrentThreadId());
    EXPECT_LT(longest, 250u);
    EXPECT_EQ(GetWindowTitle(), "newest");  // frames went on during the wait

    // Below the size the work stays on the window's thread.
    OffThreadRun(screen, LargeFileBytes - 1, [&] { worker = GetCurrentThreadId(); });
    EXPECT_EQ(worker, GetCurrentThreadId());
    PacedScreenEnd(screen);
}
