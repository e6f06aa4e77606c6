// The sort's closing count ("Sort summary", the line after "Sort finished"):
// what its placements came to and how many of its packages no row placed.
#pragma once

#include <cstddef>
#include <string>

struct SortPlan;

struct SortSummary {
    int placed = 0;   // copied or moved into their folders
    int there = 0;    // their identical copies stood there already (Same, Twin)
    int older = 0;    // older versions put aside or left where they are
    int noRow = 0;    // packages of the run that no row names
    int failed = 0;   // as SortPlanFailures counts them (the exit code's count)
};

// The counts of a run's plan after the run; `packagesLooked` is how many
// packages the run planned from (its rows, kept to the collection's kind).
SortSummary SortSummaryOf(const SortPlan& plan, size_t packagesLooked);

// "3 placed, 1 already there, 0 older, 2 not placed (no row), 0 failed".
std::string SortSummaryText(const SortSummary& summary);
