// Each collection keeping to its own kind: with the option "Own Kind Only"
// on, a sort, its preview and the watch's sorts plan only the packages of the
// selected index's kind (".lks" for LiberKey, ".paf.exe" for PortableApps,
// ".apk" for Android). The packages list still shows every package the fetch
// found; the others are simply not planned, so they stay where they are.
#pragma once

#include <vector>

struct AppState;

// The rows (ascending, as given) that a sort plans: all of them with the
// option off; with it on, those whose package is of the selected index's kind.
std::vector<int> OwnKindRows(const AppState& app, const std::vector<int>& rows);
