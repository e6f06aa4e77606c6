// 8-bit ANSI text helpers that follow the system's own lower-casing rules.
#pragma once

#include <string>

// The text lower-cased by the system's ANSI rules (CharLowerBuffA).
std::string LowerAnsiText(std::string text);

bool AnsiEqualsIgnoringCase(const std::string& a, const std::string& b);

// The text with "\" appended unless it already ends with one.
std::string WithTrailingBackslash(std::string text);
