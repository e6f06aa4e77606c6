#include "catalogue/user_rows.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "util/ansi_text.h"
#include "util/device_names.h"
#include "file_acts/folder_tree.h"
#include "util/count_text.h"

const char SwitchOffCategory[] = "-";

namespace {

const char LeavesTarget[] = "category leaves the target folder";

std::string WithoutTrailingBlanks(std::string text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    return text;
}

// The folder names between the "\" of a category. In a double-byte code page
// the second byte of a character may be that of "\": the text is stepped
// through by character.
std::vector<std::string> Segments(const std::string& category)
{
    std::vector<std::string> segments;
    size_t begin = 0;
    for (size_t bar = AnsiFindBackslash(category); bar != std::string::npos;
         bar = AnsiFindBackslash(category, begin)) {
        segments.push_back(category.substr(begin, bar - begin));
        begin = bar + 1;
    }
    segments.push_back(category.substr(begin));
    return segments;
}

// Looks at the first byte of each character only: no second byte of a
// double-byte character is a control character, and none is taken for one
// of these.
bool HoldsCharacterNoFileNameHolds(const std::string& category)
{
    for (size_t at = 0; at < category.size(); at = AnsiNextCharacter(category, at)) {
        char c = category[at];
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>\"/|?*", c) != nullptr)
            return true;
    }
    return false;
}

// The category without its trailing "\" characters, in one pass.
void TrimTrailingBackslashes(std::string* category)
{
    size_t end = 0;
    for (size_t at = 0; at < category->size(); at = AnsiNextCharacter(*category, at)) {
        if ((*category)[at] != '\\')
            end = AnsiNextCharacter(*category, at);
    }
    category->resize(end);
}

// The sort puts the category after the target folder and "\": a drive, a
// network path or a "." or ".." folder would reach somewhere else.
bool LeavesTheTarget(const std::string& category, const std::vector<std::string>& segments)
{
    if (category.find(':') != std::string::npos)
        return true;
    for (const std::string& segment : segments) {
        if (segment == "." || segment == "..")
            return true;
    }
    return false;
}

const char* SegmentFault(const std::vector<std::string>& segments)
{
    for (const std::string& segment : segments) {
        if (segment.empty())
            return "category has an empty folder name";
        if (segment.back() == ' ' || segment.back() == '.')
            return "folder name ends with a blank or a dot";
        // Windows would take the folder for the device: the sort would
        // "copy" into it and keep nothing.
        if (IsDeviceName(segment))
            return "category names a device";
    }
    return nullptr;
}

// What keeps the category from being a folder path below the target, or
// null; the category is first trimmed as a row keeps it. The sort makes the
// folder target + category, which Windows takes only below 248 characters.
const char* CategoryFault(std::string* category, const std::string& target)
{
    if (category->compare(0, 2, "\\\\") == 0)
        return LeavesTarget;
    if (!category->empty() && category->front() == '\\')
        category->erase(0, 1);
    TrimTrailingBackslashes(category);
    if (category->empty())
        return "empty category";
    std::vector<std::string> segments = Segments(*category);
    if (LeavesTheTarget(*category, segments))
        return LeavesTarget;
    if (HoldsCharacterNoFileNameHolds(*category))
        return "category holds a character file names cannot hold";
    if (const char* fault = SegmentFault(segments))
        return fault;
    if (AnsiWideLength(target + *category) >= FolderPathLimit)
        return "category too long for the target folder";
    return nullptr;
}

// UTF-8 text in the ANSI code page; false when a character has no place there.
bool Narrowed(const std::string& text, bool utf8, std::string* ansi)
{
    bool exact = true;
    *ansi = utf8 ? AnsiTextFromUtf8(text, &exact) : text;
    return exact;
}

std::string LoadedText(size_t rows, const std::string& indexName, const std::string& path, size_t switchedOff)
{
    std::string text = CountText(rows, "row", "rows") + " for " + indexName + " from " + path;
    if (switchedOff != 0)
        text += ", " + CountText(switchedOff, "compiled-in row", "compiled-in rows") + " switched off";
    return text;
}

// A "-" row: its fragment, and how many own rows stood before it.
struct SwitchOff {
    size_t ownRowsBefore;
    std::string fragment;
};

// Drops each own row that a later "-" row of exactly its fragment switches
// off. Walking from the last row back, the set holds the fragments of the
// "-" rows below the row.
void DropSwitchedOffOwnRows(IndexList* rows, const std::vector<SwitchOff>& offs)
{
    if (offs.empty())
        return;
    std::set<std::string> below;
    size_t off = offs.size();
    IndexList kept;
    for (size_t row = rows->size(); row-- > 0;) {
        while (off > 0 && offs[off - 1].ownRowsBefore > row)
            below.insert(offs[--off].fragment);
        if (below.count((*rows)[row].name) == 0)
            kept.push_back(std::move((*rows)[row]));
    }
    std::reverse(kept.begin(), kept.end());
    rows->swap(kept);
}

// Drops the compiled-in rows whose fragment a "-" row names, letter case
// aside; returns how many went. An anchored fragment keeps its "^", which no
// compiled-in fragment has: "^Dia_" switches off nothing there.
size_t SwitchOffCompiledRows(IndexList* compiled, const std::vector<SwitchOff>& offs)
{
    std::set<std::string> keys;
    for (const SwitchOff& off : offs)
        keys.insert(LowerAnsiText(off.fragment));
    if (keys.empty())
        return 0;
    size_t before = compiled->size();
    compiled->erase(std::remove_if(compiled->begin(), compiled->end(),
                                   [&](const IndexEntry& entry) { return keys.count(LowerAnsiText(entry.name)) != 0; }),
                    compiled->end());
    return before - compiled->size();
}

// What is wrong with the key line, or null; see UserRowFault.
const char* RowFault(const SettingsLine& line, bool utf8, const std::string& target, IndexEntry* entry)
{
    if (!line.hasEquals)
        return "no \"=\" in the line";
    bool nameFits = Narrowed(line.text, utf8, &entry->name);
    bool categoryFits = Narrowed(WithoutTrailingBlanks(line.value), utf8, &entry->category);
    if (entry->name.empty() || entry->name == "^")
        return "empty name fragment";
    entry->atStart = entry->name.front() == '^';
    if (!nameFits)
        return "name fragment holds characters outside the code page";
    if (!categoryFits)
        return "category holds characters outside the code page";
    return CategoryFault(&entry->category, target);
}

// One reading of the file, line by line.
struct UserRowsScan {
    const std::string& indexName;
    const std::string& target;
    bool utf8;
    UserRows taken = {};
    std::vector<UserRowsLine> refused = {};  // the refused lines named one by one
    size_t moreRefused = 0;                  // and those only counted
    std::vector<SwitchOff> offs = {};          // the "-" rows, in file order
    bool inIndexGroup = false;
    bool cutShort = false;
};

void ScanLine(UserRowsScan& scan, const SettingsLine& line)
{
    if (line.kind == SettingsLineKind::Group)
        scan.inIndexGroup = EqualsIgnoringAsciiCase(line.text, scan.indexName);
    if (!scan.inIndexGroup || line.kind != SettingsLineKind::Key)
        return;
    IndexEntry entry;
    // A text built only for the refusals that are named: a file may hold
    // millions of the others.
    if (const char* fault = RowFault(line, scan.utf8, scan.target, &entry)) {
        // Past the limit the lines are still looked at, so that every refused
        // line is told of.
        if (scan.refused.size() < UserRowsRefusalsNamed)
            scan.refused.push_back({Activity::UserRowRefused, std::to_string(line.lineNumber) + ": " + fault});
        else
            ++scan.moreRefused;
    } else if (entry.category == SwitchOffCategory) {
        scan.offs.push_back({scan.taken.rows.size(), std::move(entry.name)});
    } else if (scan.taken.rows.size() == UserRowsLimit) {
        scan.cutShort = true;
    } else {
        scan.taken.rows.push_back(std::move(entry));
    }
}

}  // namespace

std::string UserRowFault(const SettingsLine& line, bool utf8, const std::string& target, IndexEntry* entry)
{
    const char* fault = RowFault(line, utf8, target, entry);
    return fault ? fault : std::string();
}

UserRows UserRowsFromText(const std::string& bytes, const std::string& indexName, const std::string& path,
                          const std::string& target, IndexList* compiled)
{
    UserRowsScan scan{indexName, target, DocumentBeginsWithMark(bytes) || IsUtf8BeyondAscii(bytes)};
    DocumentReadLines(bytes, [&scan](SettingsLine& line) { ScanLine(scan, line); });
    UserRows taken = std::move(scan.taken);
    DropSwitchedOffOwnRows(&taken.rows, scan.offs);
    size_t switchedOff = compiled ? SwitchOffCompiledRows(compiled, scan.offs) : 0;
    taken.lines.push_back({Activity::UserRowsLoaded, LoadedText(taken.rows.size(), indexName, path, switchedOff)});
    taken.lines.insert(taken.lines.end(), scan.refused.begin(), scan.refused.end());
    if (scan.moreRefused > 0)
        taken.lines.push_back({Activity::UserRowsRefused,
                               CountText(scan.moreRefused, "more line", "more lines") + " refused in " + path});
    if (scan.cutShort)
        taken.lines.push_back({Activity::UserRowsCutShort, path});
    return taken;
}
