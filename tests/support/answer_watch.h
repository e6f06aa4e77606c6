// Watching whether a window answers, as another program asking it would see
// it: a thread of its own sends the window WM_NULL every 20 ms and notes the
// longest wait for an answer.
#pragma once

#include <windows.h>

class AnswerWatch {
public:
    explicit AnswerWatch(HWND window);
    ~AnswerWatch();
    AnswerWatch(const AnswerWatch&) = delete;
    AnswerWatch& operator=(const AnswerWatch&) = delete;

    // Stops watching; returns the longest wait for an answer in milliseconds.
    DWORD Stop();

private:
    static DWORD WINAPI Watch(void* context);

    HWND window_;
    HANDLE stop_;
    HANDLE thread_ = nullptr;
    DWORD longest_ = 0;
};
