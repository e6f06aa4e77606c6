#include "util/ansi_text.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <vector>

namespace {

bool IsHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// A surrogate without its partner names no character; a UTF-8 code page
// would write it as U+FFFD and call that done.
bool HoldsLoneSurrogate(const wchar_t* text, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < length && IsLowSurrogate(text[i + 1]))
            ++i;
        else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i]))
            return true;
    }
    return false;
}

std::string AnsiFromWide(const wchar_t* text, size_t length, bool* exact)
{
    if (exact)
        *exact = !HoldsLoneSurrogate(text, length);
    if (length == 0)
        return std::string();
    // Under a UTF-8 code page every character converts, and the system
    // refuses the check for a substitute.
    bool utf8 = GetACP() == CP_UTF8;
    DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* substitute = utf8 ? nullptr : "?";
    BOOL substituted = FALSE;
    int wideLength = static_cast<int>(length);
    int size = WideCharToMultiByte(CP_ACP, flags, text, wideLength, nullptr, 0, substitute, nullptr);
    std::string ansi(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size <= 0
        || !WideCharToMultiByte(CP_ACP, flags, text, wideLength, &ansi[0], size, substitute,
                                utf8 ? nullptr : &substituted)) {
        if (exact)
            *exact = false;
        return std::string();
    }
    if (exact && substituted)
        *exact = false;
    return ansi;
}

// Whether the ANSI code page has characters of two bytes; it is fixed for
// the life of the process.
bool CodePageHasLeadBytes()
{
    static const bool leadBytes = [] {
        CPINFO info;
        return !GetCPInfo(CP_ACP, &info) || info.MaxCharSize > 1;
    }();
    return leadBytes;
}

bool IsLeadByteBefore(const std::string& text, size_t at)
{
    return CodePageHasLeadBytes() && at + 1 < text.size() && text[at + 1] != '\0'
           && IsDBCSLeadByte(static_cast<BYTE>(text[at]));
}

}  // namespace

std::wstring WideFromAnsi(const std::string& text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    return std::wstring(wide.data());
}

std::string AnsiTextFromWide(const wchar_t* text, bool* exact)
{
    return AnsiFromWide(text, std::wcslen(text), exact);
}

std::string AnsiTextFromUtf8(const std::string& text, bool* exact)
{
    if (text.empty()) {
        if (exact)
            *exact = true;
        return std::string();
    }
    int length = static_cast<int>(text.size());
    // Strictly first, so that a malformed sequence is known; then as the
    // system reads it, with U+FFFD in its place.
    DWORD flags = MB_ERR_INVALID_CHARS;
    int wideLength = MultiByteToWideChar(CP_UTF8, flags, text.data(), length, nullptr, 0);
    if (wideLength <= 0) {
        flags = 0;
        wideLength = MultiByteToWideChar(CP_UTF8, flags, text.data(), length, nullptr, 0);
    }
    std::vector<wchar_t> wide(static_cast<size_t>(std::max(wideLength, 1)));
    wideLength = MultiByteToWideChar(CP_UTF8, flags, text.data(), length, wide.data(), wideLength);
    std::string ansi = AnsiFromWide(wide.data(), static_cast<size_t>(std::max(wideLength, 0)), exact);
    if (exact && flags == 0)
        *exact = false;
    return ansi;
}

std::string Utf8FromAnsiText(const std::string& text)
{
    if (text.empty())
        return std::string();
    int length = static_cast<int>(text.size());
    int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(std::max(wideLength, 1)));
    wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), wideLength);
    int utf8Length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(std::max(utf8Length, 0)), '\0');
    if (utf8Length > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, &utf8[0], utf8Length, nullptr, nullptr);
    return utf8;
}

bool IsUtf8BeyondAscii(const std::string& bytes)
{
    bool beyond = std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) > 127; });
    return beyond && bytes.size() < 0x7FFFFFFF
           && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                  nullptr, 0) > 0;
}

namespace {

// Each byte of a code page of one-byte characters as CharLowerBuffA lowers
// it: a table built once, since the system's call converts every text to
// UTF-16 and back (several times the cost of a name's other handling in a
// sort).
const std::array<char, 256>& LowerBytes()
{
    static const std::array<char, 256> table = [] {
        std::array<char, 256> bytes;
        for (int byte = 0; byte < 256; ++byte) {
            char one = static_cast<char>(byte);
            if (byte != 0)
                CharLowerBuffA(&one, 1);
            bytes[static_cast<size_t>(byte)] = one;
        }
        return bytes;
    }();
    return table;
}

}  // namespace

std::string LowerAnsiText(std::string text)
{
    if (text.empty())
        return text;
    // A character of two bytes is lowered as a whole, by the system.
    if (CodePageHasLeadBytes()) {
        CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
        return text;
    }
    const std::array<char, 256>& lower = LowerBytes();
    for (char& c : text)
        c = lower[static_cast<unsigned char>(c)];
    return text;
}

bool AnsiEqualsIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && LowerAnsiText(a) == LowerAnsiText(b);
}

size_t AnsiNextCharacter(const std::string& text, size_t at)
{
    return IsLeadByteBefore(text, at) ? at + 2 : at + 1;
}

size_t AnsiFindBackslash(const std::string& text, size_t from)
{
    for (size_t at = from; at < text.size(); at = AnsiNextCharacter(text, at)) {
        if (text[at] == '\\')
            return at;
    }
    return std::string::npos;
}

size_t AnsiFindLastBackslash(const std::string& text, size_t before)
{
    size_t last = std::string::npos;
    for (size_t at = 0; at < text.size() && at < before; at = AnsiNextCharacter(text, at)) {
        if (text[at] == '\\')
            last = at;
    }
    return last;
}

bool AnsiEndsWithBackslash(const std::string& text)
{
    return !text.empty() && AnsiFindLastBackslash(text) == text.size() - 1;
}

std::string WithTrailingBackslash(std::string text)
{
    if (!AnsiEndsWithBackslash(text))
        text += '\\';
    return text;
}

std::string WithoutTrailingBackslash(std::string text)
{
    if (AnsiEndsWithBackslash(text))
        text.pop_back();
    return text;
}

size_t AnsiWideLength(const std::string& text)
{
    // In a code page of one-byte characters each byte is one UTF-16 unit.
    if (text.empty() || !CodePageHasLeadBytes())
        return text.size();
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    return length > 0 ? static_cast<size_t>(length) : text.size();
}
