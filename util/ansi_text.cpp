#include "util/ansi_text.h"

#include <windows.h>

std::string LowerAnsiText(std::string text)
{
    if (!text.empty())
        CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool AnsiEqualsIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && LowerAnsiText(a) == LowerAnsiText(b);
}

std::string AnsiTextFromWide(const wchar_t* text, bool* exact)
{
    // Under a UTF-8 code page every character converts, and the system
    // refuses the check for a substitute.
    bool utf8 = GetACP() == CP_UTF8;
    DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* substitute = utf8 ? nullptr : "?";
    BOOL substituted = FALSE;
    int size = WideCharToMultiByte(CP_ACP, flags, text, -1, nullptr, 0, substitute, nullptr);
    std::string ansi(size > 0 ? static_cast<size_t>(size) : 1, '\0');
    if (size <= 0
        || !WideCharToMultiByte(CP_ACP, flags, text, -1, &ansi[0], size, substitute, utf8 ? nullptr : &substituted)) {
        if (exact)
            *exact = false;
        return std::string();
    }
    ansi.resize(static_cast<size_t>(size) - 1);
    if (exact)
        *exact = !substituted;
    return ansi;
}

std::string WithTrailingBackslash(std::string text)
{
    if (text.empty() || text.back() != '\\')
        text += '\\';
    return text;
}
