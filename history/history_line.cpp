#include "history/history_line.h"

#include <windows.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace {

// Appends the two texts as one field: what HistoryField makes of them,
// without a copy.
void AppendField(std::string& line, std::string_view text, std::string_view more = std::string_view())
{
    size_t start = line.size();
    line.append(text);
    line.append(more);
    size_t end = line.size();
    while (end > start && (line[end - 1] == '\r' || line[end - 1] == '\n'))
        --end;
    line.resize(end);
    for (size_t at = start; at < line.size(); ++at) {
        char& c = line[at];
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
}

}  // namespace

std::string HistoryField(std::string text)
{
    std::string field;
    AppendField(field, text);
    return field;
}

std::string HistoryTimeNow()
{
    // A sort writes lines many times a second: the text is made once a
    // second (the system's clock, to the second, is what keys it). Only the
    // window's thread writes the history.
    static uint64_t second = 0;
    static std::string text;
    FILETIME system;
    GetSystemTimeAsFileTime(&system);
    uint64_t now = ((static_cast<uint64_t>(system.dwHighDateTime) << 32) | system.dwLowDateTime) / 10000000;
    if (now == second && !text.empty())
        return text;
    SYSTEMTIME local;
    GetLocalTime(&local);
    char made[32];
    std::snprintf(made, sizeof made, "%04u-%02u-%02u %02u:%02u:%02u", local.wYear, local.wMonth, local.wDay,
                  local.wHour, local.wMinute, local.wSecond);
    second = now;
    text = made;
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

}  // namespace

std::string HistoryLineText(const std::string& time, const std::string& runId,
                            const std::vector<std::string>& fields)
{
    size_t length = time.size() + runId.size() + CheckDigits + 4;
    for (const std::string& field : fields)
        length += field.size() + 1;
    std::string line;
    line.reserve(length);
    HistoryLineBegin(line, time, runId);
    for (const std::string& field : fields)
        HistoryLineAdd(line, field);
    HistoryLineFrame(line);
    return line;
}

void HistoryLineBegin(std::string& line, const std::string& time, const std::string& runId)
{
    line = time;
    line += '\t';
    AppendField(line, runId);
}

void HistoryLineAdd(std::string& line, std::string_view text, std::string_view more)
{
    line += '\t';
    AppendField(line, text, more);
}

void HistoryLineAddNumber(std::string& line, unsigned long long number)
{
    char digits[24];
    std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, number);
    line += '\t';
    line.append(digits, end.ptr);
}

void HistoryLineFrame(std::string& line)
{
    static const char Hex[] = "0123456789ABCDEF";
    uint32_t crc = Crc32(line);
    char check[CheckDigits + 3] = {'\t'};
    for (size_t digit = 0; digit < CheckDigits; ++digit)
        check[CheckDigits - digit] = Hex[(crc >> (4 * digit)) & 0xF];
    check[CheckDigits + 1] = '\r';
    check[CheckDigits + 2] = '\n';
    line.append(check, sizeof check);
}

std::string HistoryFramed(std::string text)
{
    HistoryLineFrame(text);
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
