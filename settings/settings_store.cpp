#include <windows.h>

#include "model/app_state.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "window/status_list.h"

namespace {

const char ProgramOptionsGroup[] = "Program Options";
const char FileSortPaths[] = "File Sort Paths";
const std::string RuleComment(87, '-');
const char BlankComment[] = " ";

void WriteDefaults(SettingsFile& file, const char* group)
{
    for (const SettingKey& setting : SettingKeys) {
        if (std::string(setting.group) == group)
            file.WriteKey(setting.key, setting.defaultValue);
    }
}

// The window's fields, the fetch and every file name end a text at its first
// NUL byte, so the value does too: what is shown, used and saved is one text.
// The blanks before the cut go as those at the value's end do.
std::string TextBeforeNul(std::string value)
{
    size_t nul = value.find('\0');
    if (nul != std::string::npos) {
        value.erase(nul);
        value.erase(value.find_last_not_of(" \t") + 1);
    }
    return value;
}

}  // namespace

// Anything at all at the path counts, a folder too: then no default file is
// attempted and every open fails and is reported.
bool SettingsFilePresent(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const SettingKey SettingKeys[SettingCount] = {
    {ProgramOptionsGroup, "Last Index", "Liberkey", &Settings::LastIndex},
    {ProgramOptionsGroup, "Copy Or Move", "Copy", &Settings::CopyOrMove},
    {ProgramOptionsGroup, "Dump LeftOvers", "Yes", &Settings::DumpLeftOvers},
    {FileSortPaths, "Liberkey Source Path",
     "C:\\Users\\Obrell\\Downloads\\FlashGet Downloads\\_Portable Software Collections\\Liberkey\\Files\\",
     &Settings::LiberkeySourcePath},
    {FileSortPaths, "Liberkey Target Path", "C:\\Users\\Obrell\\Downloads\\Quillet\\LiberKey\\",
     &Settings::LiberkeyTargetPath},
    {FileSortPaths, "PortableApps Source Path",
     "C:\\Users\\Obrell\\Downloads\\FlashGet Downloads\\_Portable Software Collections\\PortableApps.com\\",
     &Settings::PortableAppsSourcePath},
    {FileSortPaths, "PortableApps Target Path", "C:\\Users\\Obrell\\Downloads\\Quillet\\PortableApps\\",
     &Settings::PortableAppsTargetPath},
    {FileSortPaths, "Android Source Path", "C:\\Users\\Obrell\\Downloads\\FlashGet Downloads\\Android\\Applications\\",
     &Settings::AndroidSourcePath},
    {FileSortPaths, "Android Target Path", "C:\\Users\\Obrell\\Downloads\\Quillet\\Android\\",
     &Settings::AndroidTargetPath},
};

void CreateDefaultSettingsFile(const std::string& settingsFilePath)
{
    SettingsFile file;
    file.Create(settingsFilePath);
    file.AddComment(BlankComment);
    file.AddComment(RuleComment);
    // The group is not there yet: its header comes with the next comment.
    file.SelectGroup(ProgramOptionsGroup);
    file.AddComment(RuleComment);
    file.AddComment(BlankComment);
    WriteDefaults(file, ProgramOptionsGroup);
    file.AddComment(BlankComment);
    file.AddComment(RuleComment);
    file.SelectGroup(FileSortPaths);
    file.AddComment(RuleComment);
    file.AddComment(BlankComment);
    WriteDefaults(file, FileSortPaths);
    file.Close();
}

std::string ReadSetting(const std::string& settingsFilePath, const std::string& group, const std::string& key)
{
    SettingsFile file;
    if (!file.Open(settingsFilePath)) {
        ReportActivity(Activity::CannotOpen, settingsFilePath);
        return std::string();
    }
    file.SelectGroup(group);
    std::string value = TextBeforeNul(file.ReadKey(key, std::string()));
    file.Close();
    return value;
}

void WriteSetting(const std::string& settingsFilePath, const std::string& group, const std::string& key,
                  const std::string& value)
{
    SettingsFile file;
    if (!file.Open(settingsFilePath)) {
        ReportActivity(Activity::CannotOpen, settingsFilePath);
        return;
    }
    file.SelectGroup(group);
    file.WriteKey(key, value);
    // A file that could not be rewritten keeps its old text; the value is as
    // lost as with one that could not be opened.
    if (!file.Close())
        ReportActivity(Activity::CannotOpen, settingsFilePath);
}

void LoadSettings(AppState& app)
{
    if (!SettingsFilePresent(app.SettingsFilePath))
        CreateDefaultSettingsFile(app.SettingsFilePath);
    for (const SettingKey& setting : SettingKeys)
        app.Settings.*setting.field = ReadSetting(app.SettingsFilePath, setting.group, setting.key);
}

void SaveSettings(AppState& app)
{
    // Deleted while the program ran: the defaults come back first, and the
    // nine writes then replace every one of them.
    if (!SettingsFilePresent(app.SettingsFilePath))
        CreateDefaultSettingsFile(app.SettingsFilePath);
    for (const SettingKey& setting : SettingKeys)
        WriteSetting(app.SettingsFilePath, setting.group, setting.key, app.Settings.*setting.field);
}
