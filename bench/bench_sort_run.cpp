// The sort run over 10,000 and 100,000 small packages in the real window, the
// history written as the program writes it, against the loop of its own file
// acts over the same files (the room's calls the run makes: each package
// opened by its name in its held folder, then copied or moved through that
// handle into its held category folder) and against bare loops of CopyFileA
// and MoveFileA (one call per package). Each round lays fresh trees, on the
// RAM disk and on the disk, and times every variant in turn, the order
// alternating from round to round; the figures are the medians of the rounds
// with their spread, and each run's ratios are taken round by round, against
// the loops timed beside it. Also the share of the runs that matching file
// names and opening each package take, and the peak memory. With "inline",
// the run against itself with large-file work kept on the window's thread,
// and with every file handed to a worker thread. Then the longest time the
// window leaves another program's message unanswered during a sort that
// copies one 2 GB package, with the copy on a worker thread and on the
// window's thread. Last, a Copy run over packages already copied once against
// that first run, and the copy operation that leaves identical copies alone
// against the one that does not, onto an empty target.
//
// Every timed stretch is marked for scripts/bench-requests.sh, which counts
// the Wine server requests of each instead of timing it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/sort_steps.h"
#include "catalogue/catalogue.h"
#include "history/history_log.h"
#include "model/app_state.h"
#include "place/folder_listing.h"
#include "place/held_folders.h"
#include "place/identical_copy.h"
#include "place/package_file_ops.h"
#include "place/placement_checks.h"
#include "place/staging_folder.h"
#include "plan/name_match.h"
#include "support/answer_watch.h"
#include "support/temp_folder.h"
#include "util/scoped_handle.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/main_window.h"
#include "window/off_thread.h"
#include "window/status_list.h"

#include "bench_window.h"

namespace {

const int DownloadFolders = 20;
const size_t PackageBytes = 4096;

IndexList LiberKeyEntries()
{
    IndexList entries;
    const char* row = CatalogueFirstRow("LiberKey");
    for (; row && !CatalogueRowIsEnd(row); row = CatalogueNextRow(row))
        entries.push_back(SplitCatalogueRow(row));
    return entries;
}

// 335 entries shaped like LiberKey's: categories of one to three "_" segments,
// a few entries per category, names ending with "_".
IndexList SyntheticEntries()
{
    IndexList entries;
    for (int i = 0; i < 335; ++i) {
        int category = i / 3;
        std::string path = "_Group" + std::to_string(category % 12);
        if (category % 3 >= 1)
            path += "\\_Kind" + std::to_string(category);
        if (category % 3 == 2)
            path += "\\_Leaf" + std::to_string(category % 7);
        entries.push_back({path, "Portable_App" + std::to_string(i) + "_Tool_"});
    }
    return entries;
}

struct Download {
    std::string folder;    // ends with "\"
    std::string fileName;
    std::string category;  // the one entry that places it
};

// Packages spread over every entry whose sample name only it matches, so each
// package is placed exactly once, as the bare loops place it.
std::vector<Download> Downloads(const IndexList& entries, int count)
{
    std::vector<NameKey> keys = EntryNameKeys(entries);
    std::vector<const IndexEntry*> usable;
    for (const IndexEntry& entry : entries) {
        if (MatchingEntries(keys, entry.name + "1.0.lks").size() == 1)
            usable.push_back(&entry);
    }
    std::vector<Download> packages;
    for (int i = 0; i < count; ++i) {
        const IndexEntry& entry = *usable[static_cast<size_t>(i) % usable.size()];
        packages.push_back({"Downloads\\" + std::to_string(i % DownloadFolders) + "\\",
                            entry.name + std::to_string(i) + ".lks", entry.category});
    }
    return packages;
}

void WriteTree(const std::string& root, const std::vector<Download>& packages)
{
    std::string bytes(PackageBytes, '\0');
    for (size_t i = 0; i < packages.size(); ++i) {
        for (size_t b = 0; b < bytes.size(); ++b)
            bytes[b] = static_cast<char>((i * 31 + b * 7) & 0xFF);
        WriteFileBytes(root + packages[i].folder + packages[i].fileName, bytes);
    }
}

// One call per package, with the folders made as it goes: the bare system
// call (CopyFileA refusing to replace, MoveFileA), after CreateDirectoryA of
// each level of a category folder met for the first time.
double BareLoop(bool move, const std::string& source, const std::string& target, const std::vector<Download>& packages)
{
    int failed = 0;
    std::set<std::string> made;
    BenchMark(std::string("bare ") + (move ? "move" : "copy") + " loop/" + std::to_string(packages.size()));
    double start = BenchNow();
    CreateDirectoryA(target.c_str(), nullptr);
    for (const Download& package : packages) {
        std::string folder = target + package.category + "\\";
        // Level by level; a level already there refuses at once.
        bool fresh = made.insert(package.category).second;
        for (size_t end = target.size(); fresh && end < folder.size(); ++end) {
            if (folder[end] == '\\')
                CreateDirectoryA(folder.substr(0, end).c_str(), nullptr);
        }
        std::string from = source + package.folder + package.fileName;
        std::string to = folder + package.fileName;
        bool done = move ? MoveFileA(from.c_str(), to.c_str()) : CopyFileA(from.c_str(), to.c_str(), TRUE);
        failed += done ? 0 : 1;
    }
    double seconds = BenchNow() - start;
    BenchMark("end");
    if (failed)
        std::printf("  (bare loop: %d failures)\n", failed);
    return seconds;
}

// The run's own file acts, the room's calls the run makes, and nothing
// else: the source and target held, each package's folder and category
// folder held (the latter made level by level inside the one above it),
// a Copy's one listing of each category folder, then the package opened by
// its name in its held folder and copied (unless its identical copy stands
// there) or moved through that handle, the copies made in the staging folder.
double OwnLoop(bool move, const std::string& source, const std::string& target, const std::vector<Download>& packages)
{
    int failed = 0;
    BenchMark(std::string("own ") + (move ? "move" : "copy") + " loop/" + std::to_string(packages.size()));
    double start = BenchNow();
    HeldFolders held;
    HeldFoldersBegin(held, source, target, true);
    StagingFolder staging;
    StagingFolderSetUp(staging, HeldFolderOf(held, held.targetRoot), held.targetRoot, "");
    FolderListings listings;
    for (const Download& package : packages) {
        std::string from = source + package.folder, folder = target + package.category + "\\";
        std::vector<std::string> made;
        if (HeldFoldersSource(held, from) || HeldFoldersTarget(held, folder, &made)) {
            ++failed;
            continue;
        }
        const ActFolder& into = *HeldFolderOf(held, folder);
        ActFile opened;
        if (PackageOpen(opened, *HeldFolderOf(held, from), package.fileName, move)) {
            ++failed;
            continue;
        }
        bool identical = false;
        if (!move)
            FolderListingOf(listings, folder, &into);
        PackageFileResult result = move ? MovePackageFile(opened, into, staging)
                                        : CopyPackageUnlessIdentical(opened, into, staging,
                                                                     FolderListingFind(listings, folder, package.fileName),
                                                                     &identical);
        failed += result.done ? 0 : 1;
    }
    StagingFolderEnd(staging);
    double seconds = BenchNow() - start;
    BenchMark("end");
    if (failed)
        std::printf("  (own loop: %d failures)\n", failed);
    return seconds;
}

// The open the run makes of each package before its copy or move, alone.
double OpenLoop(bool move, const std::string& source, const std::vector<Download>& packages)
{
    int failed = 0;
    double start = BenchNow();
    for (const Download& package : packages)
        failed += PackageOpenRefusal(source + package.folder + package.fileName, move) ? 1 : 0;
    double seconds = BenchNow() - start;
    if (failed)
        std::printf("  (open loop: %d failures)\n", failed);
    return seconds;
}

double SortRun(AppState& app, const char* mode, const std::string& source, const std::string& target,
               const std::vector<Download>& packages)
{
    // Listed as a fetch lists them, the list shown once they are all there.
    ListRemoveAllRows(ListSorted);
    ListRemoveAllRows(ListStatus);
    app.Packages.Clear();
    for (const Download& package : packages)
        app.Packages.Insert(-1, source + package.folder, package.fileName, 0);
    ListViewRefresh(ListFiles, true);
    app.ActiveSource = source;
    app.ActiveTarget = target;
    app.Settings.CopyOrMove = mode;

    // The history written as a real run writes it, in a folder of its own:
    // the run's lines, flushed when the run ends.
    std::string history = target.substr(0, target.size() - 1) + " history\\";
    MakeFolders(history);
    app.History = HistoryLog();
    HistoryLogSetUp(app.History, history);
    BenchMark(std::string("sort run ") + mode + "/" + std::to_string(packages.size()));
    double start = BenchNow();
    HistoryRunBegins(app.History);
    RunSort(app);
    HistoryRunEnds(app.History);
    double seconds = BenchNow() - start;
    BenchMark("end");
    if (ListCountRows(ListSorted) != static_cast<int>(packages.size()) || ListCountRows(ListFiles) != 0)
        std::printf("  (run placed %d, left %d)\n", ListCountRows(ListSorted), ListCountRows(ListFiles));
    return seconds;
}

// Matching as the run does it: every file name against every entry.
double MatchingTime(const IndexList& entries, const std::vector<Download>& packages)
{
    const int rounds = 5;
    size_t found = 0;
    double start = BenchNow();
    for (int round = 0; round < rounds; ++round) {
        std::vector<NameKey> keys = EntryNameKeys(entries);
        for (const Download& package : packages)
            found += MatchingEntries(keys, package.fileName).size();
    }
    double seconds = (BenchNow() - start) / rounds;
    if (found != static_cast<size_t>(rounds) * packages.size())
        std::printf("  (matching found %u)\n", static_cast<unsigned>(found));
    return seconds;
}

// Every round's seconds of each variant, in the order of the rounds.
struct RunTimes {
    std::vector<double> bareCopy, runCopy, bareMove, runMove, opsCopy, opsMove;
    std::vector<double> inlineCopy, inlineMove;  // no file ever leaves the window's thread
    std::vector<double> openCopy, openMove;      // the package opens alone
};

// A sort run with work on files of `largeFrom` bytes or more on a worker thread.
double SortRunWith(uint64_t largeFrom, AppState& app, const char* mode, const std::string& source,
                   const std::string& target, const std::vector<Download>& packages)
{
    uint64_t before = OffThreadSetLargeFileBytes(largeFrom);
    double seconds = SortRun(app, mode, source, target, packages);
    OffThreadSetLargeFileBytes(before);
    return seconds;
}

// What a measurement covers: the variants asked for ("only:" on the command
// line; all of them when empty) and whether the window-thread variants run.
struct Variants {
    std::string only;
    bool inlineToo = false;
    bool Wants(const char* name) const { return only.empty() || only.find(name) != std::string::npos; }
};

// One round on fresh trees below the root. The loop that goes first meets
// colder caches and a fuller disk, so the order alternates from round to
// round; each sort run and the loop of its own file acts go side by side.
void MeasureRound(AppState& app, const std::string& root, const std::vector<Download>& packages, bool runFirst,
                  const Variants& variants, RunTimes& times)
{
    std::string first = root + "First\\", second = root + "Second\\", third = root + "Third\\";
    WriteTree(first, packages);
    if (variants.Wants("runMove"))
        WriteTree(second, packages);
    if (variants.Wants("ownMove"))
        WriteTree(third, packages);
    std::string fourth = root + "Fourth\\";
    if (variants.inlineToo)
        WriteTree(fourth, packages);
    auto keep = [&variants](const char* name, std::vector<double>& into, auto measure) {
        if (variants.Wants(name))
            into.push_back(measure());
    };
    auto bareCopy = [&] { keep("bareCopy", times.bareCopy, [&] { return BareLoop(false, first, root + "BareCopy\\", packages); }); };
    auto runCopy = [&] { keep("runCopy", times.runCopy, [&] { return SortRun(app, "Copy", first, root + "RunCopy\\", packages); }); };
    auto bareMove = [&] { keep("bareMove", times.bareMove, [&] { return BareLoop(true, first, root + "BareMove\\", packages); }); };
    auto runMove = [&] { keep("runMove", times.runMove, [&] { return SortRun(app, "Move", second, root + "RunMove\\", packages); }); };
    auto opsCopy = [&] { keep("ownCopy", times.opsCopy, [&] { return OwnLoop(false, first, root + "OpsCopy\\", packages); }); };
    auto opsMove = [&] { keep("ownMove", times.opsMove, [&] { return OwnLoop(true, third, root + "OpsMove\\", packages); }); };
    auto inlineCopy = [&] {
        if (variants.inlineToo)
            times.inlineCopy.push_back(SortRunWith(UINT64_MAX, app, "Copy", first, root + "InlineCopy\\", packages));
    };
    auto inlineMove = [&] {
        if (variants.inlineToo)
            times.inlineMove.push_back(SortRunWith(UINT64_MAX, app, "Move", fourth, root + "InlineMove\\", packages));
    };
    auto opens = [&] {
        keep("opens", times.openCopy, [&] { return OpenLoop(false, first, packages); });
        keep("opens", times.openMove, [&] { return OpenLoop(true, first, packages); });
    };
    // The bare move takes the packages out of the first tree: it comes after
    // every copy and open from there.
    if (runFirst) {
        runCopy(), opsCopy(), inlineCopy(), bareCopy(), opens(), runMove(), opsMove(), inlineMove(), bareMove();
    } else {
        opens(), bareCopy(), inlineCopy(), opsCopy(), runCopy(), bareMove(), inlineMove(), opsMove(), runMove();
    }
}

// What handing every file to a worker thread would cost: one copy run.
void MeasureEveryFileOffThread(AppState& app, const std::vector<Download>& packages, double runCopy)
{
    TempFolder root;
    WriteTree(root / "First\\", packages);
    double seconds = SortRunWith(0, app, "Copy", root / "First\\", root / "Copy\\", packages);
    std::printf("sort run, Copy, every file on a worker thread %8.3f s   (%.2fx the run as shipped)\n", seconds,
                seconds / runCopy);
}

// The ratio of two variants round by round (each pair timed in one round),
// as the median and spread of those ratios.
std::string PairedRatioText(const std::vector<double>& top, const std::vector<double>& bottom)
{
    std::vector<double> ratios;
    for (size_t round = 0; round < top.size() && round < bottom.size(); ++round)
        ratios.push_back(top[round] / bottom[round]);
    if (ratios.empty())
        return "-";
    std::sort(ratios.begin(), ratios.end());
    char text[96];
    std::snprintf(text, sizeof text, "%.2fx (%.2fx to %.2fx)", BenchMedian(ratios), ratios.front(), ratios.back());
    return text;
}

void PrintVariant(const char* name, const std::vector<double>& seconds)
{
    if (!seconds.empty())
        std::printf("%-22s %s\n", name, BenchMedianText(seconds).c_str());
}

// A sort run against its own file acts and the bare loop, each ratio taken
// round by round, with the aims beside them.
void PrintRun(const char* mode, const std::vector<double>& run, const std::vector<double>& own,
              const std::vector<double>& bare, const char* aimBare)
{
    if (run.empty())
        return;
    std::printf("sort run, %-12s %s\n", mode, BenchMedianText(run).c_str());
    if (!own.empty())
        std::printf("  against its own file acts %s (aim 1.15x or less)\n", PairedRatioText(run, own).c_str());
    if (!bare.empty())
        std::printf("  against the bare loop     %s (aim %s or less)\n", PairedRatioText(run, bare).c_str(), aimBare);
}

void PrintRuns(const RunTimes& times)
{
    PrintVariant("bare CopyFileA loop", times.bareCopy);
    PrintVariant("own copy acts", times.opsCopy);
    if (!times.opsCopy.empty() && !times.bareCopy.empty())
        std::printf("  against the bare loop     %s\n", PairedRatioText(times.opsCopy, times.bareCopy).c_str());
    PrintRun("Copy", times.runCopy, times.opsCopy, times.bareCopy, "1.2x");
    PrintVariant("bare MoveFileA loop", times.bareMove);
    PrintVariant("own move acts", times.opsMove);
    if (!times.opsMove.empty() && !times.bareMove.empty())
        std::printf("  against the bare loop     %s\n", PairedRatioText(times.opsMove, times.bareMove).c_str());
    PrintRun("Move", times.runMove, times.opsMove, times.bareMove, "1.1x");
    if (!times.openCopy.empty() && !times.runCopy.empty())
        std::printf("package opens alone    %.3f s for a copy, %.3f s for a move (%.1f%% of the copy run, %.1f%% of "
                    "the move run, medians)\n",
                    BenchMedian(times.openCopy), BenchMedian(times.openMove),
                    100.0 * BenchMedian(times.openCopy) / BenchMedian(times.runCopy),
                    100.0 * BenchMedian(times.openMove) / std::max(BenchMedian(times.runMove), 1e-9));
    if (!times.inlineCopy.empty() && !times.runCopy.empty()) {
        std::printf("sort run, Copy, nothing off the window's thread %s; as shipped %s of it (aim at most 1.03x)\n",
                    BenchMedianText(times.inlineCopy).c_str(), PairedRatioText(times.runCopy, times.inlineCopy).c_str());
        std::printf("sort run, Move, nothing off the window's thread %s; as shipped %s of it (aim at most 1.03x)\n",
                    BenchMedianText(times.inlineMove).c_str(), PairedRatioText(times.runMove, times.inlineMove).c_str());
    }
}

// The rounds on one medium: the disk (the Wine prefix's temporary folder) or
// the RAM disk.
void MeasureRuns(AppState& app, int count, int rounds, bool ram, const Variants& variants)
{
    std::vector<Download> packages = Downloads(app.IndexList, count);
    std::printf("== %d packages of %u bytes in %d folders, %u entries, %s, %d rounds in turn: median (lowest to "
                "highest); the history written\n",
                count, static_cast<unsigned>(PackageBytes), DownloadFolders,
                static_cast<unsigned>(app.IndexList.size()), ram ? "RAM disk" : "disk", rounds);
    RunTimes times;
    for (int round = 0; round < rounds; ++round) {
        if (ram) {
            std::string root = BenchRamFolder("bench-sort-run");
            if (root.empty()) {
                std::printf("  (no RAM disk here)\n");
                return;
            }
            MeasureRound(app, root, packages, round % 2 == 1, variants, times);
            RemoveTree(root);
        } else {
            TempFolder root;
            MeasureRound(app, root.path(), packages, round % 2 == 1, variants, times);
        }
    }
    PrintRuns(times);
    if (variants.Wants("matching")) {
        double matching = MatchingTime(app.IndexList, packages);
        if (!times.runCopy.empty() && !times.runMove.empty())
            std::printf("matching all names     %.3f s (%.1f%% of the copy run, %.1f%% of the move run; aim under 3%%)\n",
                        matching, 100.0 * matching / BenchMedian(times.runCopy),
                        100.0 * matching / BenchMedian(times.runMove));
    }
    if (variants.inlineToo && !times.runCopy.empty())
        MeasureEveryFileOffThread(app, packages, BenchMedian(times.runCopy));
    std::printf("peak resident memory so far: %.1f MB\n", PeakResidentMegabytes());
}

struct LargeCopy {
    DWORD longestUnanswered;  // milliseconds
    double seconds;
};

// A sort that copies one package of that many bytes, with work on files of
// `largeFrom` bytes or more on a worker thread, while another thread asks the
// window every 20 ms.
LargeCopy SortOneLargePackage(AppState& app, uint64_t largeFrom, unsigned long long bytes)
{
    TempFolder root;
    Download package = Downloads(app.IndexList, 1)[0];
    std::string source = root / "Downloads\\";
    WriteZeroFile(source + package.fileName, bytes);
    ListRemoveAllRows(ListSorted);
    ListRemoveAllRows(ListStatus);
    app.Packages.Clear();
    app.Packages.Insert(-1, source, package.fileName, 0, bytes);
    ListViewRefresh(ListFiles, true);
    app.ActiveSource = source;
    app.ActiveTarget = root / "Sorted\\";
    app.Settings.CopyOrMove = "Copy";

    uint64_t before = OffThreadSetLargeFileBytes(largeFrom);
    AnswerWatch watch(MainWindowHandle());
    double start = BenchNow();
    RunSort(app);
    LargeCopy copy{0, BenchNow() - start};
    copy.longestUnanswered = watch.Stop();
    OffThreadSetLargeFileBytes(before);
    if (ListCountRows(ListSorted) != 1)
        std::printf("  (the large package was not placed)\n");
    return copy;
}

void PrintLargeCopy(const char* where, const LargeCopy& copy, const LargeCopy& baseline)
{
    std::printf("copy on %-20s longest unanswered %6lu ms (%.3fx), sort %5.1f s (%.2fx)\n", where,
                copy.longestUnanswered,
                static_cast<double>(copy.longestUnanswered) / std::max<DWORD>(baseline.longestUnanswered, 1),
                copy.seconds, copy.seconds / baseline.seconds);
}

// Two rounds in alternating order: the copy that goes first meets the disk's
// write-back of the copies before it.
void MeasureLargePackage(AppState& app)
{
    const unsigned long long bytes = 2ull << 30;
    std::printf("== one package of 2 GB (a sparse file, copied whole), copied by a sort; aim under 250 ms\n");
    for (int round = 0; round < 2; ++round) {
        LargeCopy onWorker{}, onWindow{};
        if (round == 0) {
            onWindow = SortOneLargePackage(app, UINT64_MAX, bytes);
            onWorker = SortOneLargePackage(app, LargeFileBytes, bytes);
        } else {
            onWorker = SortOneLargePackage(app, LargeFileBytes, bytes);
            onWindow = SortOneLargePackage(app, UINT64_MAX, bytes);
        }
        PrintLargeCopy("the window's thread:", onWindow, onWindow);
        PrintLargeCopy("a worker thread:", onWorker, onWindow);
    }
}

// A Copy run writing its history, over a fresh tree, then again over the same
// packages into the same target, where every copy is already in place.
void MeasureRepeatedCopy(AppState& app, const std::vector<Download>& packages, double& first, double& again)
{
    TempFolder root;
    WriteTree(root / "Downloads\\", packages);
    HistoryLogSetUp(app.History, root.path());
    StatusListRecordInto(&app.History);
    first = std::min(first, SortRun(app, "Copy", root / "Downloads\\", root / "Sorted\\", packages));
    again = std::min(again, SortRun(app, "Copy", root / "Downloads\\", root / "Sorted\\", packages));
    StatusListRecordInto(nullptr);
    app.History = HistoryLog();
}

// The folders a loop acts in, held as the run holds them.
struct OwnFolders {
    std::map<std::string, std::unique_ptr<ActFolder>> held;
    const ActFolder& Of(const std::string& path)
    {
        std::unique_ptr<ActFolder>& folder = held[path];
        if (!folder) {
            folder.reset(new ActFolder);
            ActFolderOpen(*folder, path);
        }
        return *folder;
    }
};

// The copy operation of a Copy run onto an empty target, against the same
// loop without the question whether an identical copy stands there.
double CopyLoop(bool unlessIdentical, const std::string& source, const std::string& target,
                const std::vector<Download>& packages)
{
    OwnFolders folders;
    for (const Download& package : packages) {
        MakeFolders(target + package.category);
        folders.Of(target + package.category + "\\");
        folders.Of(source + package.folder);
    }
    StagingFolder staging;
    StagingFolderSetUp(staging, &folders.Of(target), target, "bench");
    FolderListings listings;
    double start = BenchNow();
    for (const Download& package : packages) {
        std::string folder = target + package.category + "\\";
        const ActFolder& into = folders.Of(folder);
        ActFile held;
        if (PackageOpen(held, folders.Of(source + package.folder), package.fileName, false))
            continue;
        bool identical = false;
        // As the run asks: only where its listing of the folder shows the name.
        if (unlessIdentical)
            CopyPackageUnlessIdentical(held, into, staging, FolderListingFind(listings, folder, package.fileName),
                                       &identical);
        else
            CopyPackageFile(held, into, staging, true);
    }
    double seconds = BenchNow() - start;
    StagingFolderEnd(staging);
    return seconds;
}

void MeasureRepeatedCopies(AppState& app, int count, int rounds)
{
    std::vector<Download> packages = Downloads(app.IndexList, count);
    std::printf("== %d packages copied twice, the history written, best of %d rounds\n", count, rounds);
    double first = 1e30, again = 1e30, plain = 1e30, aware = 1e30;
    for (int round = 0; round < rounds; ++round) {
        MeasureRepeatedCopy(app, packages, first, again);
        TempFolder root;
        WriteTree(root / "Downloads\\", packages);
        bool awareFirst = round % 2 == 1;
        for (int turn = 0; turn < 2; ++turn) {
            bool isAware = (turn == 0) == awareFirst;
            double seconds = CopyLoop(isAware, root / "Downloads\\", root / (isAware ? "Aware\\" : "Plain\\"), packages);
            (isAware ? aware : plain) = std::min(isAware ? aware : plain, seconds);
        }
    }
    std::printf("sort run, Copy, first         %8.3f s   (1.00)\n", first);
    std::printf("sort run, Copy, again         %8.3f s   (%.2fx the first; aim 0.7x or less)\n", again, again / first);
    std::printf("copy loop onto an empty target %7.3f s   (1.00)\n", plain);
    std::printf("  leaving identical copies     %7.3f s   (%.2fx: the cost of the question)\n", aware, aware / plain);
}

}  // namespace

// Arguments: package counts (by default 10,000 and 100,000); "rounds:N" for
// the number of rounds (by default 7); "disk" or "ram" for one medium (by
// default both); "only:" and the variants to run, joined by commas (bareCopy,
// ownCopy, runCopy, bareMove, ownMove, runMove, opens, matching), for a
// profile or a count of requests; "inline" for the runs with nothing, or
// everything, off the window's thread; "large" for the 2 GB package alone and
// "again" for the repeated Copy runs alone. With no argument, all but
// "inline".
int main(int argc, char** argv)
{
    if (!BenchWindowOpen())
        return 1;

    AppState app;
    ListViewsBind(&app);
    StatusListRecordInto(&app.History);
    app.TitleBanner = "Quillet - ";
    app.Settings.DumpLeftOvers = "No";
    app.IndexList = LiberKeyEntries();
    if (app.IndexList.empty())
        app.IndexList = SyntheticEntries();
    std::printf("before the runs: peak resident memory %.1f MB\n", PeakResidentMegabytes());
    std::vector<int> counts;
    int rounds = 0;
    bool large = argc == 1, again = argc == 1, disk = false, ram = false;
    Variants variants;
    for (int arg = 1; arg < argc; ++arg) {
        std::string word = argv[arg];
        if (word == "large")
            large = true;
        else if (word == "again")
            again = true;
        else if (word == "inline")
            variants.inlineToo = true;
        else if (word == "disk")
            disk = true;
        else if (word == "ram")
            ram = true;
        else if (word.compare(0, 5, "only:") == 0)
            variants.only = word.substr(5);
        else if (word.compare(0, 7, "rounds:") == 0)
            rounds = std::atoi(word.c_str() + 7);
        else
            counts.push_back(std::atoi(argv[arg]));
    }
    if (counts.empty() && (argc == 1 || disk || ram || !variants.only.empty()))
        counts = {10000, 100000};
    if (!disk && !ram)
        disk = ram = true;
    for (int count : counts) {
        for (bool onRam : {true, false}) {
            if (onRam ? ram : disk)
                MeasureRuns(app, count, rounds > 0 ? rounds : 7, onRam, variants);
        }
    }
    if (large)
        MeasureLargePackage(app);
    if (again)
        MeasureRepeatedCopies(app, 10000, rounds > 0 ? rounds : 3);

    StatusListRecordInto(nullptr);
    ListViewsBind(nullptr);
    BenchWindowClose();
    return 0;
}
