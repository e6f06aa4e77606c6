#include "app/command_run.h"

#include <windows.h>

#include "app/sort_steps.h"
#include "guard/target_lock.h"
#include "history/history_log.h"
#include "model/app_state.h"
#include "older/older_versions.h"
#include "plan/sort_plan.h"
#include "plan/sort_preview.h"
#include "settings/settings.h"
#include "util/ansi_text.h"
#include "util/file_facts.h"
#include "util/scoped_handle.h"
#include "window/status_list.h"

void CommandRunRefuse(AppState& app, const CommandLine& line)
{
    if (line.unknown.empty() || !SettingsFilePresent(app.SettingsFilePath))
        return;
    HistoryLogSetUp(app.History, app.BaseFolder);
    HistoryRunBegins(app.History);
    ActivityText text = ActivityLineText(Activity::UnknownOption, line.unknown.front());
    HistoryStatusLine(app.History, text.title, text.explanation);
    HistoryRunEnds(app.History);
}

namespace {

// Whether the source's own listing opens. A folder without a single entry (a
// drive's empty root) answers "file not found" and counts as listed.
bool SourceListable(const std::string& source)
{
    if (source.empty())
        return false;
    std::string pattern = WithTrailingBackslash(source) + "*";
    WIN32_FIND_DATAA entry;
    ScopedFind listing(FindFirstFileA(pattern.c_str(), &entry));
    return listing.Valid() || (GetLastError() == ERROR_FILE_NOT_FOUND && PathExists(WithTrailingBackslash(source)));
}

int RunOnce(AppState& app, const CommandLine& line)
{
    if (line.mode == RunMode::Preview)
        return PreviewSort(app) ? ExitDone : ExitCouldNotSort;
    // What changes files in the target waits for another computer's run there.
    TargetLock target;
    if (!TargetLockTake(target, app))
        return ExitCouldNotSort;
    if (line.mode == RunMode::Tidy) {
        OlderOutcome tidied = PutOlderVersionsAside(app);
        return !tidied.done ? ExitCouldNotSort : tidied.failed > 0 ? ExitSomeFailed : ExitDone;
    }
    SortOutcome outcome = RunSortOfRows(app, EveryRow(app.Packages));
    if (!outcome.sorted)
        return ExitCouldNotSort;
    return outcome.failed > 0 ? ExitSomeFailed : ExitDone;
}

}  // namespace

int CommandRunOnce(AppState& app, const CommandLine& line)
{
    // A fetch that listed a package did open the source; only an empty list
    // is asked about, so that a scheduled task learns of a missing drive.
    // Putting older versions aside works on the target alone.
    bool listed = line.mode == RunMode::Tidy || app.Packages.Count() > 0 || SourceListable(app.ActiveSource);
    int exitCode = RunOnce(app, line);
    return listed ? exitCode : ExitCouldNotSort;
}
