// What the sort, its preview and its undo share: the checks a sort and a
// preview start with, the sorted list leaving a preview, and the window title
// after each placement. Kept apart so that none of the three includes another.
#pragma once

#include <cstdint>
#include <string>

struct AppState;
struct PacedScreen;

// The checks a sort starts with: false, with its status line, when the source
// or the target folder is empty or the two are the same text.
bool SortFoldersUsable(AppState& app);

// Empties the sorted list when it shows a preview: a sort after a preview
// starts from an empty sorted list, while a sort after a sort adds its rows
// below the earlier ones.
void PreviewClear(AppState& app);

// The window title after a placement: the banner, the count of packages placed
// in this run, one blank and the package's file name.
std::string PlacementTitle(const std::string& banner, int placed, const std::string& fileName);

// Before the file work of a package of that size (a copy, a move, a
// comparison): when it goes to a worker thread, the title its wait shows with
// the percent is the title the package will have once placed, the count so
// far plus one and its name.
void PlacementInHand(PacedScreen& screen, const std::string& banner, int placedBefore, const std::string& fileName,
                     uint64_t size);
