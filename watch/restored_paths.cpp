#include "watch/restored_paths.h"

#include <windows.h>

#include <string_view>
#include <vector>

#include "history/history_line.h"
#include "util/ansi_text.h"
#include "util/scoped_handle.h"

namespace {

// Undone: time, run, "Undone", sort id, number, result, placed file, package, ...
const size_t UndoneKind = 2, UndoneResult = 5, UndonePackage = 7;
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
        if (fields.size() > UndonePackage && fields[UndoneKind] == "Undone" && fields[UndoneResult] == "done")
            watch.restored.insert(LowerAnsiText(std::string(fields[UndonePackage])));
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
        auto restored = watch.restored.find(LowerAnsiText(at->first));
        if (restored == watch.restored.end()) {
            ++at;
            continue;
        }
        watch.handled.insert({at->first, at->second.size, at->second.lastWriteTime});
        watch.restored.erase(restored);
        at = watch.waiting.erase(at);
    }
}
