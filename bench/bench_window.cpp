#include "bench_window.h"

#include <windows.h>

#include <cstdio>

#include "app/icon_slots.h"
#include "app/main_window.h"

double BenchNow()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool BenchWindowOpen()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    IconSlotsLoad(instance);
    if (MainWindowOpen(instance))
        return true;
    std::printf("no window\n");
    return false;
}

void BenchWindowClose()
{
    MainWindowClose();
    IconSlotsRelease();
}
