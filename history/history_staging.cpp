#include "history/history_staging.h"

#include <windows.h>

#include <map>
#include <string_view>
#include <unordered_map>

#include "history/history_line.h"
#include "history/history_log.h"
#include "model/history_log.h"
#include "util/this_process.h"

namespace {

using Fields = std::vector<std::string_view>;

const size_t StagingFields = 8, UnstagedFields = 5, SortFields = 7;

struct Read {
    std::map<std::string, HistoryStaging> open;           // folder + tab + run id
    std::map<std::string, std::string_view> openLines;    //   and its whole line
    std::unordered_map<std::string_view, std::string_view> sortLines;  // run id: the sort's start line
};

std::string Key(std::string_view folder, std::string_view runId)
{
    return std::string(folder) + "\t" + std::string(runId);
}

void TakeStaging(Read& read, std::string_view whole, const Fields& f)
{
    unsigned long long processId = 0, created = 0;
    if (!HistoryNumber(f[5], &processId) || !HistoryNumber(f[6], &created) || processId > 0xFFFFFFFFull)
        return;
    HistoryStaging staging;
    staging.folder = std::string(f[3]);
    staging.computer = std::string(f[4]);
    staging.runId = std::string(f[1]);
    staging.sortId = std::string(f[7]);
    staging.processId = static_cast<unsigned long>(processId);
    staging.created = created;
    std::string key = Key(f[3], f[1]);
    read.open[key] = staging;
    read.openLines[key] = whole;
}

// Every line whose check holds, each whole (with its check) and as fields.
template <typename Take>
void EachLine(const std::string& text, Take take)
{
    std::string_view rest(text);
    Fields f;
    for (size_t end; (end = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(end + 1)) {
        std::string_view line = rest.substr(0, end), body;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!HistoryLineBody(line, &body))
            continue;
        HistorySplitFields(body, &f);
        if (f.size() >= 3 && HistoryIsTime(f[0]) && !f[1].empty())
            take(line, f);
    }
}

Read ReadStaging(const std::string& text)
{
    Read read;
    EachLine(text, [&](std::string_view line, const Fields& f) {
        if (f[2] == "Staging" && f.size() == StagingFields)
            TakeStaging(read, line, f);
        else if (f[2] == "Unstaged" && f.size() == UnstagedFields) {
            read.open.erase(Key(f[3], f[4]));
            read.openLines.erase(Key(f[3], f[4]));
        } else if (f[2] == "Sort" && f.size() == SortFields && !read.sortLines.count(f[1]))
            read.sortLines[f[1]] = line;
    });
    return read;
}

}  // namespace

void HistoryStagingNamed(HistoryLog& log, const std::string& folder, const std::string& sortId)
{
    HistoryWriteLine(log, {"Staging", folder, ThisComputerName(), std::to_string(GetCurrentProcessId()),
                           std::to_string(ThisProcessCreated()), sortId});
    HistoryFlush(log);
}

void HistoryStagingEnded(HistoryLog& log, const std::string& folder, const std::string& runId)
{
    HistoryWriteLine(log, {"Unstaged", folder, runId});
}

std::vector<HistoryStaging> HistoryUnsettledStaging(const std::string& text)
{
    Read read = ReadStaging(text);
    std::vector<HistoryStaging> unsettled;
    Fields f;
    for (auto& open : read.open) {
        HistoryStaging staging = open.second;
        auto sort = read.sortLines.find(staging.sortId);
        if (sort != read.sortLines.end()) {
            std::string_view body;
            HistoryLineBody(sort->second, &body);
            HistorySplitFields(body, &f);
            staging.sortKnown = true;
            staging.sortTime = std::string(f[0]);
            staging.sortIndex = std::string(f[3]);
            staging.sortMode = std::string(f[4]);
            staging.sortSource = std::string(f[5]);
            staging.sortTarget = std::string(f[6]);
        }
        unsettled.push_back(staging);
    }
    return unsettled;
}

std::string HistoryUnsettledLines(const std::string& text)
{
    Read read = ReadStaging(text);
    std::string lines;
    for (const auto& open : read.openLines) {
        auto sort = read.sortLines.find(read.open[open.first].sortId);
        if (sort != read.sortLines.end())
            lines += std::string(sort->second) + "\r\n";
        lines += std::string(open.second) + "\r\n";
    }
    return lines;
}
