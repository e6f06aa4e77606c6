#include "window/window_layout.h"

#include "window/controls.h"
#include "window/icon_slots.h"

namespace {

using K = ControlKind;
constexpr TextAlign L = TextAlign::Left;
constexpr TextAlign C = TextAlign::Centre;

}  // namespace

const ControlLayout MainWindowControls[] = {
    // On the window, before the tab panel.
    {FrameTabs, K::GroupBox, OnWindow, 6, 0, 855, 575, "", L, 0, false},
    {PanelTabs, K::TabPanel, OnWindow, 15, 15, 835, 550, "", L, 0, false},

    // Tab 0: packages.
    {FrameFiles, K::GroupBox, 0, 5, 0, 255, 515, "", L, 0, false},
    {ListFiles, K::List, 0, 15, 15, 235, 490, "", L, 0, false},
    {FrameSorted, K::GroupBox, 0, 265, 0, 560, 515, "", L, 0, false},
    {ListSorted, K::List, 0, 275, 15, 540, 490, "", L, 0, false},

    // Tab 1: folder settings, one block per index, then the copy mode block.
    {FrameLiberkeyPaths, K::GroupBox, 1, 5, 0, 820, 100, "", L, 0, false},
    {LabelLiberkeyPaths, K::Label, 1, 20, 15, 790, 20, " LiberKey source and target paths", L, 0, false},
    {LabelLiberkeySource, K::Label, 1, 20, 45, 50, 20, "Source", C, 0, false},
    {FieldLiberkeySource, K::PathField, 1, 70, 45, 710, 20, "", C, 0, false},
    {ButtonLiberkeySource, K::Button, 1, 785, 45, 25, 20, "...", C, 0, false},
    {LabelLiberkeyTarget, K::Label, 1, 20, 70, 50, 20, "Target", C, 0, false},
    {FieldLiberkeyTarget, K::PathField, 1, 70, 70, 710, 20, "", C, 0, false},
    {ButtonLiberkeyTarget, K::Button, 1, 785, 70, 25, 20, "...", C, 0, false},
    {FramePortableAppsPaths, K::GroupBox, 1, 5, 100, 820, 100, "", L, 0, false},
    {LabelPortableAppsPaths, K::Label, 1, 20, 115, 790, 20, " PortableApps source and target paths", L, 0, false},
    {LabelPortableAppsSource, K::Label, 1, 20, 145, 50, 20, "Source", C, 0, false},
    {FieldPortableAppsSource, K::PathField, 1, 70, 145, 710, 20, "", C, 0, false},
    {ButtonPortableAppsSource, K::Button, 1, 785, 145, 25, 20, "...", C, 0, false},
    {LabelPortableAppsTarget, K::Label, 1, 20, 170, 50, 20, "Target", C, 0, false},
    {FieldPortableAppsTarget, K::PathField, 1, 70, 170, 710, 20, "", C, 0, false},
    {ButtonPortableAppsTarget, K::Button, 1, 785, 170, 25, 20, "...", C, 0, false},
    {FrameAndroidPaths, K::GroupBox, 1, 5, 200, 820, 100, "", L, 0, false},
    {LabelAndroidPaths, K::Label, 1, 20, 215, 790, 20, " Android source and target paths", L, 0, false},
    {LabelAndroidSource, K::Label, 1, 20, 245, 50, 20, "Source", C, 0, false},
    {FieldAndroidSource, K::PathField, 1, 70, 245, 710, 20, "", C, 0, false},
    {ButtonAndroidSource, K::Button, 1, 785, 245, 25, 20, "...", C, 0, false},
    {LabelAndroidTarget, K::Label, 1, 20, 270, 50, 20, "Target", C, 0, false},
    {FieldAndroidTarget, K::PathField, 1, 70, 270, 710, 20, "", C, 0, false},
    {ButtonAndroidTarget, K::Button, 1, 785, 270, 25, 20, "...", C, 0, false},
    {FrameCopyMove, K::GroupBox, 1, 5, 300, 820, 79, "", L, 0, false},
    {LabelCopyMove, K::Label, 1, 20, 320, 790, 20, " Copying or moving portable files around", L, 0, false},
    {OptionMove, K::OptionButton, 1, 20, 350, 205, 20, "Move files to target path", L, 0, true},
    {OptionCopy, K::OptionButton, 1, 230, 350, 205, 20, "Copy files to target path", L, 0, false},
    {CheckDumpLeftovers, K::CheckBox, 1, 440, 350, 370, 20,
     "Dump leftover files to a report log file in program dir", L, 0, true},
    {FrameSpare, K::GroupBox, 1, 5, 380, 820, 139, "", L, 0, false},

    // Tab 2: status.
    {FrameStatus, K::GroupBox, 2, 5, 0, 820, 515, "", L, 0, false},
    {ListStatus, K::List, 2, 15, 15, 800, 490, "", L, 0, false},

    // The bottom bar, after the tab panel.
    {FrameLoadIndex, K::GroupBox, OnWindow, 5, 580, 60, 70, "", L, 0, false},
    {ButtonLoadIndex, K::ImageButton, OnWindow, 15, 595, 40, 40, "", L, ImageLoadIndex, false},
    {FrameSort, K::GroupBox, OnWindow, 70, 580, 60, 70, "", L, 0, false},
    {ButtonSort, K::ImageButton, OnWindow, 80, 595, 40, 40, "", L, ImageSort, false},
    {FrameSelectIndex, K::GroupBox, OnWindow, 135, 580, 125, 70, "", L, 0, false},
    {LabelSelectIndex, K::Label, OnWindow, 145, 590, 105, 15, "Select index", L, 0, false},
    {ComboIndex, K::DropDown, OnWindow, 145, 610, 105, 25, "", L, 0, false},
    {FrameActivePaths, K::GroupBox, OnWindow, 265, 580, 530, 70, "", L, 0, false},
    {LabelActiveSource, K::Label, OnWindow, 275, 595, 50, 20, "Source", C, 0, false},
    {FieldActiveSource, K::PathField, OnWindow, 325, 595, 425, 20, "", L, 0, false},
    {LabelActiveTarget, K::Label, OnWindow, 275, 620, 50, 20, "Target", C, 0, false},
    {FieldActiveTarget, K::PathField, OnWindow, 325, 620, 425, 20, "", L, 0, false},
    {FrameQuit, K::GroupBox, OnWindow, 800, 580, 60, 70, "", L, 0, false},
    {ButtonQuit, K::ImageButton, OnWindow, 810, 595, 40, 40, "", L, ImageQuit, false},
};

const int MainWindowControlCount = sizeof(MainWindowControls) / sizeof(MainWindowControls[0]);

const ColumnLayout ListColumns[] = {
    {ListFiles, "Directory", 0},
    {ListFiles, "Source Files", 231},
    {ListSorted, "Category", 233},
    {ListSorted, "Filename", 233},
    {ListSorted, "Status", 70},
    {ListStatus, "Status message", 140},
    {ListStatus, "Explanation", 656},
};

const int ListColumnCount = sizeof(ListColumns) / sizeof(ListColumns[0]);

const TabLayout Tabs[TabCount] = {
    {"  Main work form", ImageTabWork},
    {" Source and target paths setup", ImageTabPaths},
    {" Errors of the idiot programmer", ImageTabStatus},
};

bool KindIsGrey(ControlKind kind)
{
    return kind == K::List || kind == K::Label || kind == K::PathField;
}

bool KindTakesFont(ControlKind kind)
{
    return kind != K::GroupBox && kind != K::TabPanel && kind != K::ImageButton;
}
