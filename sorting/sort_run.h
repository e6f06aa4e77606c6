// The sort run: placing every listed package into the category folders of the
// selected index's entries that match its file name.
#pragma once

#include <string>

struct AppState;

// Places the packages of the file list, bottom row first, by copying or moving
// them as the copy mode says, and reports every step in the status list. The
// packages still listed afterwards are the orphan files; their listing is
// written when leftovers are to be reported.
void RunSort(AppState& app);

// The window title after a placement: the banner, the count of packages placed
// in this run, one blank and the package's file name.
std::string PlacementTitle(const std::string& banner, int placed, const std::string& fileName);
