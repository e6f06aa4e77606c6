// The program's command line: a scheduled sort or preview that runs once and
// quits, or a start with the watch turned on. Read without a window, so that
// it is decided before anything is shown or written. It is read as the system
// gives it, in UTF-16: the ANSI command line writes a character the code page
// lacks as a look-alike (a full-width solidus as "/"), and what it writes
// cannot be told from what was typed.
#pragma once

#include <string>
#include <vector>

enum class RunMode { Interactive, Sort, Preview, Watch, Tidy };

struct CommandLine {
    RunMode mode = RunMode::Interactive;
    std::string indexName;             // the index named after the colon, as the program spells it; empty: the last one
    std::vector<std::string> unknown;  // options not understood, in ANSI ("?" for a character the code page lacks)
};

// Splits the whole command line into words as CommandLineToArgvW does, the
// program's name first. The name ends at its closing quote when it starts with
// one (so `"C:\Quillet.exe"/sort` asks for /sort), else at the first blank,
// and takes no other rule. After it blanks (space, tab) part the words outside
// quotes; a double quote starts or ends a quoted run and is dropped; inside a
// quoted run two double quotes give one; 2n backslashes before a double quote
// give n backslashes and the quote does its work, 2n+1 give n and a literal
// double quote; backslashes before anything else stay as they are.
std::vector<std::wstring> CommandLineSplit(const std::wstring& whole);

// Reads the words CommandLineSplit gives, passing over the program's name:
// /sort, /preview, /watch, /tidy. ASCII "/" or "-" starts an option word;
// option words and index names ignore letter case; anything else (a folder
// dragged onto the program) is passed over, but for an index name right after
// an option without a colon, which stands for ":NAME". A word that starts
// with another dash or slash (CommandLineLooksLikeOption) is no option, a
// ":NAME" that names no index is none, and a second option is one too many:
// each is listed as unknown. Index names and unknown words are taken into the
// ANSI code page without look-alikes.
CommandLine CommandLineRead(const std::vector<std::wstring>& words);

// Whether the word starts with a dash or slash other than ASCII "-" or "/",
// which a user meant as an option: a character of Unicode's Dash property
// (U+058A, U+05BE, U+1400, U+1806, U+2010-U+2015, U+2053, U+207B, U+208B,
// U+2212, U+2E17, U+2E1A, U+2E3A, U+2E3B, U+2E40, U+2E5D, U+301C, U+3030,
// U+30A0, U+FE31, U+FE32, U+FE58, U+FE63, U+FF0D, U+10EAD), the minus and
// hyphen look-alikes outside it (U+00AD soft hyphen, U+02D7, U+2043 hyphen
// bullet, U+2796 heavy minus), or a slash look-alike (U+2044 fraction slash,
// U+2215 division slash, U+2571, U+27CB, U+29F8 big solidus, U+FF0F
// full-width solidus).
bool CommandLineLooksLikeOption(const std::wstring& word);

// The run sorts, previews or puts older versions aside (/tidy) once and quits.
bool CommandLineRunsOnce(const CommandLine& line);
