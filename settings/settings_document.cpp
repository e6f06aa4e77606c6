#include "settings/settings_document.h"

#include <algorithm>

namespace {

const char ByteOrderMark[] = "\xEF\xBB\xBF";
const char LineEnd[] = "\r\n";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Only the letters A to Z have a case here: names compare the same whatever
// code page the file was written in.
char FoldAsciiCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i]))
            return false;
    }
    return true;
}

namespace {

std::string TrimBlanks(const std::string& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// How many continuation bytes a UTF-8 lead byte announces; 0 for a byte that
// cannot lead a sequence.
size_t ContinuationBytesWanted(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 1;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 2;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 3;
    return 0;
}

// One non-empty line, its leading blanks already skipped.
SettingsLine ParseLine(const char* begin, const char* end)
{
    if (*begin == ';') {
        ++begin;
        if (begin != end && *begin == ' ')
            ++begin;
        return {SettingsLineKind::Comment, std::string(begin, end), std::string()};
    }
    if (*begin == '[') {
        ++begin;
        return {SettingsLineKind::Group, std::string(begin, std::find(begin, end, ']')), std::string()};
    }
    const char* equals = std::find(begin, end, '=');
    const char* keyEnd = equals;
    while (keyEnd != begin && IsBlank(keyEnd[-1]))
        --keyEnd;
    const char* valueBegin = equals == end ? end : equals + 1;
    while (valueBegin != end && IsBlank(*valueBegin))
        ++valueBegin;
    SettingsLine line{SettingsLineKind::Key, std::string(begin, keyEnd), std::string(valueBegin, end)};
    line.hasEquals = equals != end;
    return line;
}

// A text the caller passes, in the form the document stores.
std::string Stored(const SettingsDocument& document, const std::string& text)
{
    return document.utf8 ? Latin1ToUtf8(text) : text;
}

int GroupBodyBegin(const SettingsDocument& document)
{
    return document.currentGroup == NoLine ? 0 : document.currentGroup + 1;
}

// The next header after the current one, or the end of the file.
int GroupBodyEnd(const SettingsDocument& document)
{
    int count = static_cast<int>(document.lines.size());
    for (int line = GroupBodyBegin(document); line < count; ++line) {
        if (document.lines[line].kind == SettingsLineKind::Group)
            return line;
    }
    return count;
}

int FindKey(const SettingsDocument& document, const std::string& storedKey)
{
    int end = GroupBodyEnd(document);
    for (int line = GroupBodyBegin(document); line < end; ++line) {
        const SettingsLine& candidate = document.lines[line];
        if (candidate.kind == SettingsLineKind::Key && EqualsIgnoringAsciiCase(candidate.text, storedKey))
            return line;
    }
    return NoLine;
}

// Inserts the line at the position, keeping the remembered positions on the
// lines they named.
void InsertLine(SettingsDocument& document, int position, const SettingsLine& line)
{
    document.lines.insert(document.lines.begin() + position, line);
    if (document.currentGroup >= position)
        ++document.currentGroup;
    if (document.insertionPoint >= position)
        ++document.insertionPoint;
}

// A key line's value as it is read: blanks trimmed at both ends, and in a
// UTF-8 document each character as its byte, "?" when it has none.
std::string ReadValue(const SettingsDocument& document, const SettingsLine& line)
{
    std::string value = TrimBlanks(line.value);
    return document.utf8 ? Utf8ToLatin1(value) : value;
}

void PlacePendingGroup(SettingsDocument& document)
{
    if (document.pendingGroup.empty())
        return;
    document.lines.push_back({SettingsLineKind::Group, document.pendingGroup, std::string()});
    document.currentGroup = static_cast<int>(document.lines.size()) - 1;
    document.insertionPoint = document.currentGroup;
    document.pendingGroup.clear();
}

}  // namespace

bool DocumentBeginsWithMark(const std::string& bytes)
{
    return bytes.compare(0, 3, ByteOrderMark) == 0;
}

SettingsDocument DocumentParse(const std::string& bytes)
{
    SettingsDocument document;
    document.utf8 = DocumentReadLines(bytes, [&](SettingsLine& line) { document.lines.push_back(std::move(line)); });
    return document;
}

bool DocumentReadLines(const std::string& bytes, const std::function<void(SettingsLine&)>& visit)
{
    const char* at = bytes.data();
    const char* end = at + bytes.size();
    bool mark = DocumentBeginsWithMark(bytes);
    if (mark)
        at += 3;
    for (int number = 1; at != end; ++number) {
        const char* lineEnd = std::find_if(at, end, IsLineEnd);
        const char* first = std::find_if_not(at, lineEnd, IsBlank);
        if (first != lineEnd) {
            SettingsLine line = ParseLine(first, lineEnd);
            line.lineNumber = number;
            visit(line);
        }
        // Each CR or LF ends a line, except that CR LF ends only one; the
        // empty lines are dropped.
        at = lineEnd == end ? end : lineEnd + 1;
        if (at != end && *lineEnd == '\r' && *at == '\n')
            ++at;
    }
    return mark;
}

std::string DocumentText(const SettingsDocument& document)
{
    std::string text;
    if (document.utf8)
        text = std::string(ByteOrderMark) + LineEnd;
    size_t start = text.size();
    for (const SettingsLine& line : document.lines) {
        switch (line.kind) {
        case SettingsLineKind::Group:
            text += "[" + line.text + "]";
            break;
        case SettingsLineKind::Comment:
            text += "; " + line.text;
            break;
        case SettingsLineKind::Key:
            text += line.text + " = " + line.value;
            break;
        }
        text += LineEnd;
    }
    // The mark's bytes at the start of a document read without the mark (a
    // first line of them, after blank lines that were dropped) would be taken
    // for the mark at the next reading.
    if (!document.utf8 && DocumentBeginsWithMark(text))
        text.insert(start, LineEnd);
    return text;
}

bool DocumentSelectGroup(SettingsDocument& document, const std::string& name)
{
    document.pendingGroup.clear();
    if (name.empty()) {
        document.currentGroup = NoLine;
        document.insertionPoint = NoLine;
        return true;
    }
    std::string stored = Stored(document, name);
    for (size_t line = 0; line < document.lines.size(); ++line) {
        const SettingsLine& header = document.lines[line];
        if (header.kind == SettingsLineKind::Group && EqualsIgnoringAsciiCase(header.text, stored)) {
            document.currentGroup = static_cast<int>(line);
            document.insertionPoint = document.currentGroup;
            return true;
        }
    }
    document.pendingGroup = stored;
    return false;
}

void DocumentAddComment(SettingsDocument& document, const std::string& text)
{
    PlacePendingGroup(document);
    int position = document.insertionPoint + 1;  // NoLine + 1 is the top of the file
    InsertLine(document, position, {SettingsLineKind::Comment, Stored(document, text), std::string()});
    document.insertionPoint = position;
    document.changed = true;
}

void DocumentWriteKey(SettingsDocument& document, const std::string& key, const std::string& value)
{
    PlacePendingGroup(document);
    std::string storedKey = Stored(document, key);
    std::string storedValue = Stored(document, value);
    int line = FindKey(document, storedKey);
    if (line != NoLine && ReadValue(document, document.lines[line]) == value)
        storedValue = TrimBlanks(document.lines[line].value);
    if (line == NoLine) {
        // After the group's last line, so comments that close the group stay above.
        line = GroupBodyEnd(document);
        InsertLine(document, line, {SettingsLineKind::Key, storedKey, storedValue});
    } else {
        // The key takes the caller's letters; the line keeps its place.
        document.lines[line].text = storedKey;
        document.lines[line].value = storedValue;
    }
    document.insertionPoint = line;
    document.changed = true;
}

std::string DocumentReadKey(const SettingsDocument& document, const std::string& key, const std::string& fallback)
{
    if (!document.pendingGroup.empty())
        return fallback;
    int line = FindKey(document, Stored(document, key));
    return line == NoLine ? fallback : ReadValue(document, document.lines[line]);
}

std::string Latin1ToUtf8(const std::string& text)
{
    std::string utf8;
    utf8.reserve(text.size());
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

std::string Utf8ToLatin1(const std::string& text)
{
    std::string latin1;
    latin1.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            latin1 += static_cast<char>(lead);
            ++at;
            continue;
        }
        size_t wanted = ContinuationBytesWanted(lead);
        size_t got = 0;
        while (got < wanted && at + 1 + got < text.size()
               && (static_cast<unsigned char>(text[at + 1 + got]) & 0xC0) == 0x80)
            ++got;
        // Only a whole two-byte sequence can name a character up to U+00FF;
        // everything else is a character beyond it or malformed.
        if (wanted == 1 && got == 1) {
            unsigned code = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(text[at + 1]) & 0x3Fu);
            latin1 += code <= 0xFF ? static_cast<char>(code) : '?';
        } else {
            latin1 += '?';
        }
        at += 1 + got;
    }
    return latin1;
}
