// The sort of 10,000 small packages (Copy and Move, the history written) and
// the fetch of 100,000, timed as the program runs them, in a folder named on
// the command line. It builds against the code before the link checks as
// well, so that the two exes can be run in turn on the same disk: the
// difference is what the checks and the held folders cost the whole run.
//   bench_link_checks_runs <folder ending with "\">
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/sort_steps.h"
#include "catalogue/source_scan.h"
#include "history/history_log.h"
#include "model/app_state.h"
#include "support/temp_folder.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/status_list.h"

#include "bench_window.h"
#include "fetch_tree.h"

namespace {

const int Categories = 112;

void WritePackages(const std::string& root, int count)
{
    for (int i = 0; i < count; ++i)
        WriteFileBytes(root + std::to_string(i % 20) + "\\Pkg" + std::to_string(i % Categories) + "_"
                           + std::to_string(i) + ".lks",
                       std::string(4096, 'p'));
}

double Sort(AppState& app, const char* mode, const std::string& root)
{
    WritePackages(root + "In\\", 10000);
    app.History = HistoryLog();
    StatusListRecordInto(&app.History);
    HistoryLogSetUp(app.History, root);
    app.ActiveSource = root + "In\\";
    app.ActiveTarget = root + "Out\\";
    app.Settings.CopyOrMove = mode;
    FetchFiles(app);
    ListRemoveAllRows(ListStatus);
    double seconds = BenchTimedSort(app);
    app.History = HistoryLog();
    StatusListRecordInto(nullptr);
    RemoveTree(root);
    return seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || !BenchWindowOpen())
        return 1;
    std::string base = argv[1];
    AppState app;
    ListViewsBind(&app);
    app.TitleBanner = "Quillet - ";
    app.Settings.DumpLeftOvers = "No";
    app.Settings.LastIndex = "LiberKey";
    for (int i = 0; i < Categories; ++i)
        app.IndexList.push_back({"_G" + std::to_string(i % 12) + "\\_K" + std::to_string(i), "Pkg" + std::to_string(i) + "_"});
    double copy = Sort(app, "Copy", base + "Copy\\");
    double move = Sort(app, "Move", base + "Move\\");
    // The fetch tree is made once and kept for the next exe.
    std::string tree = base + "FetchTree\\";
    if (GetFileAttributesA(tree.c_str()) == INVALID_FILE_ATTRIBUTES)
        BenchMakeFetchTree(tree, 100000);
    app.ActiveSource = tree;
    double start = BenchNow();
    FetchFiles(app);
    double fetch = BenchNow() - start;
    std::printf("copy %.3f s, move %.3f s, fetch %.3f s (%d rows)\n", copy, move, fetch, ListCountRows(ListFiles));
    ListRemoveAllRows(ListFiles);
    ListViewsBind(nullptr);
    BenchWindowClose();
    return 0;
}
