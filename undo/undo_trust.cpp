#include "undo/undo_trust.h"

#include <map>
#include <string>

#include "catalogue/index_table.h"
#include "catalogue/source_scan.h"
#include "history/history_read.h"
#include "model/app_state.h"
#include "util/device_names.h"
#include "util/file_facts.h"
#include "util/final_path.h"

namespace {

// Putting older versions aside works in the target alone, which its line
// names as both source and target: only the target is compared.
bool SameFolders(const HistorySortLine& sort, const std::string& source, const std::string& target)
{
    if (sort.mode == "Older")
        return !target.empty() && sort.source == target && sort.target == target;
    return !source.empty() && !target.empty() && source != target && sort.source == source && sort.target == target;
}

// The sort's folders, resolved once, and each folder a record names resolved
// once: a sort of many packages names few folders.
struct Roots {
    std::string source, target;
    std::string finalSource, finalTarget;
    std::map<std::string, std::string> resolved = {};
};

// The folder's final path, through its deepest existing level (a package's
// folder or a category folder may be gone since the sort); empty when it does
// not resolve.
std::string FinalOrEmpty(const std::string& folder)
{
    std::string finalPath;
    return FinalPathOfFolder(folder, &finalPath, MissingLevels::Appended) ? finalPath : std::string();
}

const std::string& Resolved(Roots& roots, const std::string& folder)
{
    auto found = roots.resolved.find(folder);
    if (found == roots.resolved.end())
        found = roots.resolved.emplace(folder, FinalOrEmpty(folder)).first;
    return found->second;
}

bool RawPrefix(const std::string& path)
{
    return path.compare(0, 2, "\\\\") == 0;
}

// Whether the path lies below the folder as written, with no device name in
// the part below it and no prefix ("\\?\", "\\.\", UNC) the folder lacks.
bool PlainBelow(const std::string& path, const std::string& folder)
{
    if (folder.empty() || path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0)
        return false;
    return !PathHoldsDeviceName(path.substr(folder.size())) && (RawPrefix(folder) || !RawPrefix(path));
}

std::string RecordRefusal(Roots& roots, const PlannedPackage& package, const Placement& placement)
{
    if (!PackageKindOf(package.name))
        return "its record names a file that is not a package, so it is left";
    if (!PlainBelow(package.folder + package.name, roots.source)
        || !PlainBelow(placement.folder + package.name, roots.target))
        return "its record names a device or a path outside the folders of its sort, so it is left";
    if (!PathLiesBelow(roots.finalSource, Resolved(roots, package.folder))
        || !PathLiesBelow(roots.finalTarget, Resolved(roots, placement.folder), false))
        return "its folders lead outside the folders of its sort, so it is left";
    // A short name the system makes carries a "~"; asking the folder for the
    // long name of every placed file would cost a quarter of the undo.
    std::string placed = placement.folder + package.name;
    if (package.name.find('~') != std::string::npos && PathExists(placed) && !FoundNameIs(placed, package.name))
        return "the file in " + placement.folder + " carries another name, so it is left";
    return std::string();
}

void KeepFoldersBelowTarget(Roots& roots, std::vector<std::string>& folders)
{
    std::vector<std::string> kept;
    for (const std::string& folder : folders) {
        if (PlainBelow(folder, roots.target) && PathLiesBelow(roots.finalTarget, Resolved(roots, folder), false))
            kept.push_back(folder);
    }
    folders.swap(kept);
}

}  // namespace

bool UndoSortTrusted(const AppState& app, const HistorySortLine& sort)
{
    if (sort.index == app.Settings.LastIndex && SameFolders(sort, app.ActiveSource, app.ActiveTarget))
        return true;
    const IndexInfo* index = FindIndex(std::string(sort.index));
    return index && SameFolders(sort, app.Settings.*index->source, app.Settings.*index->target);
}

void UndoTrustRecords(HistoryUndo& undo)
{
    SortPlan& plan = undo.plan;
    Roots roots{plan.source, plan.target, FinalOrEmpty(plan.source), FinalOrEmpty(plan.target)};
    for (size_t at = 0; at < plan.placements.size(); ++at) {
        Placement& placement = plan.placements[at];
        if (placement.outcome != PlacementOutcome::Placed && placement.outcome != PlacementOutcome::SourceRemoved)
            continue;
        std::string reason = RecordRefusal(roots, plan.packages[placement.package], placement);
        if (reason.empty())
            continue;
        placement.outcome = PlacementOutcome::NotRun;
        undo.refused.push_back({at, reason});
    }
    KeepFoldersBelowTarget(roots, plan.createdFolders);
}
