#include "plan/own_kind.h"

#include <string>

#include "model/app_state.h"
#include "window/icon_slots.h"

namespace {

// The fetch marks each package with the icon of its kind, found from the
// ending of its name; an index takes the kind of its own icon.
struct OwnKind {
    const char* index;
    int imageSlot;
};

const OwnKind OwnKinds[] = {
    {"LiberKey", ImageLiberkeyPackage},
    {"PortableApps", ImagePortableAppsPackage},
    {"Android", ImageAndroidPackage},
};

// The kind of the index of that exact name; 0 (no kind) for any other name.
int OwnKindSlot(const std::string& index)
{
    for (const OwnKind& kind : OwnKinds) {
        if (index == kind.index)
            return kind.imageSlot;
    }
    return 0;
}

}  // namespace

std::vector<int> OwnKindRows(const AppState& app, const std::vector<int>& rows)
{
    if (!app.Options[ProgramOption::OwnKindOnly].value)
        return rows;
    int slot = OwnKindSlot(app.Settings.LastIndex);
    std::vector<int> own;
    for (int row : rows) {
        if (slot != 0 && app.Packages.At(row).imageSlot == slot)
            own.push_back(row);
    }
    return own;
}
