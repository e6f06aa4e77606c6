// The leftover report: the check box that asks for it and the orphan listing
// written into the log file.
#pragma once

struct AppState;

void OnDumpLeftoversChanged(AppState& app);
void WriteOrphanListing(AppState& app);
