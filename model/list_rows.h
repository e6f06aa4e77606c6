// The rows of the sorted list and of the status list, as the program holds
// them; the lists on screen show these.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One row of the sorted list.
struct SortedRow {
    std::string category;
    std::string name;      // the catalogue fragment that placed the package
    std::string status;
    uint32_t colour = 0;   // background with PackageColourSet, or 0 for the list's own
};

// One line of the status list.
struct StatusRow {
    std::string title;
    std::string explanation;
};

using SortedRows = std::vector<SortedRow>;
using StatusRows = std::vector<StatusRow>;
