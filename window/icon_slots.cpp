#include "window/icon_slots.h"

namespace {

HICON g_slots[ImageSlotCount];

}  // namespace

int IconSlotSize(int slot)
{
    return (slot >= ImageLoadIndex && slot <= ImageQuit) ? 32 : 16;
}

void IconSlotsLoad(HINSTANCE instance)
{
    static const int order[] = {1, 2, 3, 4, 5, 6, 8, 9, 10};
    for (int slot : order) {
        if (g_slots[slot])
            continue;
        int size = IconSlotSize(slot);
        g_slots[slot] = static_cast<HICON>(
            LoadImageA(instance, MAKEINTRESOURCEA(IconResourceBase + slot), IMAGE_ICON, size, size, 0));
    }
}

void IconSlotsRelease()
{
    for (HICON& icon : g_slots) {
        if (icon)
            DestroyIcon(icon);
        icon = nullptr;
    }
}

HICON IconSlot(int slot)
{
    if (slot <= 0 || slot >= ImageSlotCount)
        return nullptr;
    return g_slots[slot];
}
