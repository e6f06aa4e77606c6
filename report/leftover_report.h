// The leftover report: the check box that asks for it, and the orphan listing
// of the packages a sort run left in the file list, written into the log file.
#pragma once

#include <string>
#include <vector>

struct AppState;

// Handler of the leftover check box: a cleared box sets DumpLeftOvers to "No",
// a ticked one to "Yes", each with its status line. Nothing is written here.
void OnDumpLeftoversChanged(AppState& app);

// Replaces the log file's content with the listing of every file-list row,
// top row first (with "own kind only" on, of the rows of the collection's
// kind only). Does nothing when no such row is left or the file cannot be
// made: the listing before stays. Writing reports nothing.
void WriteOrphanListing(AppState& app);

// The whole listing as it goes into the log file: the index named in its head
// and foot lines, one full path per line, every line ended by CR LF.
std::string OrphanListingText(const std::string& indexName, const std::vector<std::string>& paths);
