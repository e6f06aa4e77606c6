#include "plan/sort_plan.h"

#include <set>
#include <vector>

#include "plan/name_match.h"
#include "plan/package_facts.h"

SortPlan PlanSortOfRows(const PackageTable& packages, const std::vector<int>& rows, const IndexList& entries,
                        const std::string& target, CopyMode mode, const ContentNames& contentNames)
{
    SortPlan plan;
    plan.mode = mode;
    std::vector<NameKey> nameKeys = EntryNameKeys(entries);
    // Bottom row first: removing a placed row never moves one still to be visited.
    for (auto at = rows.rbegin(); at != rows.rend(); ++at) {
        int row = *at;
        std::vector<size_t> matches = MatchingEntries(nameKeys, packages.At(row).name);
        std::string knownAs;
        if (matches.empty() && contentNames)
            matches = MatchingEntriesOfNames(nameKeys, contentNames(row), &knownAs);
        if (matches.empty())
            continue;
        uint32_t package = static_cast<uint32_t>(plan.packages.size());
        const Package& listed = packages.At(row);
        plan.packages.push_back({row, packages.FolderOf(row), listed.name, listed.size, PackageFactsShown(knownAs)});
        for (size_t entry : matches)
            plan.placements.push_back({package, static_cast<uint32_t>(entry), target + entries[entry].category + "\\"});
    }
    return plan;
}

SortPlan PlanSort(const PackageTable& packages, const IndexList& entries, const std::string& target, CopyMode mode)
{
    return PlanSortOfRows(packages, EveryRow(packages), entries, target, mode);
}

std::vector<int> EveryRow(const PackageTable& packages)
{
    std::vector<int> rows(packages.Count());
    for (int row = 0; row < packages.Count(); ++row)
        rows[row] = row;
    return rows;
}

int SortPlanFailures(const SortPlan& plan)
{
    int failed = 0;
    bool gone = false;  // the current package has left its folder in this run
    for (size_t at = 0; at < plan.placements.size(); ++at) {
        const Placement& placement = plan.placements[at];
        if (at == 0 || placement.package != plan.placements[at - 1].package)
            gone = false;
        if (placement.outcome == PlacementOutcome::Failed && placement.act != PlacementAct::OlderKept && !gone)
            ++failed;
        bool left = placement.outcome == PlacementOutcome::Placed || placement.outcome == PlacementOutcome::SourceRemoved;
        if (plan.mode == CopyMode::Move && left)
            gone = true;
    }
    return failed;
}

std::vector<std::string> SortPlanPlacedFolders(const SortPlan& plan)
{
    std::vector<std::string> folders;
    std::set<std::string> seen;
    for (const Placement& placement : plan.placements) {
        bool there = placement.outcome == PlacementOutcome::Placed
                     || placement.outcome == PlacementOutcome::SourceRemoved;
        if (there && seen.insert(placement.folder).second)
            folders.push_back(placement.folder);
    }
    return folders;
}
