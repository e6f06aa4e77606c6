#include "catalogue/user_rows_file.h"

#include <windows.h>

#include "settings/settings_file.h"
#include "util/system_error.h"

UserRows UserRowsLoad(const std::string& path, const std::string& indexName, const std::string& target,
                      IndexList* compiled)
{
    // Anything at the path counts, a folder too: it is reported as unreadable.
    if (path.empty() || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return UserRows();
    std::string bytes;
    if (!ReadFileOnly(path, &bytes)) {
        DWORD error = GetLastError();
        UserRows unread;
        unread.lines.push_back({Activity::UserRowsNotRead, path + "  " + ErrorTextOrCode(error)});
        return unread;
    }
    return UserRowsFromText(bytes, indexName, path, target, compiled);
}

bool UserRowsFileExists(const std::string& path)
{
    DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
