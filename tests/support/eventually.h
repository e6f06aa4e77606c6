// Waiting on another process: poll until a condition holds.
#pragma once

#include <windows.h>

// Polls every 50 ms until the condition holds; false when the time is up.
template <typename Condition>
bool Eventually(Condition condition, DWORD milliseconds = 10000)
{
    for (DWORD waited = 0;; waited += 50) {
        if (condition())
            return true;
        if (waited >= milliseconds)
            return false;
        Sleep(50);
    }
}
