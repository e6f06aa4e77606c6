#include "report/leftover_report.h"

#include <windows.h>

#include "model/app_state.h"
#include "plan/own_kind.h"
#include "plan/sort_plan.h"
#include "util/scoped_handle.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/status_list.h"

namespace {

const std::string ListingRule(83, '-');
const char LineEnd[] = "\r\n";

HANDLE CreateLogFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        return file;
    // A hidden or system file refuses CREATE_ALWAYS but can still be emptied.
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

void OnDumpLeftoversChanged(AppState& app)
{
    int state = CtlGetState(CheckDumpLeftovers);
    if (state == 0) {
        app.Settings.DumpLeftOvers = "No";
        ReportActivity(Activity::NoReport);
    } else if (state == 1) {
        app.Settings.DumpLeftOvers = "Yes";
        ReportActivity(Activity::ReportCreated);
    }
}

std::string OrphanListingText(const std::string& indexName, const std::vector<std::string>& paths)
{
    std::string text;
    auto addLine = [&text](const std::string& line) { text += line + LineEnd; };
    addLine(ListingRule);
    addLine("Start of [" + indexName + "] orphan files listing.");
    addLine(ListingRule);
    addLine("");
    for (const std::string& path : paths)
        addLine(path);
    addLine(ListingRule);
    addLine("End of [" + indexName + "] orphan files listing.");
    addLine(ListingRule);
    addLine("");
    return text;
}

void WriteOrphanListing(AppState& app)
{
    // With "own kind only", packages of the other collections' kinds are no
    // leftovers of this one.
    std::vector<int> rows = OwnKindRows(app, EveryRow(app.Packages));
    if (rows.empty())
        return;
    std::vector<std::string> paths;
    paths.reserve(rows.size());
    for (int row : rows)
        paths.push_back(app.Packages.PathOf(row));
    std::string text = OrphanListingText(app.Settings.LastIndex, paths);

    ScopedHandle file(CreateLogFile(app.LogFilePath));
    if (!file.Valid())
        return;
    DWORD written = 0;
    WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
