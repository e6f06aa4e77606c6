#include "settings/dialog_modality.h"

namespace {

struct Collect {
    HWND owner;
    std::vector<DisabledWindow>* windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    Collect* collect = reinterpret_cast<Collect*>(param);
    if (window != collect->owner && IsWindowVisible(window) && IsWindowEnabled(window)) {
        bool topmost = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        collect->windows->push_back({window, topmost});
    }
    return TRUE;
}

void SetTopmost(HWND window, bool topmost)
{
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

std::vector<DisabledWindow> DisableThreadWindows(HWND owner)
{
    std::vector<DisabledWindow> windows;
    Collect collect = {owner, &windows};
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&collect));
    for (const DisabledWindow& entry : windows) {
        if (entry.wasTopmost)
            SetTopmost(entry.window, false);
        EnableWindow(entry.window, FALSE);
    }
    return windows;
}

void RestoreThreadWindows(const std::vector<DisabledWindow>& windows)
{
    for (const DisabledWindow& entry : windows) {
        // A window destroyed while the dialog ran is gone; nothing to restore.
        if (!IsWindow(entry.window))
            continue;
        EnableWindow(entry.window, TRUE);
        if (entry.wasTopmost)
            SetTopmost(entry.window, true);
    }
}
