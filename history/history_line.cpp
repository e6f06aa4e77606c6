#include "history/history_line.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <utility>

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

namespace {

const size_t CheckDigits = 8;

std::array<uint32_t, 256> Crc32Table()
{
    std::array<uint32_t, 256> table;
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

// CRC-32 as zip and PNG compute it (reflected, polynomial 0xEDB88320).
uint32_t Crc32(std::string_view bytes)
{
    static const std::array<uint32_t, 256> table = Crc32Table();
    uint32_t crc = 0xFFFFFFFFu;
    for (char byte : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::string CheckText(std::string_view bytes)
{
    char text[CheckDigits + 1];
    std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(Crc32(bytes)));
    return text;
}

}  // namespace

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
    return HistoryFramed(std::move(line));
}

std::string HistoryFramed(std::string text)
{
    std::string check = CheckText(text);
    text += '\t';
    text += check;
    text += "\r\n";
    return text;
}

bool HistoryLineBody(std::string_view line, std::string_view* body)
{
    if (line.size() < CheckDigits + 1 || line[line.size() - CheckDigits - 1] != '\t')
        return false;
    std::string_view text = line.substr(0, line.size() - CheckDigits - 1);
    uint32_t check = 0;
    for (char c : line.substr(text.size() + 1)) {
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0)
            return false;
        check = check << 4 | static_cast<uint32_t>(digit);
    }
    if (check != Crc32(text))
        return false;
    *body = text;
    return true;
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
