#include "bench_window.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <string>
#include <vector>

#include "app/sort_steps.h"
#include "history/history_log.h"
#include "model/app_state.h"
#include "util/ansi_text.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/icon_slots.h"
#include "window/main_window.h"

double BenchNow()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void BenchMark(const std::string& what)
{
    HANDLE mark = CreateEventA(nullptr, TRUE, FALSE, ("QuilletBench:" + what).c_str());
    if (mark)
        CloseHandle(mark);
    // A profiler's control FIFO (perf record --control fifo:PATH -D -1),
    // named in Windows form: it records the marked stretches alone.
    char fifo[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("QUILLET_BENCH_PERF", fifo, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    HANDLE control = CreateFileA(fifo, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
    if (control == INVALID_HANDLE_VALUE)
        return;
    const char* command = what == "end" ? "disable\n" : "enable\n";
    DWORD written = 0;
    WriteFile(control, command, static_cast<DWORD>(std::strlen(command)), &written, nullptr);
    CloseHandle(control);
}

double PeakResidentMegabytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
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

double BenchTimedSort(AppState& app)
{
    double start = BenchNow();
    HistoryRunBegins(app.History);
    RunSort(app);
    HistoryRunEnds(app.History);
    double seconds = BenchNow() - start;
    if (ListCountRows(ListFiles) != 0)
        std::printf("  (run left %d)\n", ListCountRows(ListFiles));
    return seconds;
}

void BenchWriteEmptyFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

std::string BenchRamFolder(const std::string& name)
{
    std::string folder = "Z:\\dev\\shm\\" + name + "-" + std::to_string(GetCurrentProcessId()) + "\\";
    return CreateDirectoryA(folder.c_str(), nullptr) ? folder : std::string();
}

int BenchBareWalk(const std::string& root)
{
    std::vector<std::string> pending = {WithTrailingBackslash(root)};
    int files = 0;
    while (!pending.empty()) {
        std::string folder = pending.back();
        pending.pop_back();
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ++files;
            else if (entry.cFileName[0] != '.')
                pending.push_back(folder + entry.cFileName + "\\");
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    return files;
}

double BenchMedian(std::vector<double> seconds)
{
    if (seconds.empty())
        return 0;
    std::sort(seconds.begin(), seconds.end());
    size_t middle = seconds.size() / 2;
    return seconds.size() % 2 ? seconds[middle] : (seconds[middle - 1] + seconds[middle]) / 2;
}

std::string BenchMedianText(std::vector<double> seconds)
{
    if (seconds.empty())
        return "-";
    std::sort(seconds.begin(), seconds.end());
    char text[96];
    std::snprintf(text, sizeof text, "%.3f s (%.3f to %.3f)", BenchMedian(seconds), seconds.front(), seconds.back());
    return text;
}
