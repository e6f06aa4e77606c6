#include "sort/sort_summary.h"

#include "model/sort_plan.h"
#include "plan/sort_plan.h"

namespace {

// Which count a placement's act, as the run carried it out, adds to; failures
// are counted apart, by the rule of the exit code.
int* CountOf(SortSummary& summary, PlacementAct act)
{
    switch (act) {
    case PlacementAct::Copy:
    case PlacementAct::Replace:
    case PlacementAct::Move:
        return &summary.placed;
    case PlacementAct::Same:
    case PlacementAct::Twin:
        return &summary.there;
    case PlacementAct::OlderAside:
    case PlacementAct::OlderTwin:
    case PlacementAct::OlderKept:
        return &summary.older;
    default:
        return nullptr;
    }
}

}  // namespace

SortSummary SortSummaryOf(const SortPlan& plan, size_t packagesLooked)
{
    SortSummary summary;
    for (const Placement& placement : plan.placements) {
        if (int* count = CountOf(summary, placement.act))
            ++*count;
    }
    size_t named = plan.packages.size();
    summary.noRow = packagesLooked > named ? static_cast<int>(packagesLooked - named) : 0;
    summary.failed = SortPlanFailures(plan);
    return summary;
}

std::string SortSummaryText(const SortSummary& summary)
{
    return std::to_string(summary.placed) + " placed, " + std::to_string(summary.there) + " already there, "
           + std::to_string(summary.older) + " older, " + std::to_string(summary.noRow) + " not placed (no row), "
           + std::to_string(summary.failed) + " failed";
}
