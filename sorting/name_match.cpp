#include "sorting/name_match.h"

#include "util/ansi_text.h"

std::string MatchKey(const std::string& text)
{
    return LowerAnsiText(text);
}

bool KeyMatches(const std::string& fileKey, const std::string& nameKey)
{
    return !nameKey.empty() && fileKey.find(nameKey) != std::string::npos;
}

bool NameMatches(const std::string& fileName, const std::string& name)
{
    return KeyMatches(MatchKey(fileName), MatchKey(name));
}

std::vector<std::string> EntryNameKeys(const IndexList& entries)
{
    std::vector<std::string> keys;
    keys.reserve(entries.size());
    for (const IndexEntry& entry : entries)
        keys.push_back(MatchKey(entry.name));
    return keys;
}

std::vector<size_t> MatchingEntries(const std::vector<std::string>& nameKeys, const std::string& fileName)
{
    std::string fileKey = MatchKey(fileName);
    std::vector<size_t> matches;
    for (size_t entry = 0; entry < nameKeys.size(); ++entry) {
        if (KeyMatches(fileKey, nameKeys[entry]))
            matches.push_back(entry);
    }
    return matches;
}
