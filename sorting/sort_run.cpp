#include "sorting/sort_run.h"

#include <windows.h>

#include <vector>

#include "app/app_state.h"
#include "app/control_ops.h"
#include "app/controls.h"
#include "app/paced_screen.h"
#include "app/status_list.h"
#include "sorting/duplicate_file.h"
#include "sorting/folder_tree.h"
#include "sorting/leftover_report.h"
#include "sorting/name_match.h"
#include "sorting/package_file_ops.h"
#include "sorting/system_error.h"

namespace {

struct SortRunState {
    AppState& app;
    std::string target;
    int placed = 0;
    PacedScreen screen;
};

// One file-list row while the run works on it.
struct PackageRow {
    int row;
    std::string folder;    // ends with "\"
    std::string fileName;
    bool removed = false;  // the row leaves the file list at most once
};

void RemoveRowOnce(PackageRow& package)
{
    if (package.removed)
        return;
    ListRemoveRow(ListFiles, package.row);
    package.removed = true;
}

void RecordPlacement(SortRunState& run, PackageRow& package, const IndexEntry& entry, Activity line)
{
    ++run.placed;
    PacedScreenDrain(run.screen);
    ListAddRow(ListSorted, -1, entry.category + "\n" + entry.name + "\nOkay");
    PacedScreenSetTitle(run.screen, PlacementTitle(run.app.TitleBanner, run.placed, package.fileName));
    RemoveRowOnce(package);
    PacedScreenKeepInView(run.screen, ListSorted, ListCountRows(ListSorted) - 1);
    ReportActivity(line, package.fileName);
}

void CopyPackage(SortRunState& run, PackageRow& package, const IndexEntry& entry, const std::string& destination)
{
    std::string source = package.folder + package.fileName;
    if (CopyPackageFile(source, destination).done) {
        RecordPlacement(run, package, entry, Activity::FileCopied);
        return;
    }
    PacedScreenDrain(run.screen);
    ReportActivity(Activity::CannotCopy, package.fileName);
}

void MovePackage(SortRunState& run, PackageRow& package, const IndexEntry& entry, const std::string& destination)
{
    std::string source = package.folder + package.fileName;
    PackageFileResult moved = MovePackageFile(source, destination);
    if (moved.done) {
        RecordPlacement(run, package, entry, Activity::FileMoved);
        return;
    }
    // The code was taken right at the failed move, before anything else could
    // change the thread's last error.
    std::string reason = SystemErrorText(moved.error);
    PacedScreenDrain(run.screen);
    // The package already lies at its destination. Only a separate file with
    // the very same bytes makes the source redundant: anything else there (a
    // copy cut short, another program's file of that name) must not cost the
    // user the package.
    if (IsSeparateIdenticalCopy(destination, source)) {
        DeleteFileA(source.c_str());
        RemoveRowOnce(package);
    }
    ReportActivity(Activity::CannotMove, package.fileName + "  " + reason);
}

void PlaceByEntry(SortRunState& run, PackageRow& package, const IndexEntry& entry)
{
    // The target is taken as it is: it is expected to end with "\".
    std::string folder = run.target + entry.category + "\\";
    CreateFolderTree(folder);
    const std::string& mode = run.app.Settings.CopyOrMove;
    if (mode == "Copy")
        CopyPackage(run, package, entry, folder + package.fileName);
    else if (mode == "Move")
        MovePackage(run, package, entry, folder + package.fileName);
}

}  // namespace

std::string PlacementTitle(const std::string& banner, int placed, const std::string& fileName)
{
    return banner + std::to_string(placed) + " " + fileName;
}

void RunSort(AppState& app)
{
    std::string source = CtlGetText(FieldActiveSource);
    std::string target = CtlGetText(FieldActiveTarget);
    if (source.empty() || target.empty()) {
        ReportActivity(Activity::SortAborted);
        return;
    }
    if (source == target) {
        ReportActivity(Activity::SortDisallowed);
        return;
    }

    SortRunState run{app, target, 0, PacedScreen()};
    std::vector<std::string> nameKeys = EntryNameKeys(app.IndexList);
    PacedScreenBegin(run.screen);
    // Bottom row first: removing a row never moves one still to be visited.
    for (int row = ListCountRows(ListFiles) - 1; row >= 0; --row) {
        PackageRow package{row, ListRowText(ListFiles, row, 0), ListRowText(ListFiles, row, 1)};
        for (size_t entry : MatchingEntries(nameKeys, package.fileName))
            PlaceByEntry(run, package, app.IndexList[entry]);
    }
    PacedScreenEnd(run.screen);
    ReportActivity(Activity::SortFinished);

    if (ListCountRows(ListFiles) > 0 && app.Settings.DumpLeftOvers == "Yes")
        WriteOrphanListing(app);
}
