#include "catalogue/row_from_window.h"

#include <windows.h>

#include <algorithm>

#include "catalogue/catalogue.h"
#include "catalogue/index_load.h"
#include "catalogue/index_table.h"
#include "catalogue/source_scan.h"
#include "catalogue/user_rows.h"
#include "catalogue/user_rows_append.h"
#include "model/app_state.h"
#include "util/ansi_text.h"
#include "util/package_version.h"
#include "util/system_error.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/open_in_editor.h"
#include "window/row_dialog.h"
#include "window/status_list.h"

namespace {

// What a fragment typed in the dialog cannot be: the file would read the
// line otherwise than it was typed, or not as a row at all.
std::string FragmentFormatFault(const std::string& fragment)
{
    if (fragment.find('=') != std::string::npos)
        return "a fragment cannot hold \"=\"";
    if (!fragment.empty() && (fragment.front() == ';' || fragment.front() == '['))
        return "a fragment cannot begin with \";\" or \"[\"";
    if (!fragment.empty() && (fragment.front() == ' ' || fragment.front() == '\t'))
        return "a fragment cannot begin with a blank";
    for (char c : fragment) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            return "a fragment cannot hold a line end";
    }
    return std::string();
}

bool ComesFirst(const std::string& a, const std::string& b)
{
    std::string lowerA = LowerAnsiText(a);
    std::string lowerB = LowerAnsiText(b);
    return lowerA != lowerB ? lowerA < lowerB : a < b;
}

// Selects the package of that path in the packages list, or the last one
// when it is not listed (none followed the package just handled).
void SelectLeftover(const AppState& app, const std::string& path)
{
    int count = app.Packages.Count();
    int row = count - 1;
    for (int at = 0; at < count && !path.empty(); ++at) {
        if (app.Packages.PathOf(at) == path) {
            row = at;
            break;
        }
    }
    if (row >= 0)
        ListSelectRow(ListFiles, row);
}

}  // namespace

std::string RowFragmentFromFileName(const std::string& fileName)
{
    if (size_t app = PackageAppLength(fileName))
        return fileName.substr(0, app);
    const PackageKind* kind = PackageKindOf(fileName);
    return kind ? fileName.substr(0, fileName.size() - std::char_traits<char>::length(kind->ending)) : fileName;
}

std::vector<std::string> RowCategories(const std::string& indexName, const IndexList& loaded)
{
    std::vector<std::string> categories;
    for (const char* row = CatalogueFirstRow(indexName); row && !CatalogueRowIsEnd(row); row = CatalogueNextRow(row))
        categories.push_back(SplitCatalogueRow(row).category);
    for (const IndexEntry& entry : loaded)
        categories.push_back(entry.category);
    std::sort(categories.begin(), categories.end(), ComesFirst);
    categories.erase(std::unique(categories.begin(), categories.end()), categories.end());
    return categories;
}

std::string RowAddToFile(const std::string& path, const std::string& indexName, const std::string& target,
                         const std::string& fragment, const std::string& category)
{
    std::string fault = FragmentFormatFault(fragment);
    if (!fault.empty())
        return fault;
    // Read back as the file will read it: the same blanks are dropped. A line
    // end in the category would split the row.
    SettingsDocument row = DocumentParse(fragment + " = " + category);
    if (row.lines.size() != 1 || row.lines[0].kind != SettingsLineKind::Key)
        return "category holds a character file names cannot hold";
    IndexEntry entry;
    fault = UserRowFault(row.lines[0], false, target, &entry);
    if (!fault.empty())
        return fault;
    return UserRowsAppend(path, indexName, entry.name, entry.category);
}

void AddRowForPackage(AppState& app, int row, const std::string& label)
{
    const IndexInfo* index = FindIndex(app.Settings.LastIndex);
    if (!index || row < 0 || row >= app.Packages.Count())
        return;
    const std::string fileName = app.Packages.At(row).name;
    const std::string path = app.UserRowsFilePath;
    const std::string indexName = index->name;
    const std::string target = app.ActiveTarget;
    bool added = RowDialogRun(fileName, label, RowFragmentFromFileName(fileName),
                              RowCategories(indexName, app.IndexList),
                              [&](const std::string& fragment, const std::string& category) {
                                  return RowAddToFile(path, indexName, target, fragment, category);
                              });
    if (!added)
        return;
    // The leftover after this one is a keystroke away once the list is loaded again.
    std::string next = row + 1 < app.Packages.Count() ? app.Packages.PathOf(row + 1) : std::string();
    LoadIndex(app);
    SelectLeftover(app, next);
}

void OpenUserRows(AppState& app)
{
    OpenInEditor(app.UserRowsFilePath, Activity::UserRowsNotOpened);
}
