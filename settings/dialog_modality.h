// Keeping the program's own windows out of the way while a modal dialog of
// the system runs on the program's thread.
#pragma once

#include <windows.h>

#include <vector>

struct DisabledWindow {
    HWND window;
    bool wasTopmost;
};

// Disables every visible, enabled top-level window of the calling thread
// except `owner` (the dialog's owner, which the dialog disables itself), first
// taking a topmost window out of the topmost band so that it cannot cover
// the dialog. Returns what was changed, for RestoreThreadWindows.
std::vector<DisabledWindow> DisableThreadWindows(HWND owner);

// Enables the windows again and puts the topmost ones back into that band.
void RestoreThreadWindows(const std::vector<DisabledWindow>& windows);
