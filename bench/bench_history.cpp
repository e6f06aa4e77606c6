// What the history costs: a 10,000-package Move run and a 100,000-package
// fetch, each with the history written and without it, taking turns in one
// run; and reading 32 MB histories of several shapes, and one of a line of
// 100,000 folder fields, to find what an undo takes back.
// What the undo's checks of the history cost: an undo of a 10,000-package
// Move sort with them and without them, taking turns, on disk and on a RAM
// disk (Z:\dev\shm under Wine), and each check alone over the same records.
// QUILLET_BENCH_ONLY=undo runs only that part.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "app/event_loop.h"
#include "app/sort_steps.h"
#include "catalogue/source_scan.h"
#include "history/history_file.h"
#include "history/history_line.h"
#include "history/history_log.h"
#include "history/history_read.h"
#include "model/app_state.h"
#include "support/temp_folder.h"
#include "undo/history_undo.h"
#include "undo/sort_undo.h"
#include "undo/undo_trust.h"
#include "util/device_names.h"
#include "util/file_facts.h"
#include "util/final_path.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/status_list.h"

#include "bench_window.h"

namespace {

const int Entries = 335;

std::string EntryName(int i)
{
    char name[16];
    std::snprintf(name, sizeof name, "_K%03d_", i);
    return name;
}

// Packages in 20 folders, each matched by exactly one of the entries.
void WritePackages(const std::string& root, int count)
{
    for (int f = 0; f < 20; ++f)
        MakeFolders(root + std::to_string(f));
    for (int i = 0; i < count; ++i)
        BenchWriteEmptyFile(root + std::to_string(i % 20) + "\\Tool" + EntryName(i % Entries) + std::to_string(i) + ".lks");
}

// The history on (in the folder) or off (empty folder text).
void UseHistory(AppState& app, const std::string& folder)
{
    app.History = HistoryLog();
    StatusListRecordInto(folder.empty() ? nullptr : &app.History);
    if (!folder.empty())
        HistoryLogSetUp(app.History, folder);
}

double MoveRun(AppState& app, const std::string& root, int count, bool history)
{
    WritePackages(root + "In\\", count);
    UseHistory(app, history ? root : std::string());
    app.ActiveSource = root + "In\\";
    app.ActiveTarget = root + "Out\\";
    app.Settings.CopyOrMove = "Move";
    FetchFiles(app);
    ListRemoveAllRows(ListStatus);
    return BenchTimedSort(app);
}

double Fetch(AppState& app, const std::string& root, bool history)
{
    UseHistory(app, history ? root : std::string());
    app.ActiveSource = root + "In\\";
    double start = BenchNow();
    HistoryRunBegins(app.History);
    FetchFiles(app);
    HistoryRunEnds(app.History);
    return BenchNow() - start;
}

// One line's cost alone, less noisy than the runs' difference: a Move
// placement writes two lines (before and after).
void MeasureLine(double moveRun, int count)
{
    TempFolder root;
    HistoryLog log;
    HistoryLogSetUp(log, root.path());
    const int lines = 20000;
    std::string path = "C:\\Users\\Someone\\Downloads\\Some_Portable_Application_1.2.3.lks";
    double start = BenchNow();
    for (int i = 0; i < lines; ++i)
        HistoryStatusLine(log, "File moved okay", path + "\t" + path);
    HistoryRunEnds(log);
    double line = (BenchNow() - start) / lines;
    std::printf("one history line: %.1f us; two a placement are %.1f%% of the Move run of %d packages\n", line * 1e6,
                100.0 * 2 * line * count / moveRun, count);
}

void MeasureMove(AppState& app, int count, int rounds)
{
    double with = 1e30, without = 1e30;
    for (int round = 0; round < rounds; ++round) {
        for (bool history : {round % 2 == 0, round % 2 != 0}) {
            TempFolder root;
            double seconds = MoveRun(app, root.path(), count, history);
            (history ? with : without) = std::min(history ? with : without, seconds);
        }
    }
    std::printf("Move run, %d packages: %.3f s without the history, %.3f s with it (%.3fx; aim 1.03x or less)\n",
                count, without, with, with / without);
    MeasureLine(without, count);
}

void MeasureFetch(AppState& app, int count, int rounds)
{
    TempFolder root;
    WritePackages(root / "In\\", count);
    double with = 1e30, without = 1e30;
    Fetch(app, root.path(), false);  // warms the caches for both
    for (int round = 0; round < rounds; ++round) {
        for (bool history : {round % 2 == 0, round % 2 != 0}) {
            double seconds = Fetch(app, root.path(), history);
            (history ? with : without) = std::min(history ? with : without, seconds);
        }
    }
    std::printf("fetch, %d packages: %.3f s without the history, %.3f s with it (%.3fx; aim 1.03x or less)\n", count,
                without, with, with / without);
}

// A line as the history writes it.
std::string Line(const std::string& id, const std::string& fields)
{
    return HistoryFramed("2026-12-07 16:30:05\t" + id + "\t" + fields);
}

const std::string Source = "C:\\Users\\Someone\\Downloads\\", Target = "D:\\Sorted\\Portable Apps\\";

// One placement's two lines, with the folders named after them.
std::string PlacementLines(const std::string& id, int n, const std::string& category, const std::string& folders)
{
    std::string name = "Some_Portable_Application_" + std::to_string(n) + "_1.2.3.lks";
    std::string from = Source + "Sub\\" + name, to = Target + category + name;
    return Line(id, "Place\t" + std::to_string(n) + "\tLiberKey\tMove\t" + from + "\t" + to + folders)
           + Line(id, "Placed\t" + std::to_string(n) + "\tplaced\tLiberKey\tMove\t" + from + "\t" + to
                          + "\t123456\t134411398517744720\tno\tFile moved okay\t" + name + folders);
}

// 32 MB of sorts of 1,000 placements each, every one undone but the oldest,
// so that the reading must go through all of them.
std::string ManySorts()
{
    std::string text;
    for (int sort = 0; text.size() < HistoryFileLimit - 400000; ++sort) {
        std::string id = "3212784AB-1F4-" + std::to_string(sort);
        text += Line(id, "Sort\tLiberKey\tMove\t" + Source + "\t" + Target);
        if (sort > 0)
            text += Line("undo" + std::to_string(sort), "Undo\t" + id);
        for (int n = 0; n < 1000; ++n) {
            std::string name = "Some_Portable_Application_" + std::to_string(n) + "_1.2.3.lks";
            text += PlacementLines(id, n, "_Office\\_Text_Editor\\", std::string());
            if (sort > 0)
                text += Line("undo" + std::to_string(sort), "Undone\t" + id + "\t" + std::to_string(n) + "\tdone\t"
                                                                + Target + "_Office\\_Text_Editor\\" + name + "\t"
                                                                + Source + "Sub\\" + name + "\tUndone\t" + name
                                                                + "  moved back to " + Source + "Sub\\");
        }
    }
    return text;
}

// One sort whose placements each made a category folder of their own, up to
// 32 MB: every folder is one the undo removes.
std::string FolderEach()
{
    std::string text = Line("S", "Sort\tLiberKey\tMove\t" + Source + "\t" + Target);
    for (int n = 0; text.size() < HistoryFileLimit - 1000; ++n) {
        std::string category = "_Category" + std::to_string(n) + "\\";
        text += PlacementLines("S", n, category, "\t" + Target + category);
    }
    return text;
}

// One sort of lines before a placement only, as if every line after one
// were lost: only the last is settled by looking at the disk.
std::string PlaceLinesOnly()
{
    std::string text = Line("S", "Sort\tLiberKey\tMove\t" + Source + "\t" + Target);
    for (int n = 0; text.size() < HistoryFileLimit - 1000; ++n) {
        std::string name = "Some_Portable_Application_" + std::to_string(n) + "_1.2.3.lks";
        text += Line("S", "Place\t" + std::to_string(n) + "\tLiberKey\tMove\t" + Source + name + "\t" + Target
                              + "_Office\\" + name);
    }
    return text;
}

// One placement naming that many folders (all different) on each of its lines.
std::string ManyFolders(int count)
{
    std::string folders;
    for (int i = 0; i < count; ++i)
        folders += "\tD:\\Other\\F" + std::to_string(i) + "\\";
    return Line("S", "Sort\tLiberKey\tMove\t" + Source + "\t" + Target) + PlacementLines("S", 0, "_Cat\\", folders);
}

// Reading the history to find what an undo takes back, against a bare read
// of the same file, best of three rounds each, taking turns.
void MeasureReading(const char* shape, const std::string& text)
{
    TempFolder root;
    std::string path = root / "Quillet.History.Log";
    WriteFileBytes(path, text);
    double best = 1e30, bare = 1e30;
    size_t steps = 0;
    for (int round = 0; round < 3; ++round) {
        double start = BenchNow();
        std::string read;
        HistoryFileRead(path, &read);
        bare = std::min(bare, BenchNow() - start);
        start = BenchNow();
        std::vector<HistoryUndo> undos;
        HistoryFileRead(path, &read);
        HistoryFindUndos(read, &undos);
        best = std::min(best, BenchNow() - start);
        steps = undos.empty() ? 0 : undos[0].plan.placements.size();
    }
    std::printf("reading a %.1f MB history, %s (%u steps found): %.3f s, %.1fx the bare read of %.3f s (aim under "
                "1 s)\n",
                text.size() / (1024.0 * 1024.0), shape, static_cast<unsigned>(steps), best, best / bare, bare);
    std::printf("peak resident memory so far: %.1f MB\n", PeakResidentMegabytes());
}

// The undo as it was before its checks: the newest sort taken whatever its
// folders, every record it names acted on.
void UndoWithoutChecks(AppState& app)
{
    std::string text;
    std::vector<HistoryUndo> undos;
    if (!HistoryFileRead(app.History.path, &text) || !HistoryFindUndos(text, &undos))
        return;
    HistoryUndo& undo = undos.front();
    HistoryRunBegins(app.History);
    HistoryUndoBegins(app.History, undo.plan);
    app.LastSort = std::move(undo.plan);
    UndoLastSort(app);
    HistoryRunEnds(app.History);
    HistoryUndoRefresh(app);
}

int FilesBelow(const std::string& folder)
{
    int count = 0;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        std::string name = entry.cFileName;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++count;
        else if (name != "." && name != "..")
            count += FilesBelow(folder + name + "\\");
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return count;
}

// A folder of its own below the base; the base empty: the temporary folder.
std::string MadeRoot(const std::string& base, int n)
{
    if (base.empty())
        return std::string();
    std::string root = base + "quillet-bench-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(n) + "\\";
    MakeFolders(root);
    return root;
}

double TimeUndo(AppState& app, const std::string& base, int count, bool checked, int n)
{
    TempFolder temp;
    std::string root = base.empty() ? temp.path() : MadeRoot(base, n);
    MoveRun(app, root, count, true);
    HistoryUndoRefresh(app);
    double start = BenchNow();
    checked ? UndoFromHistory(app) : UndoWithoutChecks(app);
    double seconds = BenchNow() - start;
    HistoryRunEnds(app.History);
    int back = FilesBelow(root + "In\\");
    if (back != count)
        std::printf("  (undo brought back %d of %d)\n", back, count);
    if (!base.empty())
        RemoveTree(root);
    return seconds;
}

// What each check costs alone over the records of one sort, in milliseconds.
struct CheckCosts {
    double kind = 0, device = 0, resolve = 0, name = 0, all = 0;
    size_t folders = 0;
};

template <class Work> double Milliseconds(Work work)
{
    double start = BenchNow();
    work();
    return (BenchNow() - start) * 1e3;
}

CheckCosts TimeRecordChecks(HistoryUndo& undo)
{
    const SortPlan& plan = undo.plan;
    CheckCosts costs;
    std::set<std::string> folders;
    auto paths = [&plan](const Placement& placement) {
        const PlannedPackage& package = plan.packages[placement.package];
        return std::make_pair(package.folder + package.name, placement.folder + package.name);
    };
    costs.kind = Milliseconds([&] {
        for (const PlannedPackage& package : plan.packages)
            PackageKindOf(package.name);
    });
    costs.device = Milliseconds([&] {
        for (const Placement& placement : plan.placements)
            (void)(PathHoldsDeviceName(paths(placement).first) || PathHoldsDeviceName(paths(placement).second));
    });
    costs.resolve = Milliseconds([&] {
        for (const Placement& placement : plan.placements)
            folders.insert({plan.packages[placement.package].folder, placement.folder});
        std::string finalPath;
        for (const std::string& folder : folders)
            FinalPathOfFolder(folder, &finalPath, MissingLevels::Appended);
    });
    // Asked only of names with a "~": this is what it would cost were every name such.
    costs.name = Milliseconds([&] {
        for (const Placement& placement : plan.placements)
            (void)(PathExists(paths(placement).second) && FoundNameIs(paths(placement).second, "x"));
    });
    costs.folders = folders.size();
    costs.all = Milliseconds([&] { UndoTrustRecords(undo); });
    return costs;
}

// Each check alone over the records of one sort, as the undo would meet them.
void TimeEachCheck(AppState& app, const std::string& base, int count)
{
    TempFolder temp;
    std::string root = base.empty() ? temp.path() : MadeRoot(base, 99);
    MoveRun(app, root, count, true);
    std::string text;
    std::vector<HistoryUndo> undos;
    HistoryFileRead(app.History.path, &text);
    double plain = Milliseconds([&] { HistoryFindUndos(text, &undos); });
    double checked = Milliseconds([&] {
        HistoryFindUndos(text, &undos, [&app](const HistorySortLine& sort) { return UndoSortTrusted(app, sort); });
    });
    if (undos.empty())
        return;
    HistoryUndo& undo = undos.front();
    CheckCosts costs = TimeRecordChecks(undo);
    std::printf("  each check over %u records: sort's folders %.2f ms (reading with it %.2f ms, without %.2f ms), "
                "package name %.2f ms, device names and prefixes %.2f ms, resolving %u folders %.2f ms, placed "
                "file's long name %.2f ms (asked only of names with a \"~\", here none); the record checks "
                "together %.2f ms, %u refused\n",
                static_cast<unsigned>(undo.plan.placements.size()), checked - plain, checked, plain, costs.kind,
                costs.device, static_cast<unsigned>(costs.folders), costs.resolve, costs.name, costs.all,
                static_cast<unsigned>(undo.refused.size()));
    if (!base.empty())
        RemoveTree(root);
}

void MeasureUndo(AppState& app, const std::string& base, const char* where, int count, int rounds)
{
    double with = 1e30, without = 1e30;
    for (int round = 0; round < rounds; ++round) {
        for (bool checked : {round % 2 == 0, round % 2 != 0}) {
            double seconds = TimeUndo(app, base, count, checked, round * 2 + checked);
            (checked ? with : without) = std::min(checked ? with : without, seconds);
            std::printf("  round %d, %s the checks: %.3f s\n", round + 1, checked ? "with" : "without", seconds);
            std::fflush(stdout);
        }
    }
    std::printf("undo of a Move sort of %d packages, %s: %.3f s without the checks, %.3f s with them (%.3fx; aim "
                "1.02x or less)\n",
                count, where, without, with, with / without);
    TimeEachCheck(app, base, count);
}

}  // namespace

int main()
{
    if (!BenchWindowOpen())
        return 1;
    AppState app;
    ListViewsBind(&app);
    app.TitleBanner = "Quillet - ";
    app.Settings.DumpLeftOvers = "No";
    app.Settings.LastIndex = "LiberKey";
    for (int i = 0; i < Entries; ++i)
        app.IndexList.push_back({"_Group" + std::to_string(i % 12) + "\\_Kind" + std::to_string(i), EntryName(i)});

    const char* only = std::getenv("QUILLET_BENCH_ONLY");
    bool undoOnly = only && std::string(only) == "undo";
    if (!undoOnly) {
        MeasureReading("sorts of 1,000 placements, all undone but the oldest", ManySorts());
        MeasureReading("one sort, a folder made for each placement", FolderEach());
        MeasureReading("one line of 100,000 folder fields", ManyFolders(100000));
        MeasureReading("lines before a placement only, every line after lost", PlaceLinesOnly());
        MeasureMove(app, 10000, 4);
        MeasureFetch(app, 100000, 4);
    }
    MeasureUndo(app, std::string(), "on disk", 10000, 4);
    if (GetFileAttributesA("Z:\\dev\\shm\\") != INVALID_FILE_ATTRIBUTES)
        MeasureUndo(app, "Z:\\dev\\shm\\", "on a RAM disk", 10000, 4);

    StatusListRecordInto(nullptr);
    ListViewsBind(nullptr);
    BenchWindowClose();
    return 0;
}
