// Making the index picked in the selector the active one.
#pragma once

struct AppState;

// Loads the selected index's catalogue, then the user's own rows for it,
// shows its folders, creates its target folder and fetches its packages.
void LoadIndex(AppState& app);
