#include "window/open_in_editor.h"

#include <windows.h>
#include <shellapi.h>

#include "util/system_error.h"
#include "window/main_window.h"

void OpenInEditor(const std::string& path, Activity failedLine)
{
    SHELLEXECUTEINFOA open = {};
    open.cbSize = sizeof(open);
    open.fMask = SEE_MASK_FLAG_NO_UI;
    open.hwnd = MainWindowHandle();
    open.lpVerb = "open";
    open.lpFile = path.c_str();
    open.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&open))
        ReportActivity(failedLine, path + "  " + ErrorTextOrCode(GetLastError()));
}
