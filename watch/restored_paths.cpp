#include "watch/restored_paths.h"

#include <windows.h>

#include <string_view>
#include <vector>

#include "history/history_line.h"
#include "util/ansi_text.h"
#include "util/scoped_handle.h"

namespace {

// Undone: time, run, "Undone", sort id, number, result, placed file, package,
// title, text, and (from this version on) the size and last-write time of the
// file put back.
const size_t UndoneKind = 2, UndoneResult = 5, UndonePackage = 7, UndoneSize = 10, UndoneTime = 11;
const uint64_t ReadPiece = 1 << 20;

HANDLE OpenHistory(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

uint64_t SizeOf(HANDLE file)
{
    LARGE_INTEGER size;
    return GetFileSizeEx(file, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
}

// Takes the whole lines of the text; returns how many bytes they fill.
size_t TakeLines(ArrivalWatch& watch, const std::string& text)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        // A line whose check fails is no record.
        std::string_view body;
        if (!HistoryLineBody(std::string_view(text).substr(start, end - start), &body))
            continue;
        HistorySplitFields(body, &fields);
        if (fields.size() <= UndonePackage || fields[UndoneKind] != "Undone" || fields[UndoneResult] != "done")
            continue;
        unsigned long long size = 0, time = 0;
        if (fields.size() > UndoneTime
            && (!HistoryNumber(fields[UndoneSize], &size) || !HistoryNumber(fields[UndoneTime], &time)))
            size = time = 0;
        watch.restored[LowerAnsiText(std::string(fields[UndonePackage]))] = {size, time};
    }
    return start;
}

}  // namespace

void RestoredPathsBegin(ArrivalWatch& watch, const std::string& historyPath)
{
    ScopedHandle file(OpenHistory(historyPath));
    watch.historyRead = file.Valid() ? SizeOf(file.Get()) : 0;
    watch.restored.clear();
}

void RestoredPathsFollow(ArrivalWatch& watch, const std::string& historyPath)
{
    ScopedHandle file(OpenHistory(historyPath));
    if (!file.Valid())
        return;
    uint64_t size = SizeOf(file.Get());
    // A history put aside and begun anew is read from its start.
    if (size < watch.historyRead)
        watch.historyRead = 0;
    while (watch.historyRead < size) {
        uint64_t length = size - watch.historyRead < ReadPiece ? size - watch.historyRead : ReadPiece;
        std::string text(static_cast<size_t>(length), '\0');
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(watch.historyRead);
        DWORD read = 0;
        if (!SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN)
            || !ReadFile(file.Get(), &text[0], static_cast<DWORD>(length), &read, nullptr) || read != length)
            return;
        size_t taken = TakeLines(watch, text);
        // A line longer than a piece is passed over whole.
        watch.historyRead += taken > 0 ? taken : (length == ReadPiece ? length : 0);
        if (taken == 0 && length < ReadPiece)
            return;
    }
}

void RestoredPathsTakeWaiting(ArrivalWatch& watch)
{
    if (watch.restored.empty())
        return;
    for (auto at = watch.waiting.begin(); at != watch.waiting.end();) {
        // The file put back, by its path and, where the line names them, its
        // size and time: another download of that name is a new arrival.
        auto restored = watch.restored.find(LowerAnsiText(at->first));
        bool known = restored != watch.restored.end() && restored->second != std::make_pair<uint64_t, uint64_t>(0, 0);
        if (restored == watch.restored.end()
            || (known && restored->second != std::make_pair(at->second.size, at->second.lastWriteTime))) {
            ++at;
            continue;
        }
        watch.handled.insert({at->first, at->second.size, at->second.lastWriteTime});
        watch.restored.erase(restored);
        at = watch.waiting.erase(at);
    }
}
