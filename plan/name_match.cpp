#include "plan/name_match.h"

#include <cstdint>

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

namespace {

// The pairs of bytes side by side in a text, as bits of a small table: a
// fragment whose first two bytes are no such pair cannot occur in it, which
// spares most of a catalogue's searches through a file name.
struct BytePairs {
    uint32_t bits[256] = {};
    static unsigned Slot(unsigned char a, unsigned char b) { return (a * 31u + b) & 8191u; }
    explicit BytePairs(const std::string& text)
    {
        for (size_t at = 0; at + 1 < text.size(); ++at) {
            unsigned slot = Slot(static_cast<unsigned char>(text[at]), static_cast<unsigned char>(text[at + 1]));
            bits[slot >> 5] |= 1u << (slot & 31);
        }
    }
    bool MayHold(const std::string& key) const
    {
        if (key.size() < 2)
            return true;
        unsigned slot = Slot(static_cast<unsigned char>(key[0]), static_cast<unsigned char>(key[1]));
        return (bits[slot >> 5] >> (slot & 31)) & 1u;
    }
};

}  // namespace

std::vector<size_t> MatchingEntries(const std::vector<NameKey>& nameKeys, const std::string& fileName)
{
    std::string fileKey = MatchKey(fileName);
    BytePairs pairs(fileKey);
    std::vector<size_t> matches;
    for (size_t entry = 0; entry < nameKeys.size(); ++entry) {
        const NameKey& key = nameKeys[entry];
        bool found = key.atStart ? !key.text.empty() && fileKey.compare(0, key.text.size(), key.text) == 0
                                 : pairs.MayHold(key.text) && KeyMatches(fileKey, key.text);
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
