#include "support/quillet_process.h"

#include "support/remote_list.h"
#include "util/ansi_text.h"
#include "window/controls.h"
#include "window/main_window.h"

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

bool QuilletProcess::Start(const std::string& workingFolder, const std::string& arguments, const char* gap)
{
    std::string exe = exe_.empty() ? QuilletExePath() : exe_;
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : gap + arguments);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, workingFolder.c_str(),
                          &startup, &info_)
           != FALSE;
}

bool QuilletProcess::StartWide(const std::string& workingFolder, const std::wstring& arguments)
{
    std::wstring exe = WideFromAnsi(exe_.empty() ? QuilletExePath() : exe_);
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    std::wstring folder = WideFromAnsi(workingFolder);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                          &info_)
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
    DWORD left = milliseconds - (GetTickCount() - start);
    if (left > milliseconds)
        return nullptr;
    // Start-up ends with the start-up line, or the history's fault line right
    // after it; nothing is added after them until the user acts.
    for (DWORD waited = 0; waited < left; waited += 50) {
        std::vector<std::vector<std::string>> rows = Rows(ListStatus);
        auto title = [&rows](size_t fromEnd) {
            return rows.size() > fromEnd && !rows[rows.size() - 1 - fromEnd].empty()
                       ? rows[rows.size() - 1 - fromEnd][0]
                       : std::string();
        };
        if (title(0) == "Startup" || (title(0) == "History not written" && title(1) == "Startup"))
            return window_;
        if (WaitForSingleObject(info_.hProcess, 50) != WAIT_TIMEOUT)
            return nullptr;
    }
    return nullptr;
}

bool QuilletProcess::Command(int command, const std::string& title, DWORD milliseconds)
{
    size_t from = Rows(ListStatus).size();
    return PostMessageA(window_, WM_COMMAND, command, 0) && WaitForStatusLine(title, from, milliseconds);
}

bool QuilletProcess::WaitForStatusLine(const std::string& title, size_t from, DWORD milliseconds)
{
    for (DWORD waited = 0; waited < milliseconds; waited += 50) {
        std::vector<std::vector<std::string>> rows = Rows(ListStatus);
        for (size_t row = from; row < rows.size(); ++row) {
            if (!rows[row].empty() && rows[row][0] == title)
                return true;
        }
        if (WaitForSingleObject(info_.hProcess, 50) != WAIT_TIMEOUT)
            return false;
    }
    return false;
}

std::vector<std::vector<std::string>> QuilletProcess::Rows(int listId) const
{
    HWND list = Control(listId);
    return list ? RemoteListRows(list) : std::vector<std::vector<std::string>>();
}

std::string QuilletProcess::Text(int id) const
{
    HWND control = id == 0 ? window_ : Control(id);
    if (!control)
        return std::string();
    // WM_GETTEXT is carried between processes; GetWindowText of another
    // process's control is not.
    char text[4096] = "";
    SendMessageA(control, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

bool QuilletProcess::Quit(DWORD* exitCode)
{
    HWND quit = Control(ButtonQuit);
    for (int attempt = 0; quit && attempt < 40; ++attempt) {
        PostMessageA(quit, BM_CLICK, 0, 0);
        if (WaitForExit(500, exitCode))
            return true;
    }
    return false;
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
