// The sort run: placing every listed package into the category folders of the
// selected index's entries that match its file name.
#pragma once

struct AppState;

// Places the packages of the file list, bottom row first, by copying or moving
// them as the copy mode says, and reports every step in the status list. The
// packages still listed afterwards are the orphan files; their listing is
// written when leftovers are to be reported.
// After a preview, the sorted list is emptied first (see PreviewClear).
void RunSort(AppState& app);

