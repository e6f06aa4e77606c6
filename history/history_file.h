// The history file on disk: opened for appending only, shared for reading,
// writing and deleting, so that other Quillets append to it at the same time
// and an editor or a backup tool holding it stops nobody; read whole, with
// the same sharing, to find what can be undone.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Above this size at start-up the file is put aside and a new one begun.
constexpr uint64_t HistoryFileLimit = 32ull * 1024 * 1024;

// Opens the file for appending, creating it when missing; INVALID_HANDLE_VALUE
// with the system's error code on failure. A last line left without its end
// (a write cut short) is ended first with a field "(cut short)", so that the
// next line stands alone and the cut one is never read as whole.
HANDLE HistoryFileOpen(const std::string& path, DWORD* error);

// Appends the text in one write. Every write goes to the file's end as it is
// then, whoever else has appended meanwhile.
bool HistoryFileAppend(HANDLE file, const std::string& text, DWORD* error);

// The whole file; false when it cannot be read (a missing file reads empty).
bool HistoryFileRead(const std::string& path, std::string* text);

// When the file is over the limit, renames it to the old file's name,
// replacing an older one, so that the next line begins a new file. The lines
// `carried` picks from the old text (when given) begin the new file.
void HistoryFileRotate(const std::string& path, const std::string& oldPath, uint64_t limit,
                       std::string (*carried)(const std::string& text) = nullptr);
