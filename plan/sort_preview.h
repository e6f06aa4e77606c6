// Previewing a sort: what the sort would do with the listed packages, worked
// out without touching a file or a folder, and shown in the sorted list.
#pragma once

struct AppState;

// Checks the folders as a sort does (with the same status lines), plans the
// sort with the folders, copy mode and options in force and decides it as the
// sort decides it (sort_decisions.h), and shows in the emptied sorted list
// one row per placement: the category, the package's file name and what
// would become of it: "Copy", "Move", "Replace" (a copy onto another file of
// that name), "Same" (a copy onto its identical copy: nothing written),
// "Twin" (a move whose identical copy stands at the destination: the package
// would be removed from its folder), "Older" (an older version: a Move puts
// it aside, a Copy leaves it) or "Fail".
// With a copy mode that is neither "Copy" nor "Move" the sort places nothing
// and no row is shown. Ends with one "Sort preview" line counting the
// packages that would go and those that would stay. Changes no file, no
// folder, neither the packages list nor the window title. False when a sort
// could not place anything: its folders refused, or the copy mode neither.
bool PreviewSort(AppState& app);

