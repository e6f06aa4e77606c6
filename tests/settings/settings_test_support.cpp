#include "settings/settings_test_support.h"

#include "support/temp_folder.h"

std::vector<std::string> DefaultSettingsLines()
{
    const std::string rule = "; " + std::string(87, '-');
    return {
        ";  ",
        rule,
        "[Program Options]",
        rule,
        ";  ",
        "Last Index = Liberkey",
        "Copy Or Move = Copy",
        "Dump LeftOvers = Yes",
        ";  ",
        rule,
        "[File Sort Paths]",
        rule,
        ";  ",
        "Liberkey Source Path = C:\\Users\\Obrell\\Downloads\\FlashGet Downloads\\_Portable Software "
        "Collections\\Liberkey\\Files\\",
        "Liberkey Target Path = C:\\Users\\Obrell\\Downloads\\Quillet\\LiberKey\\",
        "PortableApps Source Path = C:\\Users\\Obrell\\Downloads\\FlashGet Downloads\\_Portable Software "
        "Collections\\PortableApps.com\\",
        "PortableApps Target Path = C:\\Users\\Obrell\\Downloads\\Quillet\\PortableApps\\",
        "Android Source Path = C:\\Users\\Obrell\\Downloads\\FlashGet Downloads\\Android\\Applications\\",
        "Android Target Path = C:\\Users\\Obrell\\Downloads\\Quillet\\Android\\",
    };
}

std::string JoinedLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::string SettingsFileText(const Settings& s)
{
    return JoinedLines({
        "[Program Options]",
        "Last Index = " + s.LastIndex,
        "Copy Or Move = " + s.CopyOrMove,
        "Dump LeftOvers = " + s.DumpLeftOvers,
        "[File Sort Paths]",
        "Liberkey Source Path = " + s.LiberkeySourcePath,
        "Liberkey Target Path = " + s.LiberkeyTargetPath,
        "PortableApps Source Path = " + s.PortableAppsSourcePath,
        "PortableApps Target Path = " + s.PortableAppsTargetPath,
        "Android Source Path = " + s.AndroidSourcePath,
        "Android Target Path = " + s.AndroidTargetPath,
    });
}

std::set<std::string> FolderEntries(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != ".." && name != TargetLockFileName)
            names.insert(name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

ULONGLONG LastWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

void SetLastWriteTimeLongAgo(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    SYSTEMTIME longAgo = {2001, 1, 1, 1, 12, 0, 0, 0};
    FILETIME time;
    SystemTimeToFileTime(&longAgo, &time);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

void WriteLiberKeySettings(const std::string& folder, const std::string& copyOrMove, const std::string& source,
                           const std::string& target)
{
    Settings values;
    values.LastIndex = "LiberKey";
    values.CopyOrMove = copyOrMove;
    values.DumpLeftOvers = "No";
    values.LiberkeySourcePath = folder + source;
    values.LiberkeyTargetPath = folder + target;
    WriteFileBytes(folder + "Quillet.Ini", SettingsFileText(values));
}
