// The program's numbered images: three tab icons, three 32x32 button icons and
// three 16x16 package icons, loaded once from the program's own resources.
#pragma once

#include <windows.h>

constexpr int ImageTabWork = 1;
constexpr int ImageTabPaths = 2;
constexpr int ImageTabStatus = 3;
constexpr int ImageLoadIndex = 4;
constexpr int ImageSort = 5;
constexpr int ImageQuit = 6;
constexpr int ImageLiberkeyPackage = 8;
constexpr int ImagePortableAppsPackage = 9;
constexpr int ImageAndroidPackage = 10;

constexpr int ImageSlotCount = 11;  // slots 1..10; 0 and 7 stay empty

// Resource numbers: the application icon is 1, slot n is stored as 100 + n.
constexpr int AppIconResource = 1;
constexpr int IconResourceBase = 100;

// Loads slots 1..6, then 8..10. A slot whose icon is missing stays empty.
void IconSlotsLoad(HINSTANCE instance);
void IconSlotsRelease();
HICON IconSlot(int slot);
int IconSlotSize(int slot);
