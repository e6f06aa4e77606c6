// The sort as a user runs it: the real Quillet.exe started in a working
// folder whose settings point at a tree of small packages, its Sort button
// pressed, and the time until the run's last status line; beside it, other
// builds of the program named on the command line (a release, to compare
// with), and a bare CopyFileA or MoveFileA loop over the same files. Every
// variant gets fresh trees (on the disk, or with "ram" on the RAM disk);
// their order turns from round to round; the median of the rounds and their
// spread are printed, with the ratio of the medians to the bare loop's.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "plan/name_match.h"
#include "settings/settings_test_support.h"
#include "support/quillet_process.h"
#include "support/temp_folder.h"
#include "window/controls.h"

#include "bench_window.h"

namespace {

struct Package {
    std::string fileName;
    std::string category;
};

// Names that one LiberKey row each places, as bench_sort_run picks them.
std::vector<Package> Packages(int count)
{
    IndexList entries;
    for (const char* row = CatalogueFirstRow("LiberKey"); row && !CatalogueRowIsEnd(row); row = CatalogueNextRow(row))
        entries.push_back(SplitCatalogueRow(row));
    std::vector<NameKey> keys = EntryNameKeys(entries);
    std::vector<const IndexEntry*> usable;
    for (const IndexEntry& entry : entries) {
        if (MatchingEntries(keys, entry.name + "1.0.lks").size() == 1)
            usable.push_back(&entry);
    }
    std::vector<Package> packages;
    for (int i = 0; i < count; ++i) {
        const IndexEntry& entry = *usable[static_cast<size_t>(i) % usable.size()];
        packages.push_back({entry.name + std::to_string(i) + ".lks", entry.category});
    }
    return packages;
}

std::string FolderOf(int i)
{
    return "Downloads\\" + std::to_string(i % 20) + "\\";
}

void WriteTree(const std::string& root, const std::vector<Package>& packages)
{
    std::string bytes(4096, 'q');
    for (size_t i = 0; i < packages.size(); ++i)
        WriteFileBytes(root + FolderOf(static_cast<int>(i)) + packages[i].fileName, bytes + std::to_string(i));
}

double Now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double BareLoop(bool move, const std::string& root, const std::vector<Package>& packages)
{
    for (const Package& package : packages)
        MakeFolders(root + "Sorted\\" + package.category);
    double start = Now();
    for (size_t i = 0; i < packages.size(); ++i) {
        std::string from = root + FolderOf(static_cast<int>(i)) + packages[i].fileName;
        std::string to = root + "Sorted\\" + packages[i].category + "\\" + packages[i].fileName;
        if (!(move ? MoveFileA(from.c_str(), to.c_str()) : CopyFileA(from.c_str(), to.c_str(), TRUE)))
            std::printf("  (bare loop failed on %s)\n", packages[i].fileName.c_str());
    }
    return Now() - start;
}

int StatusCount(QuilletProcess& quillet)
{
    return static_cast<int>(SendMessageA(quillet.Control(ListStatus), LVM_GETITEMCOUNT, 0, 0));
}

// From the click on Sort to the "Sort finished" line: one line per placement
// and that one. The count is asked for every 20 ms.
double ExeRun(const std::string& exe, bool move, const std::string& root, const std::vector<Package>& packages)
{
    Settings values;
    values.LastIndex = "LiberKey";
    values.CopyOrMove = move ? "Move" : "Copy";
    values.DumpLeftOvers = "No";
    values.LiberkeySourcePath = root + "Downloads\\";
    values.LiberkeyTargetPath = root + "Sorted\\";
    WriteFileBytes(root + "Quillet.Ini", SettingsFileText(values));
    QuilletProcess quillet;
    if (!exe.empty())
        quillet.SetExe(exe);
    if (!quillet.Start(root) || !quillet.WaitUntilReady(600000))
        return 1e30;
    // For a count of the Wine server's requests by process (WINEDEBUG=+server).
    std::fprintf(stderr, "process %04lx: %s\n", quillet.id(), exe.empty() ? "this build" : exe.c_str());
    int end = StatusCount(quillet) + static_cast<int>(packages.size()) + 1;
    double start = Now();
    PostMessageA(quillet.Control(ButtonSort), BM_CLICK, 0, 0);
    while (StatusCount(quillet) < end)
        Sleep(20);
    double seconds = Now() - start;
    DWORD code = 0;
    quillet.Quit(&code);
    return seconds;
}

}  // namespace

// Arguments: the package count (10,000 by default), "rounds:N" (7), "move"
// for Move instead of Copy, "ram" for the RAM disk, and the paths of other
// builds' Quillet.exe.
int main(int argc, char** argv)
{
    int count = 10000, rounds = 7;
    bool move = false, ram = false;
    std::vector<std::string> exes = {""};
    for (int arg = 1; arg < argc; ++arg) {
        std::string word = argv[arg];
        if (word.compare(0, 7, "rounds:") == 0)
            rounds = std::atoi(word.c_str() + 7);
        else if (word == "move")
            move = true;
        else if (word == "ram")
            ram = true;
        else if (word.find(".exe") != std::string::npos)
            exes.push_back(word);
        else
            count = std::atoi(word.c_str());
    }
    std::vector<Package> packages = Packages(count);
    size_t variants = exes.size() + 1;  // the last: the bare loop
    std::vector<std::vector<double>> times(variants);
    std::string ramRoot = ram ? BenchRamFolder("quillet-sort-exe") : std::string();
    if (ram && ramRoot.empty()) {
        std::printf("no RAM disk here\n");
        return 1;
    }
    for (int round = 0; round < rounds; ++round) {
        for (size_t turn = 0; turn < variants; ++turn) {
            size_t variant = (turn + static_cast<size_t>(round)) % variants;
            TempFolder disk;
            std::string root = ram ? ramRoot + std::to_string(round) + "-" + std::to_string(turn) + "\\" : disk.path();
            WriteTree(root, packages);
            double seconds = variant == exes.size() ? BareLoop(move, root, packages)
                                                    : ExeRun(exes[variant], move, root, packages);
            times[variant].push_back(seconds);
            if (ram)
                RemoveTree(root);
        }
    }
    if (ram)
        RemoveTree(ramRoot);
    const char* loop = move ? "MoveFileA" : "CopyFileA";
    std::printf("== %s sort of %d packages of 4 KB on the %s, history written, %d rounds (median, lowest to highest)\n",
                move ? "Move" : "Copy", count, ram ? "RAM disk" : "disk", rounds);
    std::printf("%-30s %s   (1.00)\n", (std::string("bare ") + loop + " loop").c_str(), BenchMedianText(times.back()).c_str());
    for (size_t variant = 0; variant < exes.size(); ++variant)
        std::printf("%-30s %s   (%.2fx the bare loop)\n", exes[variant].empty() ? "this build" : exes[variant].c_str(),
                    BenchMedianText(times[variant]).c_str(), BenchMedian(times[variant]) / BenchMedian(times.back()));
    return 0;
}
