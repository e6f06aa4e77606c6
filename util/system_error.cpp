#include "util/system_error.h"

#include <windows.h>

std::string SystemErrorText(unsigned long code)
{
    if (code == 0)
        code = GetLastError();
    char* buffer = nullptr;
    // No arguments are passed, so a text with inserts ("%1") keeps them as
    // they stand; asked to fill them, the system gives no text at all.
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD length = FormatMessageA(flags, nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    if (length == 0 || !buffer)
        return std::string();
    std::string text(buffer, length);
    LocalFree(buffer);
    return text;
}

std::string ErrorTextOrCode(unsigned long code)
{
    if (code == 0)
        code = GetLastError();
    std::string text = SystemErrorText(code);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(code) : text;
}
