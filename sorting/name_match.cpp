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

std::vector<NameKey> EntryNameKeys(const IndexList& entries)
{
    std::vector<NameKey> keys;
    keys.reserve(entries.size());
    for (const IndexEntry& entry : entries)
        keys.push_back({MatchKey(entry.atStart ? entry.name.substr(1) : entry.name), entry.atStart});
    return keys;
}

std::vector<size_t> MatchingEntries(const std::vector<NameKey>& nameKeys, const std::string& fileName)
{
    std::string fileKey = MatchKey(fileName);
    std::vector<size_t> matches;
    for (size_t entry = 0; entry < nameKeys.size(); ++entry) {
        const NameKey& key = nameKeys[entry];
        bool found = key.atStart ? !key.text.empty() && fileKey.compare(0, key.text.size(), key.text) == 0
                                 : KeyMatches(fileKey, key.text);
        if (found)
            matches.push_back(entry);
    }
    return matches;
}

std::vector<size_t> MatchingEntriesOfNames(const std::vector<NameKey>& nameKeys, const std::vector<std::string>& names,
                                           std::string* matched)
{
    for (const std::string& name : names) {
        std::vector<size_t> matches = MatchingEntries(nameKeys, name);
        if (!matches.empty()) {
            *matched = name;
            return matches;
        }
    }
    matched->clear();
    return {};
}
