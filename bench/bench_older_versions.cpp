// Putting older versions aside over a target of 100,000 packages in 300
// folders: the planning (everything but the moves) and the whole preview in
// the real window, against a bare FindFirstFileA walk of the same target, on
// the disk and on a RAM disk (/dev/shm).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "model/app_state.h"
#include "older/older_versions.h"
#include "plan/older_versions_plan.h"
#include "support/temp_folder.h"
#include "window/list_views.h"

#include "bench_window.h"

namespace {

// 15 category folders of 20 folders each; in every one of these 300 about
// 111 apps of the three kinds in three versions, and two other files.
void MakeTarget(const std::string& root, int packages)
{
    static const char* const kinds[] = {".lks", ".paf.exe", ".apk"};
    CreateDirectoryA(root.c_str(), nullptr);
    for (int folder = 0; folder < 300; ++folder) {
        std::string category = root + "_Category" + std::to_string(folder / 20);
        CreateDirectoryA(category.c_str(), nullptr);
        std::string leaf = category + "\\_Kind" + std::to_string(folder % 20);
        CreateDirectoryA(leaf.c_str(), nullptr);
        BenchWriteEmptyFile(leaf + "\\readme.txt");
        BenchWriteEmptyFile(leaf + "\\NoVersionPortable.paf.exe");
    }
    for (int i = 0; i < packages; ++i) {
        int folder = i % 300, app = i / 300 / 3, version = i / 300 % 3;
        std::string leaf = root + "_Category" + std::to_string(folder / 20) + "\\_Kind" + std::to_string(folder % 20);
        BenchWriteEmptyFile(leaf + "\\App" + std::to_string(app) + "Portable_" + std::to_string(version + 1) + "."
                       + std::to_string(app % 7) + kinds[app % 3]);
    }
}

// The thread's processor time, user and kernel, in seconds: steadier than
// the clock on a machine that others load.
double ThreadSeconds()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

struct Best {
    double clock = 1e30, processor = 1e30;
};

template <typename Work>
void Time(Best& best, Work work)
{
    double start = BenchNow(), startProcessor = ThreadSeconds();
    work();
    best.clock = std::min(best.clock, BenchNow() - start);
    best.processor = std::min(best.processor, ThreadSeconds() - startProcessor);
}

const int Rounds = 7;

void Measure(AppState& app, const char* where, const std::string& root)
{
    MakeTarget(root, 100000);
    int files = BenchBareWalk(root);  // warms the file system's caches for all three
    Best walk, plan, preview;
    size_t planned = 0;
    app.ActiveSource = "Z:\\nowhere\\";
    app.ActiveTarget = root;
    // The three take turns, so that all meet the same load.
    for (int round = 0; round < Rounds; ++round) {
        Time(walk, [&] { BenchBareWalk(root); });
        Time(plan, [&] { planned = PlanOlderVersions(root).plan.placements.size(); });
        Time(preview, [&] { PreviewOlderVersions(app); });
    }
    std::printf("%s: %d files, %zu to put aside, best of %d\n", where, files, planned, Rounds);
    std::printf("    clock:     bare walk %.3f s, planning %.3f s (%.2fx the walk), preview in the window %.3f s "
                "(%.2fx)\n",
                walk.clock, plan.clock, plan.clock / walk.clock, preview.clock, preview.clock / walk.clock);
    std::printf("    processor: bare walk %.3f s, planning %.3f s (%.2fx the walk), preview in the window %.3f s "
                "(%.2fx)\n",
                walk.processor, plan.processor, plan.processor / walk.processor, preview.processor,
                preview.processor / walk.processor);
    RemoveTree(root);
}

}  // namespace

int main()
{
    if (!BenchWindowOpen())
        return 1;
    AppState app;
    ListViewsBind(&app);
    app.TitleBanner = "Quillet - ";
    {
        TempFolder disk;
        Measure(app, "disk", disk / "Target\\");
    }
    std::string ram = BenchRamFolder("quillet-bench-older");
    if (!ram.empty()) {
        Measure(app, "RAM disk", ram + "Target\\");
        RemoveTree(ram);
    }
    ListViewsBind(nullptr);
    BenchWindowClose();
    return 0;
}
