#include "window/taskbar_progress.h"

#include <shobjidl.h>

namespace {

UINT g_buttonCreated = 0;
HWND g_window = nullptr;
ITaskbarList3* g_taskbar = nullptr;

// Windows 7 and later have the call; looked up so that the program still
// starts where it is missing.
typedef BOOL(WINAPI* MessageFilterEx)(HWND, UINT, DWORD, void*);

}  // namespace

void TaskbarProgressAllow(HWND window)
{
    g_buttonCreated = RegisterWindowMessageA("TaskbarButtonCreated");
    HMODULE user = GetModuleHandleA("user32.dll");
    auto allow = reinterpret_cast<MessageFilterEx>(
        reinterpret_cast<void (*)()>(user ? GetProcAddress(user, "ChangeWindowMessageFilterEx") : nullptr));
    if (allow && g_buttonCreated)
        allow(window, g_buttonCreated, MSGFLT_ALLOW, nullptr);
}

bool TaskbarProgressMessage(HWND window, UINT message)
{
    if (!g_buttonCreated || message != g_buttonCreated)
        return false;
    // The shell sends it again after Explorer restarts: take the new one.
    TaskbarProgressRelease();
    // COM stays initialised on the window's thread for the rest of the run,
    // as the folder pickers leave it.
    CoInitialize(nullptr);
    void* taskbar = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, &taskbar))) {
        g_taskbar = static_cast<ITaskbarList3*>(taskbar);
        if (FAILED(g_taskbar->HrInit()))
            TaskbarProgressRelease();
    }
    g_window = g_taskbar ? window : nullptr;
    return true;
}

void TaskbarProgressShow(uint64_t done, uint64_t total)
{
    if (!g_taskbar)
        return;
    if (total == 0) {
        g_taskbar->SetProgressState(g_window, TBPF_NOPROGRESS);
        return;
    }
    g_taskbar->SetProgressValue(g_window, done, total);
}

void TaskbarProgressRelease()
{
    if (g_taskbar)
        g_taskbar->Release();
    g_taskbar = nullptr;
    g_window = nullptr;
}
