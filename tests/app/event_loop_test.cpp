#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "app/event_loop.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/main_window.h"

using EventLoopTest = WindowTest;

TEST_F(EventLoopTest, CloseRequestBecomesAnEventAndEndsTheLoop)
{
    PostMessageA(MainWindowHandle(), WM_CLOSE, 0, 0);
    AppEvent event;
    ASSERT_TRUE(EventWait(&event));
    EXPECT_EQ(event.kind, AppEvent::CloseRequest);
    DispatchEvent(app, event);
    EXPECT_TRUE(app.QuitRequested);
    // The close request leaves the window to the shutdown.
    EXPECT_TRUE(IsWindow(MainWindowHandle()));
}

TEST_F(EventLoopTest, SystemMenuCloseIsACloseRequest)
{
    PostMessageA(MainWindowHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    RunEventLoop(app);
    EXPECT_TRUE(app.QuitRequested);
}

TEST_F(EventLoopTest, QuitButtonClickEndsTheLoop)
{
    PostMessageA(ControlWindow(ButtonQuit), BM_CLICK, 0, 0);
    RunEventLoop(app);
    EXPECT_TRUE(app.QuitRequested);
}

TEST_F(EventLoopTest, ClicksCarryTheControlNumber)
{
    PostMessageA(ControlWindow(ButtonSort), BM_CLICK, 0, 0);
    AppEvent event;
    ASSERT_TRUE(EventWait(&event));
    EXPECT_EQ(event.kind, AppEvent::ControlEvent);
    EXPECT_EQ(event.control, ButtonSort);
    EXPECT_EQ(event.code, BN_CLICKED);
}

TEST_F(EventLoopTest, OptionButtonsSetTheCopyModeWithoutAStatusLine)
{
    app.Settings.CopyOrMove = "Copy";
    SendMessageA(ControlWindow(OptionMove), BM_CLICK, 0, 0);
    AppEvent event;
    ASSERT_TRUE(EventWait(&event));
    DispatchEvent(app, event);
    EXPECT_EQ(app.Settings.CopyOrMove, "Move");

    SendMessageA(ControlWindow(OptionCopy), BM_CLICK, 0, 0);
    ASSERT_TRUE(EventWait(&event));
    DispatchEvent(app, event);
    EXPECT_EQ(app.Settings.CopyOrMove, "Copy");
    EXPECT_EQ(ListCountRows(ListStatus), 0);
    EXPECT_FALSE(app.QuitRequested);
}

TEST_F(EventLoopTest, EventsOfListsFieldsAndLabelsAreIgnored)
{
    for (int id : {ListFiles, FieldActiveSource, LabelSelectIndex, FrameTabs, PanelTabs})
        DispatchEvent(app, {AppEvent::ControlEvent, id, 0});
    EXPECT_FALSE(app.QuitRequested);
    EXPECT_EQ(ListCountRows(ListStatus), 0);
}

namespace {

BOOL CALLBACK FindNotepadOnTheHistory(HWND window, LPARAM found)
{
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(title, "Quillet.History.Log - Notepad") == 0)
        *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

}  // namespace

// "Open the history" starts Notepad of the Windows folder on the file, never
// the shell's handler for its kind (which Wine does not even have).
TEST_F(EventLoopTest, OpenTheHistoryStartsNotepadOnTheFile)
{
    TempFolder temp;
    app.History.path = temp / "Quillet.History.Log";
    WriteFileBytes(app.History.path, "a line\r\n");
    DispatchEvent(app, {AppEvent::ControlEvent, CommandOpenHistory, 0});
    // Notepad shows the file's name in its title once it has read the file.
    HWND notepad = nullptr;
    for (int waited = 0; !notepad && waited < 20000; waited += 50) {
        Sleep(50);
        EnumWindows(FindNotepadOnTheHistory, reinterpret_cast<LPARAM>(&notepad));
    }
    ASSERT_NE(notepad, nullptr);
    DWORD process = 0;
    GetWindowThreadProcessId(notepad, &process);
    PostMessageA(notepad, WM_CLOSE, 0, 0);
    EXPECT_EQ(ListCountRows(ListStatus), 0);
    HANDLE ended = OpenProcess(SYNCHRONIZE, FALSE, process);
    WaitForSingleObject(ended, 10000);
    CloseHandle(ended);
}

namespace {

struct SentMessage {
    HWND window;
    UINT message;
    HANDLE dispatched;
    bool late;
};

// Sends the message as another program would, then gives the event five
// seconds; after that it posts a message so that the test does not hang.
DWORD WINAPI SendFromAnotherThread(void* param)
{
    auto* sent = static_cast<SentMessage*>(param);
    SendMessageA(sent->window, sent->message, 0, 0);
    sent->late = WaitForSingleObject(sent->dispatched, 5000) == WAIT_TIMEOUT;
    if (sent->late)
        PostMessageA(sent->window, WM_NULL, 0, 0);
    return 0;
}

// Waits for the event of a message sent by another thread; false when it
// came only with the later posted message.
bool EventOfSentMessage(HWND window, UINT message, AppEvent* event)
{
    SentMessage sent = {window, message, CreateEventA(nullptr, TRUE, FALSE, nullptr), false};
    HANDLE thread = CreateThread(nullptr, 0, SendFromAnotherThread, &sent, 0, nullptr);
    bool got = EventWait(event);
    SetEvent(sent.dispatched);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(sent.dispatched);
    return got && !sent.late;
}

}  // namespace

TEST_F(EventLoopTest, AnEventOfASentMessageComesWithoutOtherInput)
{
    AppEvent event;
    ASSERT_TRUE(EventOfSentMessage(MainWindowHandle(), WM_CLOSE, &event));
    EXPECT_EQ(event.kind, AppEvent::CloseRequest);
}

TEST_F(EventLoopTest, DrainDropsWhatItTakesOut)
{
    PostMessageA(MainWindowHandle(), WM_CLOSE, 0, 0);
    PostMessageA(ControlWindow(ButtonQuit), BM_CLICK, 0, 0);
    EventDrain();
    // Something after the drain is the next event the loop sees.
    PostMessageA(ControlWindow(ButtonSort), BM_CLICK, 0, 0);
    AppEvent event;
    ASSERT_TRUE(EventWait(&event));
    EXPECT_EQ(event.control, ButtonSort);
}

TEST_F(EventLoopTest, DrainKeepsEventsQueuedBeforeIt)
{
    EventPost({AppEvent::ControlEvent, OptionMove, BN_CLICKED});
    PostMessageA(MainWindowHandle(), WM_CLOSE, 0, 0);
    EventDrain();
    AppEvent event;
    ASSERT_TRUE(EventWait(&event));
    EXPECT_EQ(event.control, OptionMove);
}

TEST_F(EventLoopTest, DrainStillShowsClicksOnScreen)
{
    // The drain lets the controls react, only the events are dropped.
    PostMessageA(ControlWindow(CheckDumpLeftovers), BM_CLICK, 0, 0);
    EventDrain();
    EXPECT_EQ(CtlGetState(CheckDumpLeftovers), 1);
    app.Settings.DumpLeftOvers = "No";
    EXPECT_EQ(app.Settings.DumpLeftOvers, "No");
}
