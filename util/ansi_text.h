// 8-bit ANSI text helpers that follow the system's own lower-casing rules.
#pragma once

#include <string>

// The wide text in the ANSI code page. A character the code page lacks
// becomes "?", never a look-alike: by default the system writes an O with a
// macron as a plain O, which can make the name of another file, while "?"
// cannot be part of a file name at all. exact, when given, tells whether
// every character converted as it is.
std::string AnsiTextFromWide(const wchar_t* text, bool* exact = nullptr);

// The text lower-cased by the system's ANSI rules (CharLowerBuffA).
std::string LowerAnsiText(std::string text);

bool AnsiEqualsIgnoringCase(const std::string& a, const std::string& b);

// The text with "\" appended unless it already ends with one.
std::string WithTrailingBackslash(std::string text);
