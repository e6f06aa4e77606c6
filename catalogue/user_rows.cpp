#include "catalogue/user_rows.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "util/ansi_text.h"

const char SwitchOffCategory[] = "-";

namespace {

const char LeavesTarget[] = "category leaves the target folder";

std::string WithoutTrailingBlanks(std::string text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    return text;
}

// The folder names between the "\" of a category.
std::vector<std::string> Segments(const std::string& category)
{
    std::vector<std::string> segments;
    size_t begin = 0;
    for (size_t bar = category.find('\\'); bar != std::string::npos; bar = category.find('\\', begin)) {
        segments.push_back(category.substr(begin, bar - begin));
        begin = bar + 1;
    }
    segments.push_back(category.substr(begin));
    return segments;
}

bool CannotStandInFileName(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || std::strchr("<>\"/|?*", c) != nullptr;
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

// What keeps the category from being a folder path below the target; the
// category is first trimmed as a row keeps it.
std::string CategoryFault(std::string* category)
{
    if (category->compare(0, 2, "\\\\") == 0)
        return LeavesTarget;
    if (!category->empty() && category->front() == '\\')
        category->erase(0, 1);
    while (!category->empty() && category->back() == '\\')
        category->pop_back();
    if (category->empty())
        return "empty category";
    std::vector<std::string> segments = Segments(*category);
    if (LeavesTheTarget(*category, segments))
        return LeavesTarget;
    for (char c : *category) {
        if (CannotStandInFileName(c))
            return "category holds a character file names cannot hold";
    }
    for (const std::string& segment : segments) {
        if (segment.empty())
            return "category has an empty folder name";
        if (segment.back() == ' ' || segment.back() == '.')
            return "folder name ends with a blank or a dot";
    }
    return std::string();
}

std::string LoadedText(size_t rows, const std::string& indexName, const std::string& path, size_t switchedOff)
{
    std::string text = std::to_string(rows) + " rows for " + indexName + " from " + path;
    if (switchedOff != 0)
        text += ", " + std::to_string(switchedOff) + " compiled-in rows switched off";
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

}  // namespace

std::string UserRowFault(const SettingsLine& line, bool utf8, IndexEntry* entry)
{
    if (!line.hasEquals)
        return "no \"=\" in the line";
    entry->name = utf8 ? Utf8ToLatin1(line.text) : line.text;
    std::string value = WithoutTrailingBlanks(line.value);
    entry->category = utf8 ? Utf8ToLatin1(value) : value;
    if (entry->name.empty() || entry->name == "^")
        return "empty name fragment";
    entry->atStart = entry->name.front() == '^';
    return CategoryFault(&entry->category);
}

UserRows UserRowsFromDocument(const SettingsDocument& document, const std::string& indexName,
                              const std::string& path, IndexList* compiled)
{
    UserRows taken;
    std::vector<UserRowsLine> refused;
    std::vector<SwitchOff> offs;
    bool inIndexGroup = false;
    bool cutShort = false;
    for (const SettingsLine& line : document.lines) {
        if (line.kind == SettingsLineKind::Group)
            inIndexGroup = EqualsIgnoringAsciiCase(line.text, indexName);
        if (!inIndexGroup || line.kind != SettingsLineKind::Key)
            continue;
        IndexEntry entry;
        std::string fault = UserRowFault(line, document.utf8, &entry);
        if (!fault.empty()) {
            refused.push_back({Activity::UserRowRefused, std::to_string(line.lineNumber) + ": " + fault});
        } else if (entry.category == SwitchOffCategory) {
            offs.push_back({taken.rows.size(), std::move(entry.name)});
        } else if (taken.rows.size() == UserRowsLimit) {
            cutShort = true;
            break;
        } else {
            taken.rows.push_back(std::move(entry));
        }
    }
    DropSwitchedOffOwnRows(&taken.rows, offs);
    size_t switchedOff = compiled ? SwitchOffCompiledRows(compiled, offs) : 0;
    taken.lines.push_back({Activity::UserRowsLoaded, LoadedText(taken.rows.size(), indexName, path, switchedOff)});
    taken.lines.insert(taken.lines.end(), refused.begin(), refused.end());
    if (cutShort)
        taken.lines.push_back({Activity::UserRowsCutShort, path});
    return taken;
}
