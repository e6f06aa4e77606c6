// Starts the real Quillet.exe as a user would, in a working folder of the
// test's choosing, and watches its window and its end.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Quillet.exe beside the test exe.
std::string QuilletExePath();

// A visible top-level window of that class belonging to the process, or nullptr.
HWND FindVisibleWindowOf(DWORD processId, const char* className);

class QuilletProcess {
public:
    QuilletProcess() = default;
    ~QuilletProcess();
    QuilletProcess(const QuilletProcess&) = delete;
    QuilletProcess& operator=(const QuilletProcess&) = delete;

    // Starts the program with the folder as its working directory and the
    // arguments after its name and the gap.
    bool Start(const std::string& workingFolder, const std::string& arguments = std::string(),
               const char* gap = " ");
    // The same with a UTF-16 command line, as a launcher that passes
    // characters the ANSI code page lacks starts it.
    bool StartWide(const std::string& workingFolder, const std::wstring& arguments);
    // Waits until the program's main window is visible; nullptr on time-out.
    HWND WaitForWindow(DWORD milliseconds = 30000);
    // Waits until the program has finished starting, which its last status
    // line tells: before that, start-up work may drop what is sent to it.
    // Returns the main window, or nullptr on time-out.
    HWND WaitUntilReady(DWORD milliseconds = 30000);
    // Waits until a status line with this title stands at row `from` or later.
    bool WaitForStatusLine(const std::string& title, size_t from, DWORD milliseconds = 60000);
    // Sends the window a menu command (what picking its item sends) and waits
    // for a status line with this title after the lines already shown.
    bool Command(int command, const std::string& title, DWORD milliseconds = 60000);
    // The rows of one of the program's lists, one text per column.
    std::vector<std::vector<std::string>> Rows(int listId) const;
    // The text of a control (0: the window title).
    std::string Text(int id) const;
    // Clicks the quit button until the program has ended; false on time-out.
    bool Quit(DWORD* exitCode);
    // Waits for the process to end; false on time-out.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode);
    // A control of the program's window, by its number.
    HWND Control(int id) const;
    DWORD id() const { return info_.dwProcessId; }
    // Another build of the program to start (a benchmark's baseline).
    void SetExe(const std::string& path) { exe_ = path; }

private:
    std::string exe_;
    PROCESS_INFORMATION info_ = {};
    HWND window_ = nullptr;
};
