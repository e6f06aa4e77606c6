// The six "..." buttons: each asks for a folder and stores it in its setting
// and its path field.
#pragma once

struct AppState;

void PickLiberkeySource(AppState& app);
void PickLiberkeyTarget(AppState& app);
void PickPortableAppsSource(AppState& app);
void PickPortableAppsTarget(AppState& app);
void PickAndroidSource(AppState& app);
void PickAndroidTarget(AppState& app);
