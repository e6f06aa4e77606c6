#include "plan/sort_preview.h"

#include <set>
#include <string>

#include "model/app_state.h"
#include "place/sort_shared.h"
#include "plan/known_by_contents.h"
#include "plan/own_kind.h"
#include "plan/sort_decisions.h"
#include "plan/sort_plan.h"
#include "util/ansi_text.h"
#include "util/count_text.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/paced_screen.h"
#include "window/status_list.h"

namespace {

struct PreviewCount {
    std::set<uint32_t> going;          // packages that would leave the list
    std::set<std::string> folders;     // lower-cased folders they would go to
};

// One row per placement as the plan decides it, shown as it is decided.
void ShowDecisions(AppState& app, SortPlan& plan, PacedScreen& screen, PreviewCount& count)
{
    SortDecide(plan, app, SortLooks::Files, screen, [&](size_t at) {
        const Placement& placement = plan.placements[at];
        KnownReportAt(plan, at);
        if (SortDecisionPlaces(placement.act)) {
            count.going.insert(placement.package);
            count.folders.insert(LowerAnsiText(placement.folder));
        }
        // The package's own name: the rows of one catalogue entry would all
        // read alike with the entry's fragment.
        const std::string& category = app.IndexList[placement.entry].category;
        app.Sorted.push_back({category, plan.packages[placement.package].name, SortDecisionStatus(placement.act), 0});
        ListViewRefresh(ListSorted);
    });
}

std::string PreviewSummary(const PreviewCount& count, int listed, CopyMode mode)
{
    int going = static_cast<int>(count.going.size());
    std::string text = CountText(static_cast<uint64_t>(going), "package", "packages") + " would go to "
                       + CountText(count.folders.size(), "folder", "folders") + ", " + std::to_string(listed - going)
                       + " would not";
    if (mode == CopyMode::Other)
        text += ": the copy mode is neither Copy nor Move, so a sort would copy and move nothing";
    return text;
}

}  // namespace

bool PreviewSort(AppState& app)
{
    if (!SortFoldersUsable(app))
        return false;
    SortPlan plan = PlanSortKnowing(app, OwnKindRows(app, EveryRow(app.Packages)), CopyModeOf(app.Settings.CopyOrMove));
    PacedScreen screen;
    PacedScreenBegin(screen);
    SortedRows().swap(app.Sorted);
    app.SortedShowsPreview = true;
    ListViewRefresh(ListSorted, true);
    PreviewCount count;
    if (plan.mode != CopyMode::Other)
        ShowDecisions(app, plan, screen, count);
    if (!app.Sorted.empty())
        PacedScreenKeepInView(screen, ListSorted, 0);
    PacedScreenEnd(screen);
    ReportActivity(Activity::SortPreview, PreviewSummary(count, app.Packages.Count(), plan.mode));
    return plan.mode != CopyMode::Other;
}
