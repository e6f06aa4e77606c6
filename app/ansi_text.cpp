#include "app/ansi_text.h"

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

std::string WithTrailingBackslash(std::string text)
{
    if (text.empty() || text.back() != '\\')
        text += '\\';
    return text;
}
