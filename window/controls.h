// Control numbers of the main window. Events are dispatched on them and every
// module addresses a control by its number, never by its handle.
#pragma once

// The window itself.
constexpr int MainWindow = 1;

// On the window, before the tab panel.
constexpr int FrameTabs = 1;
constexpr int PanelTabs = 2;

// Tab 0: packages.
constexpr int FrameFiles = 6;
constexpr int ListFiles = 7;
constexpr int FrameSorted = 8;
constexpr int ListSorted = 9;

// Tab 1: folder settings.
constexpr int FrameLiberkeyPaths = 10;
constexpr int LabelLiberkeyPaths = 11;
constexpr int LabelLiberkeySource = 12;
constexpr int FieldLiberkeySource = 13;
constexpr int ButtonLiberkeySource = 14;
constexpr int LabelLiberkeyTarget = 15;
constexpr int FieldLiberkeyTarget = 16;
constexpr int ButtonLiberkeyTarget = 17;
constexpr int FramePortableAppsPaths = 18;
constexpr int LabelPortableAppsPaths = 19;
constexpr int LabelPortableAppsSource = 20;
constexpr int FieldPortableAppsSource = 21;
constexpr int ButtonPortableAppsSource = 22;
constexpr int LabelPortableAppsTarget = 23;
constexpr int FieldPortableAppsTarget = 24;
constexpr int ButtonPortableAppsTarget = 25;
constexpr int FrameAndroidPaths = 26;
constexpr int LabelAndroidPaths = 27;
constexpr int LabelAndroidSource = 28;
constexpr int FieldAndroidSource = 29;
constexpr int ButtonAndroidSource = 30;
constexpr int LabelAndroidTarget = 31;
constexpr int FieldAndroidTarget = 34;
constexpr int ButtonAndroidTarget = 35;
constexpr int FrameCopyMove = 36;
constexpr int LabelCopyMove = 37;
constexpr int OptionMove = 38;
constexpr int OptionCopy = 39;
constexpr int CheckDumpLeftovers = 40;
constexpr int FrameSpare = 41;

// Tab 2: status.
constexpr int FrameStatus = 32;
constexpr int ListStatus = 33;

// The bottom bar, after the tab panel.
constexpr int FrameLoadIndex = 42;
constexpr int ButtonLoadIndex = 43;
constexpr int FrameSort = 44;
constexpr int ButtonSort = 45;
constexpr int FrameSelectIndex = 46;
constexpr int LabelSelectIndex = 47;
constexpr int ComboIndex = 48;
constexpr int FrameActivePaths = 49;
constexpr int LabelActiveSource = 50;
constexpr int FieldActiveSource = 51;
constexpr int LabelActiveTarget = 52;
constexpr int FieldActiveTarget = 53;
constexpr int FrameQuit = 54;
constexpr int ButtonQuit = 55;

// One past the highest control number.
constexpr int ControlCount = 56;

// Commands of the context menu of the packages list and the sorted list.
// They arrive as control events and are numbered above every control.
constexpr int CommandPreviewSort = 60;
constexpr int CommandUndoSort = 61;
constexpr int CommandOpenHistory = 62;
constexpr int CommandWatchArrivals = 63;
constexpr int CommandAddRow = 64;     // the event's code is the packages list row
constexpr int CommandOpenRows = 65;
constexpr int CommandOwnKindOnly = 66;
constexpr int CommandPreviewOlder = 67;
constexpr int CommandPutOlderAside = 68;
constexpr int CommandOlderAfterSort = 69;

// Controls of the dialog that adds a row of the user's own; OK and Cancel
// are the system's IDOK and IDCANCEL.
constexpr int DialogRowFragment = 71;
constexpr int DialogRowCategory = 72;
constexpr int DialogRowReason = 73;

// Colours shared by the window and its controls.
constexpr unsigned long WindowGrey = 0x00DBDBDB;  // RGB(219,219,219)
