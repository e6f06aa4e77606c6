// The selected index's catalogue rows in memory.
#pragma once

#include <string>
#include <vector>

struct IndexEntry {
    std::string category;  // folder path below the target, "\" between segments
    std::string name;      // fragment looked for in package file names, as its row gives it
    // Only a user's own row can set this: its name begins with "^", which is
    // no part of the fragment, and the fragment must start the file name.
    bool atStart = false;
};

using IndexList = std::vector<IndexEntry>;
