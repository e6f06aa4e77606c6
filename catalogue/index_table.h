// The three indexes the program knows, with the settings and controls that
// belong to each.
#pragma once

#include <string>

#include "model/settings_values.h"
#include "window/status_list.h"

struct IndexInfo {
    const char* name;                  // selector item and "Last Index" value
    Activity loadedLine;               // the "Index load" line of this index
    std::string Settings::*source;     // its source folder setting
    std::string Settings::*target;     // its target folder setting
    int sourceField;                   // its own path fields in the settings tab
    int targetField;
};

constexpr int IndexCount = 3;
extern const IndexInfo Indexes[IndexCount];

// The index of that exact name (letter case counts), or nullptr.
const IndexInfo* FindIndex(const std::string& name);
