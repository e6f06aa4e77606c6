#include "plan/known_by_contents.h"

#include <algorithm>

#include "model/app_state.h"
#include "place/held_folders.h"
#include "plan/name_match.h"
#include "plan/package_facts.h"
#include "plan/sort_plan.h"
#include "window/status_list.h"

namespace {

// The contents of a plan's packages, read through the source's folders,
// which are held from the first package read to the plan's end.
struct KnownReading {
    AppState& app;
    bool holding = false;
    HeldFolders held = {};
};

std::vector<std::string> NamesOfRow(KnownReading& reading, int row)
{
    AppState& app = reading.app;
    const Package& package = app.Packages.At(row);
    PackageFormat format = KnownFormatFor(app.Settings.LastIndex, package.name);
    if (format == PackageFormat::Other)
        return {};
    if (!reading.holding) {
        HeldFoldersBegin(reading.held, app.ActiveSource, app.ActiveTarget, false);
        reading.holding = true;
    }
    const std::string& folder = app.Packages.FolderOf(row);
    if (HeldFoldersSource(reading.held, folder))
        return {};
    return KnownNamesOf(PackageFactsInFolder(app.Known, *HeldFolderOf(reading.held, folder), folder, package.name),
                        format);
}

}  // namespace

std::vector<std::string> KnownNamesOf(const PackageFacts& facts, PackageFormat format)
{
    std::vector<std::string> names;
    if (!facts.said)
        return names;
    if (format == PackageFormat::Apk) {
        if (!facts.label.empty()) {
            names.push_back(facts.label + " " + facts.versionName);
            names.push_back(facts.label + "_" + facts.versionName);
        }
        names.push_back(facts.packageId);
    } else if (format == PackageFormat::PafExe) {
        names.push_back(facts.originalFilename);
        names.push_back(facts.productName);
    }
    names.erase(std::remove(names.begin(), names.end(), std::string()), names.end());
    return names;
}

PackageFormat KnownFormatFor(const std::string& indexName, const std::string& fileName)
{
    PackageFormat format = PackageFactsFormat(fileName);
    bool own = (format == PackageFormat::Apk && indexName == "Android")
               || (format == PackageFormat::PafExe && indexName == "PortableApps");
    return own ? format : PackageFormat::Other;
}

SortPlan PlanSortKnowing(AppState& app, const std::vector<int>& rows, CopyMode mode)
{
    KnownReading reading{app};
    return PlanSortOfRows(app.Packages, rows, app.IndexList, app.ActiveTarget, mode,
                          [&](int row) { return NamesOfRow(reading, row); });
}

void KnownReportAt(const SortPlan& plan, size_t at)
{
    uint32_t package = plan.placements[at].package;
    bool first = at == 0 || plan.placements[at - 1].package != package;
    const PlannedPackage& planned = plan.packages[package];
    if (first && !planned.knownAs.empty())
        ReportActivity(Activity::KnownByContents, planned.name + "  is " + planned.knownAs);
}

std::string KnownLabelOfRow(AppState& app, int row)
{
    if (row < 0 || row >= app.Packages.Count())
        return std::string();
    const std::string& name = app.Packages.At(row).name;
    if (PackageFactsFormat(name) != PackageFormat::Apk || !MatchingEntries(EntryNameKeys(app.IndexList), name).empty())
        return std::string();
    return PackageFactsShown(PackageFactsAtPath(app.Known, app.Packages.PathOf(row)).label);
}
