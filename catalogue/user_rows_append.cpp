#include "catalogue/user_rows_append.h"

#include <windows.h>

#include "settings/settings_document.h"
#include "settings/settings_file.h"
#include "util/ansi_text.h"
#include "util/scoped_handle.h"
#include "util/system_error.h"

namespace {

const char LineEnd[] = "\r\n";
const char HeadComment[] = "; My own catalogue rows for Quillet: a group per collection, then fragment = category";

bool EndsWithLineEnd(const std::string& text)
{
    return !text.empty() && (text.back() == '\r' || text.back() == '\n');
}

bool LastGroupIs(const SettingsDocument& document, const std::string& indexName)
{
    for (auto line = document.lines.rbegin(); line != document.lines.rend(); ++line) {
        if (line->kind == SettingsLineKind::Group)
            return EqualsIgnoringAsciiCase(line->text, indexName);
    }
    return false;
}

// The system's reason on one line, for the dialog.
std::string Refusal(const std::string& path, DWORD error)
{
    return "cannot add to " + path + ": " + ErrorTextOrCode(error);
}

}  // namespace

std::string UserRowsAppendText(const std::string& current, bool fileExists, const std::string& indexName,
                               const std::string& fragment, const std::string& category)
{
    SettingsDocument document = DocumentParse(current);
    std::string text;
    if (!fileExists)
        text = std::string(HeadComment) + LineEnd;
    else if (!current.empty() && !EndsWithLineEnd(current))
        text = LineEnd;
    if (!LastGroupIs(document, indexName))
        text += "[" + indexName + "]" + LineEnd;
    std::string row = fragment + " = " + category;
    // The file is read as UTF-8 with or without its byte order mark.
    bool utf8 = document.utf8 || IsUtf8BeyondAscii(current);
    text += (utf8 ? Utf8FromAnsiText(row) : row) + LineEnd;
    return text;
}

std::string UserRowsAppend(const std::string& path, const std::string& indexName, const std::string& fragment,
                           const std::string& category)
{
    // Append access without write access: Windows puts every write at the
    // end of the file, wherever the file pointer stands, so no byte already
    // there can be overwritten (Wine does the same: a write after moving the
    // pointer back to the start lands at the end). Others may read meanwhile but not write, so
    // the file cannot change between the look at its end and the write.
    ScopedHandle file(CreateFileA(path.c_str(), FILE_READ_DATA | FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return Refusal(path, GetLastError());
    bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    std::string current;
    if (existed && !ReadWholeFile(file.Get(), &current))
        return Refusal(path, GetLastError());
    std::string text = UserRowsAppendText(current, existed, indexName, fragment, category);
    // Offsets of all ones ask for the end of the file too.
    OVERLAPPED atEnd = {};
    atEnd.Offset = atEnd.OffsetHigh = 0xFFFFFFFF;
    DWORD written = 0;
    if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, &atEnd))
        return Refusal(path, GetLastError());
    if (written != text.size())
        return Refusal(path, ERROR_DISK_FULL);
    // The bytes are the file's once the write returned; the flush only takes
    // them to the disk before the index is loaded again.
    FlushFileBuffers(file.Get());
    return std::string();
}
