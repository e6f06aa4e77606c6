#include "support/quillet_process.h"

#include "app/controls.h"
#include "app/main_window.h"
#include "support/remote_list.h"

std::string QuilletExePath()
{
    char self[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, length);
    return path.substr(0, path.find_last_of('\\') + 1) + "Quillet.exe";
}

QuilletProcess::~QuilletProcess()
{
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool QuilletProcess::Start(const std::string& workingFolder)
{
    std::string exe = QuilletExePath();
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, workingFolder.c_str(),
                          &startup, &info_)
           != FALSE;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char className[64];
    if (owner == search->processId && IsWindowVisible(hwnd) && GetClassNameA(hwnd, className, sizeof(className))
        && lstrcmpA(className, search->className) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindVisibleWindowOf(DWORD processId, const char* className)
{
    WindowSearch search = {processId, className, nullptr};
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND QuilletProcess::WaitForWindow(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        if (HWND found = FindVisibleWindowOf(info_.dwProcessId, MainWindowClassName)) {
            window_ = found;
            return window_;
        }
        if (WaitForSingleObject(info_.hProcess, 50) != WAIT_TIMEOUT)
            return nullptr;
    }
    return nullptr;
}

HWND QuilletProcess::WaitUntilReady(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    if (!WaitForWindow(milliseconds))
        return nullptr;
    while (GetTickCount() - start < milliseconds) {
        if (HWND status = Control(ListStatus)) {
            std::vector<std::vector<std::string>> rows = RemoteListRows(status);
            if (!rows.empty() && !rows.back().empty() && rows.back()[0] == "Startup")
                return window_;
        }
        if (WaitForSingleObject(info_.hProcess, 50) != WAIT_TIMEOUT)
            return nullptr;
    }
    return nullptr;
}

bool QuilletProcess::WaitForExit(DWORD milliseconds, DWORD* exitCode)
{
    if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(info_.hProcess, exitCode);
    return true;
}

namespace {

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindControl(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<ControlSearch*>(param);
    if (GetDlgCtrlID(hwnd) == search->id) {
        // Pages of the tab panel carry no number of their own; controls do.
        char className[64];
        GetClassNameA(hwnd, className, sizeof(className));
        if (lstrcmpiA(className, "QuilletTabPage") != 0) {
            search->found = hwnd;
            return FALSE;
        }
    }
    return TRUE;
}

}  // namespace

HWND QuilletProcess::Control(int id) const
{
    ControlSearch search = {id, nullptr};
    if (window_)
        EnumChildWindows(window_, FindControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
