// The fetch over large download trees, in the real window: time per listed
// file against a bare FindFirstFileA walk of the same tree, the growth from
// 20,000 to 40,000 and 100,000 packages, memory, and what keeping the window
// answering costs per file.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/event_loop.h"
#include "catalogue/source_scan.h"
#include "model/app_state.h"
#include "support/temp_folder.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/paced_screen.h"

#include "bench_window.h"

namespace {

// A download tree: 25 packages of the three kinds and 12 other files per
// folder, folders nested three deep below the root, some packages at the
// upper levels too.
void MakeTree(const std::string& root, int packages)
{
    static const char* const kinds[] = {".lks", ".paf.exe", ".apk"};
    static const char* const others[] = {"readme.txt", "setup.exe", "old.lks.bak", "notes", "icon.png", "x.paf"};
    CreateDirectoryA(root.c_str(), nullptr);
    std::string folder;
    for (int i = 0; i < packages; ++i) {
        int leaf = i / 25;
        if (i % 25 == 0) {
            std::string top = root + "\\Top" + std::to_string(leaf / 64);
            std::string middle = top + "\\Mid" + std::to_string(leaf / 8 % 8);
            folder = middle + "\\Leaf" + std::to_string(leaf % 8);
            CreateDirectoryA(top.c_str(), nullptr);
            CreateDirectoryA(middle.c_str(), nullptr);
            CreateDirectoryA(folder.c_str(), nullptr);
            for (int k = 0; k < 12; ++k)
                BenchWriteEmptyFile(folder + "\\" + std::to_string(k) + others[k % 6]);
        }
        // Every eighth package lies one level up, beside the leaf folders.
        std::string where = i % 8 == 0 ? folder.substr(0, folder.find_last_of('\\')) : folder;
        BenchWriteEmptyFile(where + "\\Package_" + std::to_string(i) + "_1.0" + kinds[i % 3]);
    }
}

double TimeBareWalk(const std::string& root)
{
    double start = BenchNow();
    BenchBareWalk(root);
    return BenchNow() - start;
}

double TimeFetch(AppState& app, const std::string& root)
{
    app.ActiveSource = root;
    EventQueueClear();
    double start = BenchNow();
    FetchFiles(app);
    return BenchNow() - start;
}

const double Megabyte = 1024.0 * 1024.0;

// Bytes in use in all heaps of the process: the list's rows and the scan's
// own data, whatever else the system keeps resident.
double HeapMegabytesInUse()
{
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    double bytes = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        HeapLock(heaps[i]);
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                bytes += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return bytes / Megabyte;
}

struct Result {
    int packages;
    int rows;
    double walk;
    double fetch;
    double heapFilled;   // heap in use with the list filled
    double heapEmptied;  // heap in use after the list is emptied
    double peakResident;
};

// Runs taken of each measurement; the best counts, since other work on the
// machine only ever adds time.
const int Runs = 4;

Result Measure(AppState& app, int packages)
{
    TempFolder temp;
    std::string root = temp / "Downloads";
    MakeTree(root, packages);
    BenchBareWalk(root);  // warms the file system's caches for both
    Result result = {packages, 0, 1e30, 1e30, 0, 0, 0};
    // Walk and fetch take turns, so that both meet the same load.
    for (int run = 0; run < Runs; ++run) {
        result.walk = std::min(result.walk, TimeBareWalk(root));
        result.fetch = std::min(result.fetch, TimeFetch(app, root));
    }
    result.rows = ListCountRows(ListFiles);
    result.heapFilled = HeapMegabytesInUse();
    result.peakResident = PeakResidentMegabytes();
    ListRemoveAllRows(ListFiles);
    result.heapEmptied = HeapMegabytesInUse();
    return result;
}

}  // namespace

// What taking pending input out costs per file: asking the system after
// every file, against asking only when a few milliseconds have passed.
void PrintDrainCost()
{
    const int files = 200000;
    double start = BenchNow();
    for (int i = 0; i < files; ++i)
        EventDrain();
    double everyFile = (BenchNow() - start) / files;
    PacedScreen screen;
    PacedScreenBegin(screen);
    start = BenchNow();
    for (int i = 0; i < files; ++i)
        PacedScreenDrain(screen);
    double paced = (BenchNow() - start) / files;
    PacedScreenEnd(screen);
    std::printf("drain per file: %.2f us asking after every file, %.3f us paced (%.1fx less)\n", everyFile * 1e6,
                paced * 1e6, everyFile / paced);
}

int main()
{
    if (!BenchWindowOpen())
        return 1;
    AppState app;
    ListViewsBind(&app);
    app.TitleBanner = "Quillet - ";
    app.Settings.LastIndex = "LiberKey";

    std::printf("before: peak resident %.1f MB, heap in use %.1f MB\n", PeakResidentMegabytes(), HeapMegabytesInUse());
    PrintDrainCost();
    Result small = Measure(app, 20000);
    Result large = Measure(app, 40000);
    Result huge = Measure(app, 100000);

    for (const Result& r : {small, large, huge}) {
        std::printf("%d packages: %d rows, fetch %.2f s (%.1f us per listed file), bare walk %.3f s, "
                    "fetch / bare walk %.2f\n",
                    r.packages, r.rows, r.fetch, r.fetch * 1e6 / r.rows, r.walk, r.fetch / r.walk);
        std::printf("    memory: peak resident %.1f MB, heap in use %.1f MB with the list filled, %.1f MB emptied "
                    "(%.0f bytes a row)\n",
                    r.peakResident, r.heapFilled, r.heapEmptied, (r.heapFilled - r.heapEmptied) * Megabyte / r.rows);
    }
    std::printf("fetch 40,000 / fetch 20,000: %.2f (2.00 is linear)\n", large.fetch / small.fetch);
    std::printf("fetch 100,000 / fetch 40,000: %.2f (2.50 is linear)\n", huge.fetch / large.fetch);
    ListViewsBind(nullptr);
    BenchWindowClose();
    return 0;
}
