#include "window/event_queue.h"

#include <windows.h>

#include <deque>

#include "window/main_window.h"

namespace {

std::deque<AppEvent> g_events;

void PumpMessage(MSG& msg)
{
    HWND main = MainWindowHandle();
    if (main && IsDialogMessageA(main, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

}  // namespace

void EventPost(const AppEvent& event)
{
    g_events.push_back(event);
}

bool EventWait(AppEvent* event)
{
    return EventWaitFor(event, nullptr, INFINITE) == EventWaitResult::Event;
}

EventWaitResult EventWaitFor(AppEvent* event, void* handle, unsigned long timeout, void* second)
{
    // GetMessageA would run a message sent by another thread or process
    // inside itself and return only for a posted one, so an event the sent
    // message raised would wait for unrelated input. Waiting here wakes for
    // sent messages too; PeekMessageA runs them, and the queue is looked at
    // after every wake.
    DWORD start = GetTickCount();
    HANDLE handles[2] = {handle ? handle : second, second};
    DWORD count = handle && second ? 2 : (handle || second ? 1 : 0);
    while (g_events.empty()) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!g_events.empty())
                continue;
            DWORD waited = GetTickCount() - start;
            DWORD left = timeout == INFINITE ? INFINITE : (waited >= timeout ? 0 : timeout - waited);
            DWORD woke = MsgWaitForMultipleObjectsEx(count, handles, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            // A handle that cannot be waited on is handed back as signalled,
            // so that its owner finds out and lets go of it.
            if (count > 0 && (woke < WAIT_OBJECT_0 + count || woke == WAIT_FAILED))
                return EventWaitResult::Signalled;
            if (woke == WAIT_TIMEOUT)
                return EventWaitResult::TimedOut;
            continue;
        }
        if (msg.message == WM_QUIT)
            return EventWaitResult::Ended;
        PumpMessage(msg);
    }
    *event = g_events.front();
    g_events.pop_front();
    return EventWaitResult::Event;
}

void EventDrain()
{
    // Long work drains once per item: asking whether anything waits costs
    // half of asking for a message that is not there.
    if (HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0)
        return;
    size_t kept = g_events.size();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the end of the queue for the event loop to see.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        PumpMessage(msg);
    }
    g_events.resize(kept);
}

void EventQueueClear()
{
    g_events.clear();
}
