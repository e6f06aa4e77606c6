#include "app/command_run.h"

#include "model/app_state.h"
#include "sorting/older_versions.h"
#include "sorting/sort_plan.h"
#include "sorting/sort_preview.h"
#include "sorting/sort_run.h"
#include "window/status_list.h"

void CommandRunReportUnknown(const CommandLine& line)
{
    for (const std::string& option : line.unknown)
        ReportActivity(Activity::UnknownOption, option);
}

int CommandRunOnce(AppState& app, const CommandLine& line)
{
    // An option not understood may have meant to change what is sorted.
    if (!line.unknown.empty())
        return ExitCouldNotSort;
    if (line.mode == RunMode::Preview)
        return PreviewSort(app) ? ExitDone : ExitCouldNotSort;
    if (line.mode == RunMode::Tidy) {
        OlderOutcome tidied = PutOlderVersionsAside(app);
        return !tidied.done ? ExitCouldNotSort : tidied.failed > 0 ? ExitSomeFailed : ExitDone;
    }
    SortOutcome outcome = RunSortOfRows(app, EveryRow(app.Packages));
    if (!outcome.sorted)
        return ExitCouldNotSort;
    return outcome.failed > 0 ? ExitSomeFailed : ExitDone;
}
