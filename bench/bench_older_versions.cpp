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
#include "sorting/older_versions.h"
#include "sorting/older_versions_plan.h"
#include "support/temp_folder.h"
#include "window/list_views.h"

#include "bench_window.h"

namespace {

void WriteEmptyFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

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
        WriteEmptyFile(leaf + "\\readme.txt");
        WriteEmptyFile(leaf + "\\NoVersionPortable.paf.exe");
    }
    for (int i = 0; i < packages; ++i) {
        int folder = i % 300, app = i / 300 / 3, version = i / 300 % 3;
        std::string leaf = root + "_Category" + std::to_string(folder / 20) + "\\_Kind" + std::to_string(folder % 20);
        WriteEmptyFile(leaf + "\\App" + std::to_string(app) + "Portable_" + std::to_string(version + 1) + "."
                       + std::to_string(app % 7) + kinds[app % 3]);
    }
}

int BareWalk(const std::string& root)
{
    std::vector<std::string> pending = {root};
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

template <typename Work>
double Time(Work work)
{
    double start = BenchNow();
    work();
    return BenchNow() - start;
}

const int Rounds = 5;

void Measure(AppState& app, const char* where, const std::string& root)
{
    MakeTarget(root, 100000);
    int files = BareWalk(root);  // warms the file system's caches for all three
    double walk = 1e30, plan = 1e30, preview = 1e30;
    size_t planned = 0;
    app.ActiveSource = "Z:\\nowhere\\";
    app.ActiveTarget = root;
    // The three take turns, so that all meet the same load.
    for (int round = 0; round < Rounds; ++round) {
        walk = std::min(walk, Time([&] { BareWalk(root); }));
        plan = std::min(plan, Time([&] { planned = PlanOlderVersions(root).plan.placements.size(); }));
        preview = std::min(preview, Time([&] { PreviewOlderVersions(app); }));
    }
    std::printf("%s: %d files, %zu to put aside; bare walk %.3f s, planning %.3f s (%.2fx the walk), "
                "preview in the window %.3f s (%.2fx)\n",
                where, files, planned, walk, plan, plan / walk, preview, preview / walk);
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
    std::string ram = "Z:\\dev\\shm\\quillet-bench-older-" + std::to_string(GetCurrentProcessId()) + "\\";
    if (CreateDirectoryA(ram.c_str(), nullptr)) {
        Measure(app, "RAM disk", ram + "Target\\");
        RemoveTree(ram);
    }
    ListViewsBind(nullptr);
    BenchWindowClose();
    return 0;
}
