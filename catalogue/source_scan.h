// The fetch: listing every package below the active source folder.
#pragma once

struct AppState;

// Fills the file list with every ".lks", ".paf.exe" and ".apk" file found in
// the source folder and all its sub-folders.
void FetchFiles(AppState& app);
