// The sort run over 10,000 and 100,000 small packages in the real window,
// against bare loops of CopyFileA and MoveFileA over the same files, the
// share of the run that matching file names against every entry takes, and
// the peak memory of the runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "model/app_state.h"
#include "sorting/name_match.h"
#include "sorting/sort_run.h"
#include "support/temp_folder.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/list_views.h"

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

double BareLoop(bool move, const std::string& source, const std::string& target, const std::vector<Download>& packages)
{
    for (const Download& package : packages)
        MakeFolders(target + package.category);
    int failed = 0;
    double start = BenchNow();
    for (const Download& package : packages) {
        std::string from = source + package.folder + package.fileName;
        std::string to = target + package.category + "\\" + package.fileName;
        BOOL ok = move ? MoveFileA(from.c_str(), to.c_str()) : CopyFileA(from.c_str(), to.c_str(), FALSE);
        failed += ok ? 0 : 1;
    }
    double seconds = BenchNow() - start;
    if (failed)
        std::printf("  (bare loop: %d failures)\n", failed);
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

    double start = BenchNow();
    RunSort(app);
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
    double bareCopy = 1e30, runCopy = 1e30, bareMove = 1e30, runMove = 1e30;
};

// One round on fresh trees. The loop that goes first meets colder caches and
// a fuller disk, so the order alternates from round to round.
void MeasureRound(AppState& app, const std::vector<Download>& packages, bool runFirst, RunTimes& best)
{
    TempFolder root;
    std::string first = root / "First\\", second = root / "Second\\";
    WriteTree(first, packages);
    WriteTree(second, packages);
    auto keep = [](double& best, double seconds) { best = std::min(best, seconds); };
    auto bareCopy = [&] { keep(best.bareCopy, BareLoop(false, first, root / "BareCopy\\", packages)); };
    auto runCopy = [&] { keep(best.runCopy, SortRun(app, "Copy", first, root / "RunCopy\\", packages)); };
    auto bareMove = [&] { keep(best.bareMove, BareLoop(true, first, root / "BareMove\\", packages)); };
    auto runMove = [&] { keep(best.runMove, SortRun(app, "Move", second, root / "RunMove\\", packages)); };
    if (runFirst) {
        runCopy(), bareCopy(), runMove(), bareMove();
    } else {
        bareCopy(), runCopy(), bareMove(), runMove();
    }
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
    std::printf("sort run, Copy       %8.3f s   (%.2fx the bare copy loop; aim 1.1x or less)\n", best.runCopy,
                best.runCopy / best.bareCopy);
    std::printf("bare MoveFileA loop  %8.3f s   (1.00)\n", best.bareMove);
    std::printf("sort run, Move       %8.3f s   (%.2fx the bare move loop; aim 1.2x or less)\n", best.runMove,
                best.runMove / best.bareMove);
    std::printf("matching all names   %8.3f s   (%.1f%% of the copy run, %.1f%% of the move run; aim under 3%%)\n",
                matching, 100.0 * matching / best.runCopy, 100.0 * matching / best.runMove);
    std::printf("peak resident memory so far: %.1f MB\n", PeakResidentMegabytes());
}

}  // namespace

// Package counts may be given as arguments; by default 10,000 and 100,000.
int main(int argc, char** argv)
{
    if (!BenchWindowOpen())
        return 1;

    AppState app;
    ListViewsBind(&app);
    app.TitleBanner = "Quillet - ";
    app.Settings.DumpLeftOvers = "No";
    app.IndexList = LiberKeyEntries();
    if (app.IndexList.empty())
        app.IndexList = SyntheticEntries();
    std::printf("before the runs: peak resident memory %.1f MB\n", PeakResidentMegabytes());
    for (int count : argc > 1 ? std::vector<int>{std::atoi(argv[1])} : std::vector<int>{10000, 100000})
        MeasureRuns(app, count, count <= 20000 ? 4 : 1);

    ListViewsBind(nullptr);
    BenchWindowClose();
    return 0;
}
