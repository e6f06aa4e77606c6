#include "window/open_history.h"

#include <windows.h>
#include <shellapi.h>

#include "util/system_error.h"
#include "window/main_window.h"
#include "window/status_list.h"

void OpenHistoryFile(const std::string& path)
{
    HINSTANCE result = ShellExecuteA(MainWindowHandle(), "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) > 32)
        return;
    DWORD error = GetLastError();
    std::string text = SystemErrorText(error);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = "error " + std::to_string(error ? error : static_cast<DWORD>(reinterpret_cast<INT_PTR>(result)));
    ReportActivity(Activity::HistoryNotOpened, path + "  " + text);
}
