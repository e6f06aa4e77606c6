#include "support/answer_watch.h"

AnswerWatch::AnswerWatch(HWND window) : window_(window), stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    thread_ = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
}

AnswerWatch::~AnswerWatch()
{
    Stop();
    CloseHandle(stop_);
}

DWORD AnswerWatch::Stop()
{
    if (thread_) {
        SetEvent(stop_);
        // The window may belong to this thread: a message sent meanwhile is
        // answered while waiting.
        while (MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    return longest_;
}

DWORD WINAPI AnswerWatch::Watch(void* context)
{
    AnswerWatch& watch = *static_cast<AnswerWatch*>(context);
    while (WaitForSingleObject(watch.stop_, 20) == WAIT_TIMEOUT) {
        DWORD start = GetTickCount();
        DWORD_PTR answer = 0;
        // A window that does not answer at all shows as a wait of a minute.
        SendMessageTimeoutA(watch.window_, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
        DWORD waited = GetTickCount() - start;
        if (waited > watch.longest_)
            watch.longest_ = waited;
    }
    return 0;
}
