#include "util/system_error.h"

#include <windows.h>

std::string SystemErrorText(unsigned long code)
{
    if (code == 0)
        code = GetLastError();
    char* buffer = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0,
                                  reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    if (length == 0 || !buffer)
        return std::string();
    std::string text(buffer, length);
    LocalFree(buffer);
    return text;
}
