#include "window/control_names.h"

#include <cstring>

#include "window/controls.h"

namespace {

struct ControlName {
    const char* name;
    int number;
};

// Each entry is made from the constant itself, so a name cannot drift from
// its number.
#define CONTROL(name) {#name, name}

const ControlName ControlNames[] = {
    CONTROL(FrameTabs),
    CONTROL(PanelTabs),
    CONTROL(FrameFiles),
    CONTROL(ListFiles),
    CONTROL(FrameSorted),
    CONTROL(ListSorted),
    CONTROL(FrameLiberkeyPaths),
    CONTROL(LabelLiberkeyPaths),
    CONTROL(LabelLiberkeySource),
    CONTROL(FieldLiberkeySource),
    CONTROL(ButtonLiberkeySource),
    CONTROL(LabelLiberkeyTarget),
    CONTROL(FieldLiberkeyTarget),
    CONTROL(ButtonLiberkeyTarget),
    CONTROL(FramePortableAppsPaths),
    CONTROL(LabelPortableAppsPaths),
    CONTROL(LabelPortableAppsSource),
    CONTROL(FieldPortableAppsSource),
    CONTROL(ButtonPortableAppsSource),
    CONTROL(LabelPortableAppsTarget),
    CONTROL(FieldPortableAppsTarget),
    CONTROL(ButtonPortableAppsTarget),
    CONTROL(FrameAndroidPaths),
    CONTROL(LabelAndroidPaths),
    CONTROL(LabelAndroidSource),
    CONTROL(FieldAndroidSource),
    CONTROL(ButtonAndroidSource),
    CONTROL(LabelAndroidTarget),
    CONTROL(FieldAndroidTarget),
    CONTROL(ButtonAndroidTarget),
    CONTROL(FrameCopyMove),
    CONTROL(LabelCopyMove),
    CONTROL(OptionMove),
    CONTROL(OptionCopy),
    CONTROL(CheckDumpLeftovers),
    CONTROL(FrameSpare),
    CONTROL(FrameStatus),
    CONTROL(ListStatus),
    CONTROL(FrameLoadIndex),
    CONTROL(ButtonLoadIndex),
    CONTROL(FrameSort),
    CONTROL(ButtonSort),
    CONTROL(FrameSelectIndex),
    CONTROL(LabelSelectIndex),
    CONTROL(ComboIndex),
    CONTROL(FrameActivePaths),
    CONTROL(LabelActiveSource),
    CONTROL(FieldActiveSource),
    CONTROL(LabelActiveTarget),
    CONTROL(FieldActiveTarget),
    CONTROL(FrameQuit),
    CONTROL(ButtonQuit),
    CONTROL(DialogRowFragment),
    CONTROL(DialogRowCategory),
    CONTROL(DialogRowReason),
};

#undef CONTROL

}  // namespace

int ControlNumberByName(const char* name)
{
    for (const ControlName& control : ControlNames) {
        if (std::strcmp(control.name, name) == 0)
            return control.number;
    }
    return -1;
}
