// The rule that decides whether a catalogue entry places a package: the
// entry's name occurs somewhere in the package's file name, letter case
// ignored by the system's ANSI lower-casing. Every matching entry counts. A
// user's own row may ask for the fragment at the start of the name instead.
#pragma once

#include <string>
#include <vector>

#include "model/index_list.h"

// The form a text takes before it is compared: lower-cased by the system's
// ANSI rules.
std::string MatchKey(const std::string& text);

// The rule on texts already in key form. An empty name matches nothing.
bool KeyMatches(const std::string& fileKey, const std::string& nameKey);

// The rule on texts as they come: the name occurs in the file name.
bool NameMatches(const std::string& fileName, const std::string& name);

// An entry's fragment in key form, and whether it must start the file name.
struct NameKey {
    std::string text;
    bool atStart;
};

// The key of every entry's name (an anchored entry's without its "^"), in
// list order. A run makes them once, since the list cannot change while it
// runs.
std::vector<NameKey> EntryNameKeys(const IndexList& entries);

// The positions of the entries whose name occurs in the file name (at its
// start for an anchored entry), first to last.
std::vector<size_t> MatchingEntries(const std::vector<NameKey>& nameKeys, const std::string& fileName);

// The same rule over several names tried in turn (the names a package's
// contents give): the entries that match the first name any entry matches,
// and that name in `matched`; none when no entry matches any of them.
std::vector<size_t> MatchingEntriesOfNames(const std::vector<NameKey>& nameKeys, const std::vector<std::string>& names,
                                           std::string* matched);
