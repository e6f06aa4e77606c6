// The group/key text of the settings file held in memory as an ordered list of
// lines, with the reading, the changes and the writing-out as plain functions
// on text. Lines the program does not know survive every rewrite in place.
#pragma once

#include <functional>
#include <string>
#include <vector>

enum class SettingsLineKind { Group, Comment, Key };

struct SettingsLine {
    SettingsLineKind kind;
    std::string text;   // group name, comment text or key
    std::string value;  // key lines only
    // Where the line stood, for messages about it; neither is written back
    // nor compared.
    int lineNumber = 0;       // as an editor counts: CR LF, LF or a lone CR end one line
    bool hasEquals = false;   // a key line that had "=" (without it the value is empty)

    bool operator==(const SettingsLine& other) const
    {
        return kind == other.kind && text == other.text && value == other.value;
    }
};

// A line position that stands for "no line".
constexpr int NoLine = -1;

struct SettingsDocument {
    std::vector<SettingsLine> lines;
    int currentGroup = NoLine;    // header of the current group; NoLine: the lines before the first header
    int insertionPoint = NoLine;  // the next comment goes after this line; NoLine: at the top
    std::string pendingGroup;     // selected but not there yet; its header comes with the next change
    bool changed = false;
    bool utf8 = false;            // the text began with the UTF-8 byte order mark
};

// Parses the whole text of a file. Blank lines are dropped; CR, LF or any mix
// of them end a line. Each line kept carries its line number.
SettingsDocument DocumentParse(const std::string& bytes);

// Reads the text as DocumentParse does, but hands each line kept to the
// visitor in file order instead of keeping it, so that a large text costs no
// more memory than its longest line. Returns whether the text began with the
// byte order mark.
bool DocumentReadLines(const std::string& bytes, const std::function<void(SettingsLine&)>& visit);

// Whether the text begins with the UTF-8 byte order mark.
bool DocumentBeginsWithMark(const std::string& bytes);

// The whole text to write back: every line ended by CR LF, after the byte
// order mark and an empty line for a UTF-8 document. The text of any other
// document that would begin with the mark's bytes begins with an empty line,
// so that it is not read back as UTF-8.
std::string DocumentText(const SettingsDocument& document);

// Makes the first group of that name (A to Z compared without regard to
// case) current and returns true; an unknown name becomes the pending group
// and false is returned. The empty name stands for the lines before the
// first header.
bool DocumentSelectGroup(SettingsDocument& document, const std::string& name);

// Inserts a comment line after the insertion point.
void DocumentAddComment(SettingsDocument& document, const std::string& text);

// Sets the key in the current group, adding the line, and the pending group's
// header, where needed. A value that reads back as the line's value already
// reads keeps that line's bytes: a UTF-8 character beyond U+00FF reads as "?",
// and writing the "?" back would lose it although nothing was changed.
void DocumentWriteKey(SettingsDocument& document, const std::string& key, const std::string& value);

// The key's value in the current group with blanks trimmed at both ends, or
// the fallback when the group or the key is not there.
std::string DocumentReadKey(const SettingsDocument& document, const std::string& key, const std::string& fallback);

// Group and key names compare so: the letters A to Z without regard to case,
// every other byte as it is.
bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b);

// Each byte taken as the character of the same number, in UTF-8.
std::string Latin1ToUtf8(const std::string& text);
// UTF-8 back to one byte per character; characters above U+00FF and malformed
// sequences become "?".
std::string Utf8ToLatin1(const std::string& text);
