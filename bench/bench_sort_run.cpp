// The sort run over 10,000 and 100,000 small packages in the real window,
// against bare loops of CopyFileA and MoveFileA over the same files (a copy
// that refuses to replace and a plain move: one call per package, as the
// run's file operations were before they went through a file of their own),
// loops of the run's own file operations over the same files, the
// share of the run that matching file names against every entry takes, and
// the peak memory of the runs, and the share of the runs that the open of
// each package before its copy or move takes. For the smaller count, the run also against
// itself with large-file work kept on the window's thread, and with every
// file handed to a worker thread. Then the longest time the window leaves
// another program's message unanswered during a sort that copies one 2 GB
// package, with the copy on a worker thread and on the window's thread.
// Last, with the history written as the program writes it, a Copy run over
// packages already copied once against that first run, and the copy
// operation that leaves identical copies alone against the one that does not,
// onto an empty target.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "history/history_log.h"
#include "model/app_state.h"
#include "sorting/folder_listing.h"
#include "sorting/identical_copy.h"
#include "sorting/name_match.h"
#include "sorting/package_file_ops.h"
#include "sorting/placement_checks.h"
#include "sorting/sort_run.h"
#include "sorting/staging_folder.h"
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

// The folders the run's own operations act in, held as the run holds them.
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

// One call per package: the bare system call, or the run's own operation as
// the run makes it: the package opened by its name in its held folder and
// checked, then copied or moved through that handle into its held category
// folder.
bool PlaceOne(bool move, bool own, const std::string& from, const std::string& to, const ActFolder* packageFolder,
              const ActFolder* folder, const std::string& name, StagingFolder& staging)
{
    if (!own)
        return move ? MoveFileA(from.c_str(), to.c_str()) : CopyFileA(from.c_str(), to.c_str(), TRUE);
    ActFile package;
    if (PackageOpen(package, *packageFolder, name, move))
        return false;
    return (move ? MovePackageFile(package, *folder, staging) : CopyPackageFile(package, *folder, staging, false)).done;
}

double BareLoop(bool move, const std::string& source, const std::string& target, const std::vector<Download>& packages,
                bool own = false)
{
    OwnFolders folders;
    for (const Download& package : packages) {
        MakeFolders(target + package.category);
        if (own) {
            folders.Of(target + package.category + "\\");
            folders.Of(source + package.folder);
        }
    }
    const ActFolder& root = folders.Of(target);
    int failed = 0;
    StagingFolder staging;
    StagingFolderSetUp(staging, &root, target, "");
    double start = BenchNow();
    for (const Download& package : packages) {
        std::string from = source + package.folder + package.fileName;
        std::string to = target + package.category + "\\" + package.fileName;
        const ActFolder* in = own ? &folders.Of(source + package.folder) : nullptr;
        const ActFolder* into = own ? &folders.Of(target + package.category + "\\") : nullptr;
        failed += PlaceOne(move, own, from, to, in, into, package.fileName, staging) ? 0 : 1;
    }
    StagingFolderEnd(staging);
    double seconds = BenchNow() - start;
    if (failed)
        std::printf("  (bare loop: %d failures)\n", failed);
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
    double start = BenchNow();
    HistoryRunBegins(app.History);
    RunSort(app);
    HistoryRunEnds(app.History);
    double seconds = BenchNow() - start;
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

struct RunTimes {
    double bareCopy = 1e30, runCopy = 1e30, bareMove = 1e30, runMove = 1e30, opsCopy = 1e30, opsMove = 1e30;
    double inlineCopy = 1e30, inlineMove = 1e30;  // no file ever leaves the window's thread
    double openCopy = 1e30, openMove = 1e30;      // the package opens alone
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

// One round on fresh trees. The loop that goes first meets colder caches and
// a fuller disk, so the order alternates from round to round.
void MeasureRound(AppState& app, const std::vector<Download>& packages, bool runFirst, RunTimes& best)
{
    TempFolder root;
    std::string first = root / "First\\", second = root / "Second\\", third = root / "Third\\";
    WriteTree(first, packages);
    WriteTree(second, packages);
    WriteTree(third, packages);
    bool inlineToo = packages.size() <= 20000;
    std::string fourth = root / "Fourth\\";
    if (inlineToo)
        WriteTree(fourth, packages);
    auto keep = [](double& best, double seconds) { best = std::min(best, seconds); };
    auto bareCopy = [&] { keep(best.bareCopy, BareLoop(false, first, root / "BareCopy\\", packages)); };
    auto runCopy = [&] { keep(best.runCopy, SortRun(app, "Copy", first, root / "RunCopy\\", packages)); };
    auto bareMove = [&] { keep(best.bareMove, BareLoop(true, first, root / "BareMove\\", packages)); };
    auto runMove = [&] { keep(best.runMove, SortRun(app, "Move", second, root / "RunMove\\", packages)); };
    auto opsCopy = [&] { keep(best.opsCopy, BareLoop(false, first, root / "OpsCopy\\", packages, true)); };
    auto opsMove = [&] { keep(best.opsMove, BareLoop(true, third, root / "OpsMove\\", packages, true)); };
    auto inlineCopy = [&] {
        keep(best.inlineCopy, SortRunWith(UINT64_MAX, app, "Copy", first, root / "InlineCopy\\", packages));
    };
    auto inlineMove = [&] {
        keep(best.inlineMove, SortRunWith(UINT64_MAX, app, "Move", fourth, root / "InlineMove\\", packages));
    };
    auto opens = [&] {
        keep(best.openCopy, OpenLoop(false, first, packages));
        keep(best.openMove, OpenLoop(true, first, packages));
    };
    // The bare move takes the packages out of the first tree: it comes after
    // every copy and open from there.
    auto maybe = [inlineToo](auto measure) {
        if (inlineToo)
            measure();
    };
    if (runFirst) {
        runCopy(), opsCopy(), maybe(inlineCopy), bareCopy(), opens(), runMove(), opsMove(), maybe(inlineMove),
            bareMove();
    } else {
        opens(), bareCopy(), maybe(inlineCopy), opsCopy(), runCopy(), bareMove(), maybe(inlineMove), opsMove(),
            runMove();
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

void MeasureRuns(AppState& app, int count, int rounds)
{
    std::vector<Download> packages = Downloads(app.IndexList, count);
    std::printf("== %d packages of %u bytes in %d folders, %u entries, best of %d rounds\n", count,
                static_cast<unsigned>(PackageBytes), DownloadFolders, static_cast<unsigned>(app.IndexList.size()),
                rounds);
    RunTimes best;
    for (int round = 0; round < rounds; ++round)
        MeasureRound(app, packages, round % 2 == 1, best);
    double matching = MatchingTime(app.IndexList, packages);

    std::printf("bare CopyFileA loop  %8.3f s   (1.00)\n", best.bareCopy);
    std::printf("sort run, Copy       %8.3f s   (%.2fx the bare copy loop; aim 1.15x or less)\n", best.runCopy,
                best.runCopy / best.bareCopy);
    std::printf("own copy operations  %8.3f s   (%.2fx the bare copy loop: held handles and the file of their own)\n",
                best.opsCopy, best.opsCopy / best.bareCopy);
    std::printf("bare MoveFileA loop  %8.3f s   (1.00)\n", best.bareMove);
    std::printf("own move operations  %8.3f s   (%.2fx the bare move loop)\n", best.opsMove,
                best.opsMove / best.bareMove);
    std::printf("sort run, Move       %8.3f s   (%.2fx the bare move loop; aim 1.2x or less)\n", best.runMove,
                best.runMove / best.bareMove);
    std::printf("matching all names   %8.3f s   (%.1f%% of the copy run, %.1f%% of the move run; aim under 3%%)\n",
                matching, 100.0 * matching / best.runCopy, 100.0 * matching / best.runMove);
    std::printf("package opens alone  %8.3f s for a copy, %.3f s for a move (%.1f%% of the copy run, %.1f%% of the "
                "move run)\n",
                best.openCopy, best.openMove, 100.0 * best.openCopy / best.runCopy, 100.0 * best.openMove / best.runMove);
    if (best.inlineCopy < 1e30) {
        std::printf("sort run, Copy, nothing off the window's thread %8.3f s; as shipped %+.1f%% (aim at most +3%%)\n",
                    best.inlineCopy, 100.0 * (best.runCopy / best.inlineCopy - 1.0));
        std::printf("sort run, Move, nothing off the window's thread %8.3f s; as shipped %+.1f%% (aim at most +3%%)\n",
                    best.inlineMove, 100.0 * (best.runMove / best.inlineMove - 1.0));
        MeasureEveryFileOffThread(app, packages, best.runCopy);
    }
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

// Arguments: package counts (by default 10,000 and 100,000), "rounds:N" for
// the number of rounds, "large" for the 2 GB package alone and "again" for
// the repeated Copy runs alone; with none, all of them.
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
    bool large = argc == 1;
    bool again = argc == 1;
    for (int arg = 1; arg < argc; ++arg) {
        std::string word = argv[arg];
        if (word == "large")
            large = true;
        else if (word == "again")
            again = true;
        else if (word.compare(0, 7, "rounds:") == 0)
            rounds = std::atoi(word.c_str() + 7);
        else
            counts.push_back(std::atoi(argv[arg]));
    }
    if (argc == 1)
        counts = {10000, 100000};
    for (int count : counts)
        MeasureRuns(app, count, rounds > 0 ? rounds : count <= 20000 ? 4 : 1);
    if (large)
        MeasureLargePackage(app);
    if (again)
        MeasureRepeatedCopies(app, 10000, rounds > 0 ? rounds : 3);

    StatusListRecordInto(nullptr);
    ListViewsBind(nullptr);
    BenchWindowClose();
    return 0;
}
