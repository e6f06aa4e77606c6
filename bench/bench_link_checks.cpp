// What keeping links from leading a run out of its folders costs: the sort of
// 10,000 small packages (Copy and Move, the history written) and the fetch of
// 100,000, each as it ships, against the work the checks add, measured in the
// same rounds on disk and on a RAM disk (/dev/shm):
// - the sort: holding the source, the target, the package folders and the
//   category folders, each resolved and checked, and making missing category
//   folders level by level below held parents, against the folder-tree calls
//   it replaced; and the run's own file operations into folders held open
//   against the same into folders not held (what the handles cost each file);
// - the fetch: resolving the root and asking of every folder whether it is
//   followed.
// Each pair runs in turn, the order alternating between rounds; the best of
// the rounds counts, since other work on the machine only ever adds time.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "app/sort_steps.h"
#include "catalogue/source_scan.h"
#include "file_acts/folder_tree.h"
#include "history/history_log.h"
#include "model/app_state.h"
#include "model/folder_queue.h"
#include "place/held_folders.h"
#include "place/package_file_ops.h"
#include "place/placement_checks.h"
#include "place/staging_folder.h"
#include "support/temp_folder.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/status_list.h"

#include "bench_window.h"
#include "fetch_tree.h"

namespace {

const int Categories = 112;
const int DownloadFolders = 20;

struct Package {
    std::string folder;  // below the source, ending with "\"
    std::string name;
    std::string category;
};

std::vector<Package> Packages(int count)
{
    std::vector<Package> packages;
    for (int i = 0; i < count; ++i) {
        int entry = i % Categories;
        packages.push_back({std::to_string(i % DownloadFolders) + "\\",
                            "Pkg" + std::to_string(entry) + "_" + std::to_string(i) + ".lks",
                            "_G" + std::to_string(entry % 12) + "\\_K" + std::to_string(entry)});
    }
    return packages;
}

void WriteTree(const std::string& root, const std::vector<Package>& packages)
{
    for (const Package& package : packages)
        WriteFileBytes(root + package.folder + package.name, std::string(4096, 'p'));
}

void UseHistory(AppState& app, const std::string& folder)
{
    app.History = HistoryLog();
    StatusListRecordInto(&app.History);
    HistoryLogSetUp(app.History, folder);
}

double SortRun(AppState& app, const char* mode, const std::string& source, const std::string& target,
               const std::vector<Package>& packages)
{
    ListRemoveAllRows(ListSorted);
    ListRemoveAllRows(ListStatus);
    app.Packages.Clear();
    for (const Package& package : packages)
        app.Packages.Insert(-1, source + package.folder, package.name, 0);
    ListViewRefresh(ListFiles, true);
    app.ActiveSource = source;
    app.ActiveTarget = target;
    app.Settings.CopyOrMove = mode;
    return BenchTimedSort(app);
}

// The run's folder work with the checks: every placement asks for its two
// folders, as the run does; the first ask holds, resolves and makes.
double HeldFolderWork(HeldFolders& held, const std::string& source, const std::string& target,
                      const std::vector<Package>& packages)
{
    double start = BenchNow();
    HeldFoldersBegin(held, source, target, true);
    std::vector<std::string> made;
    for (const Package& package : packages) {
        HeldFoldersSource(held, source + package.folder);
        HeldFoldersTarget(held, target + package.category + "\\", &made);
    }
    return BenchNow() - start;
}

// The folder work it replaced: each category folder made once by the
// folder-tree call, then looked for.
double PlainFolderWork(const std::string& target, const std::vector<Package>& packages)
{
    double start = BenchNow();
    std::set<std::string> folders;
    for (const Package& package : packages) {
        std::string folder = target + package.category + "\\";
        if (folders.insert(folder).second) {
            CreateFolderTree(folder);
            GetFileAttributesA(folder.c_str());
        }
    }
    return BenchNow() - start;
}

// The file operations of a run: through the room of file acts, each package
// opened by its name in its held folder and placed into its held category
// folder (with `held` as HeldFolderWork left it), or the bare system calls by
// path.
double OpsLoop(bool move, HeldFolders* held, const std::string& source, const std::string& target,
               const std::vector<Package>& packages)
{
    int failed = 0;
    StagingFolder staging;
    if (held)
        StagingFolderSetUp(staging, HeldFolderOf(*held, held->targetRoot), held->targetRoot, "bench");
    double start = BenchNow();
    for (const Package& package : packages) {
        std::string from = source + package.folder + package.name;
        std::string folder = target + package.category + "\\";
        if (!held) {
            std::string to = folder + package.name;
            failed += (move ? MoveFileA(from.c_str(), to.c_str()) : CopyFileA(from.c_str(), to.c_str(), TRUE)) ? 0 : 1;
            continue;
        }
        ActFile file;
        const ActFolder* in = HeldFolderOf(*held, source + package.folder);
        const ActFolder* into = HeldFolderOf(*held, folder);
        if (!in || !into || PackageOpen(file, *in, package.name, move)) {
            ++failed;
            continue;
        }
        failed += (move ? MovePackageFile(file, *into, staging) : CopyPackageFile(file, *into, staging, false)).done ? 0 : 1;
    }
    StagingFolderEnd(staging);
    if (failed)
        std::printf("  (ops loop: %d failures)\n", failed);
    return BenchNow() - start;
}

struct SortTimes {
    double runCopy = 1e30, runMove = 1e30, held = 1e30, plain = 1e30;
    double copyHeld = 1e30, copyPlain = 1e30, moveHeld = 1e30, movePlain = 1e30;
};

void Keep(double& best, double seconds)
{
    best = std::min(best, seconds);
}

void SortRound(AppState& app, const std::string& base, const std::vector<Package>& packages, bool heldFirst,
               SortTimes& best)
{
    std::string root = base + "round\\";
    for (const char* tree : {"A\\", "B\\", "C\\", "D\\"})
        WriteTree(root + tree, packages);
    UseHistory(app, root);
    Keep(best.runCopy, SortRun(app, "Copy", root + "A\\", root + "RunCopy\\", packages));
    Keep(best.runMove, SortRun(app, "Move", root + "B\\", root + "RunMove\\", packages));
    HeldFolders held;
    auto heldSide = [&] {
        Keep(best.held, HeldFolderWork(held, root + "A\\", root + "Held\\", packages));
        Keep(best.copyHeld, OpsLoop(false, &held, root + "A\\", root + "Held\\", packages));
        held.held.clear();
        HeldFolderWork(held, root + "C\\", root + "HeldMove\\", packages);
        Keep(best.moveHeld, OpsLoop(true, &held, root + "C\\", root + "HeldMove\\", packages));
    };
    auto plainSide = [&] {
        Keep(best.plain, PlainFolderWork(root + "Plain\\", packages));
        Keep(best.copyPlain, OpsLoop(false, nullptr, root + "A\\", root + "Plain\\", packages));
        PlainFolderWork(root + "PlainMove\\", packages);
        Keep(best.movePlain, OpsLoop(true, nullptr, root + "D\\", root + "PlainMove\\", packages));
    };
    if (heldFirst) {
        heldSide();
        plainSide();
    } else {
        plainSide();
        heldSide();
    }
    held.held.clear();
    app.History = HistoryLog();
    StatusListRecordInto(nullptr);
    RemoveTree(root);
}

// What the fetch adds per scan: the root resolved, and every folder asked
// whether it is followed.
double FetchChecks(const std::string& root)
{
    std::vector<QueuedFolder> folders;
    std::vector<std::string> pending = {root};
    while (!pending.empty()) {
        std::string folder = pending.back();
        pending.pop_back();
        folders.push_back({folder, folder != root, 0});
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do {
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != '.')
                pending.push_back(folder + "\\" + entry.cFileName);
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    FolderQueue queue;
    double start = BenchNow();
    FolderQueueStart(queue, root);
    int followed = 0;
    for (const QueuedFolder& folder : folders)
        followed += FolderQueueFollows(queue, folder) ? 1 : 0;
    double seconds = BenchNow() - start;
    if (followed != static_cast<int>(folders.size()))
        std::printf("  (followed %d of %u)\n", followed, static_cast<unsigned>(folders.size()));
    return seconds;
}

void MeasureMedium(AppState& app, const char* medium, const std::string& base, int rounds)
{
    std::vector<Package> packages = Packages(10000);
    SortTimes sort;
    for (int round = 0; round < rounds; ++round)
        SortRound(app, base, packages, round % 2 == 0, sort);
    double copyAdded = (sort.held - sort.plain) + (sort.copyHeld - sort.copyPlain);
    double moveAdded = (sort.held - sort.plain) + (sort.moveHeld - sort.movePlain);
    std::printf("%s, 10,000 packages: Copy run %.2f s, Move run %.2f s (history written)\n", medium, sort.runCopy,
                sort.runMove);
    std::printf("    folder work: held and checked %.1f ms, folder-tree calls %.1f ms\n", sort.held * 1e3,
                sort.plain * 1e3);
    std::printf("    operations through the room / bare calls: copy %.2f / %.2f s, move %.2f / %.2f s\n",
                sort.copyHeld, sort.copyPlain, sort.moveHeld, sort.movePlain);
    std::printf("    added to the Copy run: %+.2f%%, to the Move run: %+.2f%%\n", 100 * copyAdded / sort.runCopy,
                100 * moveAdded / sort.runMove);

    std::string root = base + "Fetch";
    BenchMakeFetchTree(root, 100000);
    double fetch = 1e30, checks = 1e30;
    for (int round = 0; round < rounds; ++round) {
        app.ActiveSource = root;
        double start = BenchNow();
        FetchFiles(app);
        Keep(fetch, BenchNow() - start);
        Keep(checks, FetchChecks(root));
    }
    std::printf("%s, 100,000 packages: fetch %.2f s, its link checks %.2f ms: %+.3f%%\n", medium, fetch,
                checks * 1e3, 100 * checks / fetch);
    ListRemoveAllRows(ListFiles);
    RemoveTree(root + "\\");
}

}  // namespace

int main(int argc, char** argv)
{
    if (!BenchWindowOpen())
        return 1;
    AppState app;
    ListViewsBind(&app);
    app.TitleBanner = "Quillet - ";
    app.Settings.DumpLeftOvers = "No";
    app.Settings.LastIndex = "LiberKey";
    for (int i = 0; i < Categories; ++i)
        app.IndexList.push_back({"_G" + std::to_string(i % 12) + "\\_K" + std::to_string(i), "Pkg" + std::to_string(i) + "_"});
    int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    {
        TempFolder disk;
        MeasureMedium(app, "disk", disk.path(), rounds);
    }
    std::string ram = BenchRamFolder("quillet-link-bench");
    if (!ram.empty()) {
        MeasureMedium(app, "RAM disk", ram, rounds);
        RemoveTree(ram);
    }
    ListViewsBind(nullptr);
    BenchWindowClose();
    return 0;
}
