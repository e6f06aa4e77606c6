// The user's own catalogue rows: a text in the settings file format whose
// groups are named after the indexes, each key line a name fragment and its
// category. The rows of the loaded index's groups are checked here and come
// back with the status lines that tell what was taken and what was refused;
// nothing here touches a file or a window.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/index_list.h"
#include "settings/settings_document.h"
#include "window/status_list.h"

// The most rows taken from the file; the rest are reported as cut short.
constexpr size_t UserRowsLimit = 10000;
// The most refused lines named one by one; the rest are counted in one line.
constexpr size_t UserRowsRefusalsNamed = 100;

// The category of a row that switches rows off instead of placing packages:
// the compiled-in rows with its fragment (letter case aside) and the earlier
// own rows with exactly its fragment.
extern const char SwitchOffCategory[];

// One status line to add: its key and the variable part of its text.
struct UserRowsLine {
    Activity key;
    std::string detail;
};

struct UserRows {
    IndexList rows;                   // the rows that place packages, in file order
    std::vector<UserRowsLine> lines;  // the status lines to add, in order
};

// The rows of every group of the file's text named like the index (letter
// case aside), with the "loaded" line, a line for each of the first refused
// lines, one line counting the refused lines beyond them and, past the limit,
// the "cut short" line. The path names the file in those lines; the target
// is the index's target folder, below which each category must fit. The text
// is read line by line and never held as a whole document. A text that is
// well-formed UTF-8 is taken as UTF-8 even without the byte order mark.
// The compiled-in rows, when given, lose the rows that "-" rows switch off.
UserRows UserRowsFromText(const std::string& bytes, const std::string& indexName, const std::string& path,
                          const std::string& target, IndexList* compiled = nullptr);

// What is wrong with one key line of an index group, or empty text when it is
// a row; then the entry holds the row in the ANSI code page, its category
// trimmed of one leading and any trailing "\", and a fragment that begins
// with "^" is anchored.
std::string UserRowFault(const SettingsLine& line, bool utf8, const std::string& target, IndexEntry* entry);
