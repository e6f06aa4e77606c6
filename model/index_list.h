// The selected index's catalogue rows in memory.
#pragma once

#include <string>
#include <vector>

struct IndexEntry {
    std::string category;  // folder path below the target, "\" between segments
    std::string name;      // fragment looked for in package file names
};

using IndexList = std::vector<IndexEntry>;
