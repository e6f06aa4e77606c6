#include "sorting/sort_plan.h"

#include <vector>

#include "sorting/name_match.h"

SortPlan PlanSort(const PackageTable& packages, const IndexList& entries, const std::string& target, CopyMode mode)
{
    SortPlan plan;
    plan.mode = mode;
    std::vector<NameKey> nameKeys = EntryNameKeys(entries);
    // Bottom row first: removing a placed row never moves one still to be visited.
    for (int row = packages.Count() - 1; row >= 0; --row) {
        std::vector<size_t> matches = MatchingEntries(nameKeys, packages.At(row).name);
        if (matches.empty())
            continue;
        uint32_t package = static_cast<uint32_t>(plan.packages.size());
        plan.packages.push_back({row, packages.FolderOf(row), packages.At(row).name});
        for (size_t entry : matches)
            plan.placements.push_back({package, static_cast<uint32_t>(entry), target + entries[entry].category + "\\"});
    }
    return plan;
}
