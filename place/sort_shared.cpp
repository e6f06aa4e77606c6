#include "place/sort_shared.h"

#include "model/app_state.h"
#include "window/controls.h"
#include "window/list_views.h"
#include "window/off_thread.h"
#include "window/paced_screen.h"
#include "window/status_list.h"

bool SortFoldersUsable(AppState& app)
{
    if (app.ActiveSource.empty() || app.ActiveTarget.empty()) {
        ReportActivity(Activity::SortAborted);
        return false;
    }
    if (app.ActiveSource == app.ActiveTarget) {
        ReportActivity(Activity::SortDisallowed);
        return false;
    }
    return true;
}

void PreviewClear(AppState& app)
{
    if (!app.SortedShowsPreview)
        return;
    app.SortedShowsPreview = false;
    SortedRows().swap(app.Sorted);
    ListViewRefresh(ListSorted, true);
}

std::string PlacementTitle(const std::string& banner, int placed, const std::string& fileName)
{
    return banner + std::to_string(placed) + " " + fileName;
}

void PlacementInHand(PacedScreen& screen, const std::string& banner, int placedBefore, const std::string& fileName,
                     uint64_t size)
{
    if (size >= OffThreadLargeFileBytes())
        PacedScreenSetInHand(screen, PlacementTitle(banner, placedBefore + 1, fileName));
}
