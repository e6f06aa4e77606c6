// 8-bit ANSI text helpers that follow the system's own rules: its
// lower-casing, and its characters of one or two bytes. In a double-byte code
// page (932, 936, 949, 950) the second byte of a character can be 0x5C, the
// byte of "\", so paths are stepped through by character, never by byte.
#pragma once

#include <string>

// The wide text in the ANSI code page. A character the code page lacks
// becomes "?", never a look-alike: by default the system writes an O with a
// macron as a plain O, which can make the name of another file, while "?"
// cannot be part of a file name at all. exact, when given, tells whether
// every character converted as it is (a lone surrogate never does).
std::string AnsiTextFromWide(const wchar_t* text, bool* exact = nullptr);

// The ANSI text in UTF-16, by the ANSI code page; empty when it cannot be read.
std::wstring WideFromAnsi(const std::string& text);

// UTF-8 text in the ANSI code page, as AnsiTextFromWide writes it; a
// malformed sequence is not exact either.
std::string AnsiTextFromUtf8(const std::string& text, bool* exact = nullptr);

// ANSI text in UTF-8, each character as the code page has it.
std::string Utf8FromAnsiText(const std::string& text);

// Whether the bytes are well-formed UTF-8 holding at least one byte above
// 127: text no single-byte code page is likely to give by chance.
bool IsUtf8BeyondAscii(const std::string& bytes);

// The text lower-cased by the system's ANSI rules (CharLowerBuffA).
std::string LowerAnsiText(std::string text);

bool AnsiEqualsIgnoringCase(const std::string& a, const std::string& b);

// The position of the character after the one starting at the position: two
// bytes on for a lead byte of the code page with a trail byte after it.
size_t AnsiNextCharacter(const std::string& text, size_t at);

// The position of the first "\" character at or after the position, which
// starts a character; npos when there is none.
size_t AnsiFindBackslash(const std::string& text, size_t from = 0);

// The position of the last "\" character that starts before the position;
// npos when there is none.
size_t AnsiFindLastBackslash(const std::string& text, size_t before = std::string::npos);

// Whether the last character of the text is "\" (not a trail byte 0x5C).
bool AnsiEndsWithBackslash(const std::string& text);

// The text with "\" appended unless it already ends with one.
std::string WithTrailingBackslash(std::string text);

// The text without its one trailing "\", if it has one.
std::string WithoutTrailingBackslash(std::string text);

// How many characters the text makes in UTF-16, as the system counts a path.
size_t AnsiWideLength(const std::string& text);
