#include "history/history_line.h"

#include <windows.h>

#include <cstdio>

std::string HistoryField(std::string text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return text;
}

std::string HistoryTimeNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    return text;
}

std::string HistoryLineText(const std::string& time, const std::string& runId,
                            const std::vector<std::string>& fields)
{
    std::string line = time;
    line += '\t';
    line += HistoryField(runId);
    for (const std::string& field : fields) {
        line += '\t';
        line += HistoryField(field);
    }
    line += "\r\n";
    return line;
}

void HistorySplitFields(std::string_view line, std::vector<std::string_view>* fields)
{
    fields->clear();
    for (;;) {
        size_t tab = line.find('\t');
        fields->push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return;
        line.remove_prefix(tab + 1);
    }
}

bool HistoryIsTime(std::string_view text)
{
    const char shape[] = "0000-00-00 00:00:00";
    if (text.size() != sizeof shape - 1)
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool digit = text[i] >= '0' && text[i] <= '9';
        if (shape[i] == '0' ? !digit : text[i] != shape[i])
            return false;
    }
    return true;
}

bool HistoryNumber(std::string_view text, unsigned long long* value)
{
    if (text.empty() || text.size() > 19)
        return false;
    unsigned long long number = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        number = number * 10 + static_cast<unsigned>(c - '0');
    }
    *value = number;
    return true;
}
