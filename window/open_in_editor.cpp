#include "window/open_in_editor.h"

#include <windows.h>

#include <vector>

#include "util/system_error.h"

// The program runs elevated. The shell's handler for ".log" or ".ini" is
// whatever a program without elevation registered for the user (under
// HKCU\Software\Classes), so the file is not handed to the shell: Notepad
// is started from the Windows folder by its full path, which only
// administrators can change, with the quoted file as its argument.
namespace {

std::string NotepadPath()
{
    char folder[MAX_PATH];
    UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    std::string path(folder, length);
    if (path.back() != '\\')
        path += '\\';
    return path + "notepad.exe";
}

}  // namespace

void OpenInEditor(const std::string& path, Activity failedLine)
{
    std::string notepad = NotepadPath();
    std::string command = "\"" + notepad + "\" \"" + path + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (notepad.empty()
        || !CreateProcessA(notepad.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process)) {
        ReportActivity(failedLine, path + "  " + ErrorTextOrCode(GetLastError()));
        return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}
