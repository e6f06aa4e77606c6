#include "sorting/sort_preview.h"

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/app_state.h"
#include "sorting/duplicate_file.h"
#include "sorting/held_folders.h"
#include "sorting/own_kind.h"
#include "sorting/placement_checks.h"
#include "sorting/sort_plan.h"
#include "sorting/sort_shared.h"
#include "util/ansi_text.h"
#include "util/final_path.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/off_thread.h"
#include "window/paced_screen.h"
#include "window/status_list.h"

namespace {

// What a placement would come to, in the order of the texts below.
enum Forecast { WouldCopy, WouldMove, WouldOverwrite, AlreadyThere, WouldFail };

// The Status column is 70 pixels wide, about seven characters inside the
// cell's margins: longer texts would be cut to "Would m..." and "Would f...",
// which look alike.
const char* const ForecastStatus[] = {"Copy", "Move", "Replace", "Twin", "Fail"};

// The preview walks the plan as the sort would, keeping in mind what the
// placements before would have changed on disk.
struct Forecaster {
    const SortPlan& plan;
    PacedScreen& screen;
    std::map<std::string, uint32_t> written;  // lower-cased destination: the package put there
    std::vector<bool> gone;                    // the package would have left its folder
    std::map<std::string, bool> blocked = {};  // lower-cased folder: a file stands where it must be
    HeldFolders roots = {};                    // the source and the target, resolved
    std::map<std::string, bool> outside = {};  // folder: it leads out of the source or the target
};

enum class PathKind { None, File, Folder };

PathKind KindOf(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::None;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

std::string SourceOf(const Forecaster& run, uint32_t package)
{
    const PlannedPackage& planned = run.plan.packages[package];
    return planned.folder + planned.name;
}

// Whether a file stands where the folder (ending with "\") or one of its
// parents must be, so that the folder cannot be made. Walks up to the first
// level that is there.
bool FolderBlocked(Forecaster& run, const std::string& folder)
{
    std::string key = LowerAnsiText(folder);
    auto known = run.blocked.find(key);
    if (known != run.blocked.end())
        return known->second;
    bool blocked = false;
    std::string level = folder;
    while (level.size() > 1 && AnsiEndsWithBackslash(level)) {
        level.pop_back();
        PathKind kind = KindOf(level);
        if (kind != PathKind::None) {
            blocked = kind == PathKind::File;
            break;
        }
        size_t parent = AnsiFindLastBackslash(level);
        if (parent == std::string::npos)
            break;
        level.resize(parent + 1);
    }
    run.blocked[key] = blocked;
    return blocked;
}

// Whether the file found at the destination has another long name: the
// package's name is a short-name alias of it, and the sort leaves it alone.
bool AnotherFileThere(const Forecaster& run, uint32_t package, const std::string& destination)
{
    return !FoundNameIs(destination, run.plan.packages[package].name);
}

// Whether the package's folder or the placement's leads out of the source or
// the target, where the sort would refuse to go.
bool LeadsOut(Forecaster& run, const Placement& placement)
{
    const std::string& from = run.plan.packages[placement.package].folder;
    auto source = run.outside.emplace("<" + from, false);
    if (source.second)
        source.first->second = HeldFoldersForeseeOutside(run.roots, from, true);
    auto target = run.outside.emplace(">" + placement.folder, false);
    if (target.second)
        target.first->second = HeldFoldersForeseeOutside(run.roots, placement.folder, false);
    return source.first->second || target.first->second;
}

// A copy overwrites whatever file stands there, but fails onto a folder and
// onto the package itself.
Forecast ForecastCopy(Forecaster& run, uint32_t package, const std::string& destination)
{
    std::string source = SourceOf(run, package);
    if (KindOf(source) != PathKind::File)
        return WouldFail;
    std::string key = LowerAnsiText(destination);
    // The package would be copied onto itself (the target lies in the source).
    if (key == LowerAnsiText(source))
        return WouldFail;
    auto earlier = run.written.find(key);
    if (earlier != run.written.end()) {
        // A copy of this package made a moment before is only made again.
        Forecast forecast = earlier->second == package ? WouldCopy : WouldOverwrite;
        earlier->second = package;
        return forecast;
    }
    PathKind there = KindOf(destination);
    if (there == PathKind::Folder
        || (there == PathKind::File
            && (AnotherFileThere(run, package, destination) || IsSameFile(destination, source)
                || ReplaceRefusal(destination))))
        return WouldFail;
    run.written[key] = package;
    return there == PathKind::File ? WouldOverwrite : WouldCopy;
}

// A move fails onto anything that stands there, except a separate identical
// copy, which makes the sort remove the package from its folder instead.
Forecast ForecastMove(Forecaster& run, uint32_t package, const std::string& destination)
{
    std::string source = SourceOf(run, package);
    if (run.gone[package] || KindOf(source) != PathKind::File)
        return WouldFail;
    std::string key = LowerAnsiText(destination);
    auto earlier = run.written.find(key);
    PathKind there = earlier != run.written.end() ? PathKind::File : KindOf(destination);
    if (there == PathKind::None) {
        run.written[key] = package;
        run.gone[package] = true;
        return WouldMove;
    }
    if (there == PathKind::Folder || (earlier == run.written.end() && AnotherFileThere(run, package, destination)))
        return WouldFail;
    // Moving a file onto itself succeeds and changes nothing.
    if (earlier == run.written.end() && IsSameFile(destination, source))
        return WouldMove;
    std::string standing = earlier != run.written.end() ? SourceOf(run, earlier->second) : destination;
    uint64_t size = run.plan.packages[package].size;
    if (!OffThreadCall(run.screen, size, [&] { return IsSeparateIdenticalCopy(standing, source); }))
        return WouldFail;
    run.gone[package] = true;
    return AlreadyThere;
}

struct PreviewCount {
    std::set<uint32_t> going;          // packages that would leave the list
    std::set<std::string> folders;     // lower-cased folders they would go to
};

void ShowForecasts(AppState& app, const SortPlan& plan, PacedScreen& screen, PreviewCount& count)
{
    Forecaster run{plan, screen, {}, std::vector<bool>(plan.packages.size())};
    HeldFoldersBegin(run.roots, app.ActiveSource, app.ActiveTarget, false);
    for (const Placement& placement : plan.placements) {
        const std::string& name = plan.packages[placement.package].name;
        std::string destination = placement.folder + name;
        bool refused = PlacementRefusal(placement.folder, name) || FolderBlocked(run, placement.folder)
                       || LeadsOut(run, placement)
                       || PackageOpenRefusal(SourceOf(run, placement.package), plan.mode == CopyMode::Move);
        Forecast forecast = refused                       ? WouldFail
                            : plan.mode == CopyMode::Copy ? ForecastCopy(run, placement.package, destination)
                                                          : ForecastMove(run, placement.package, destination);
        if (forecast != WouldFail) {
            count.going.insert(placement.package);
            count.folders.insert(LowerAnsiText(placement.folder));
        }
        // The package's own name: the rows of one catalogue entry would all
        // read alike with the entry's fragment.
        const std::string& category = app.IndexList[placement.entry].category;
        app.Sorted.push_back({category, plan.packages[placement.package].name, ForecastStatus[forecast], 0});
        ListViewRefresh(ListSorted);
        PacedScreenDrain(screen);
    }
}

std::string PreviewSummary(const PreviewCount& count, int listed, CopyMode mode)
{
    int going = static_cast<int>(count.going.size());
    std::string text = std::to_string(going) + " packages would go to " + std::to_string(count.folders.size())
                       + " folders, " + std::to_string(listed - going) + " would not";
    if (mode == CopyMode::Other)
        text += ": the copy mode is neither Copy nor Move, so a sort would copy and move nothing";
    return text;
}

}  // namespace

bool PreviewSort(AppState& app)
{
    if (!SortFoldersUsable(app))
        return false;
    SortPlan plan = PlanSortOfRows(app.Packages, OwnKindRows(app, EveryRow(app.Packages)), app.IndexList, app.ActiveTarget,
                                   CopyModeOf(app.Settings.CopyOrMove));
    PacedScreen screen;
    PacedScreenBegin(screen);
    SortedRows().swap(app.Sorted);
    app.SortedShowsPreview = true;
    ListViewRefresh(ListSorted, true);
    PreviewCount count;
    if (plan.mode != CopyMode::Other)
        ShowForecasts(app, plan, screen, count);
    if (!app.Sorted.empty())
        PacedScreenKeepInView(screen, ListSorted, 0);
    PacedScreenEnd(screen);
    ReportActivity(Activity::SortPreview, PreviewSummary(count, app.Packages.Count(), plan.mode));
    return plan.mode != CopyMode::Other;
}
