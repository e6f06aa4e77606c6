// Planning a sort: which catalogue rows place which packages where, worked
// out from the packages and the rows alone, before any file is touched.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/index_list.h"
#include "model/package_table.h"
#include "model/sort_plan.h"

// The plan of a sort: the packages visited from the bottom row up, and for
// each every entry whose name occurs in its file name (see name_match.h),
// in catalogue order, placing into target + category + "\". The target is
// taken as it is: it is expected to end with "\".
SortPlan PlanSort(const PackageTable& packages, const IndexList& entries, const std::string& target, CopyMode mode);

// The numbers of all the table's rows, in ascending order.
std::vector<int> EveryRow(const PackageTable& packages);

// The names a package's contents give, in the order they are tried, in the
// code page's text (plan/package_facts.h); asked only for a row whose
// file name no entry names.
using ContentNames = std::function<std::vector<std::string>(int row)>;

// The plan over some rows of the package table only, given in ascending
// order, made as PlanSort makes it over all of them. With contentNames, a
// package whose file name no entry names is matched again against the names
// its contents give (MatchingEntriesOfNames); the name that matched is kept
// as PlannedPackage::knownAs.
SortPlan PlanSortOfRows(const PackageTable& packages, const std::vector<int>& rows, const IndexList& entries,
                        const std::string& target, CopyMode mode, const ContentNames& contentNames = {});

// The placements of a run that failed, less those of a package an earlier
// placement of the same run had already moved away (a package that several
// rows match can be moved only once) and those of an older version left where
// it is.
int SortPlanFailures(const SortPlan& plan);

// The folders the plan placed a package into, each once, as its outcomes
// say after the run.
std::vector<std::string> SortPlanPlacedFolders(const SortPlan& plan);
