// A package known by what it carries. A package whose file name no row of
// the loaded catalogue names (base.apk, "app-release (1).apk") is matched
// again, by the rule of name_match.h (letter case aside, "^" rows at the
// start), against the names its contents give, and only against the rows of
// its own kind's collection, whatever "own kind only" says: an ".apk" while
// Android is loaded, a ".paf.exe" while PortableApps is. It is placed under
// its own file name, as any package is; one line "Known by its contents"
// names the name that matched, and so does the history.
//
// Contents are read only for packages no file name places, through the
// source's folders held while the plan is made, once per file while its size
// and time stay the same (plan/package_facts.h); the fetch reads none.
#pragma once

#include <string>
#include <vector>

#include "contents/package_wholeness.h"
#include "model/package_facts.h"
#include "model/sort_plan.h"

struct AppState;

// The names the facts give, in the order they are tried, each in the code
// page's text: for an ".apk" with a label "<label> <versionName>" and
// "<label>_<versionName>", then its package id; for a ".paf.exe" its
// original file name, then its product name. Empty names are left out.
std::vector<std::string> KnownNamesOf(const PackageFacts& facts, PackageFormat format);

// The kind whose contents are read for the file while that index is loaded:
// Apk for an ".apk" under "Android", PafExe for a ".paf.exe" under
// "PortableApps", else Other (nothing is read).
PackageFormat KnownFormatFor(const std::string& indexName, const std::string& fileName);

// The sort's plan over those rows of the file list (PlanSortOfRows against
// the loaded rows and the active target), a package no file name places
// matched against the names its contents give, read through the source's
// folders, held while the plan is made.
SortPlan PlanSortKnowing(AppState& app, const std::vector<int>& rows, CopyMode mode);

// At the first placement of each package of the plan that its contents
// placed: the line "Known by its contents", the file name, "  is " and the
// name that matched. Nothing at any other placement.
void KnownReportAt(const SortPlan& plan, size_t at);

// The label of the listed package as lines show it, when it is an ".apk"
// that no loaded row names by its file name (a leftover), read by its path
// only to look; empty otherwise.
std::string KnownLabelOfRow(AppState& app, int row);
