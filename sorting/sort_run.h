// The sort run: placing every listed package into its category folders.
#pragma once

struct AppState;

void RunSort(AppState& app);
