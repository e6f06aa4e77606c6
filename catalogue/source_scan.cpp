#include "catalogue/source_scan.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "app/ansi_text.h"
#include "app/app_state.h"
#include "app/control_ops.h"
#include "app/controls.h"
#include "app/event_loop.h"
#include "app/icon_slots.h"
#include "app/status_list.h"

namespace {

// In the order of the tests: the first ending that fits decides.
const PackageKind PackageKinds[] = {
    {".lks", ImageLiberkeyPackage},
    {".paf.exe", ImagePortableAppsPackage},
    {".apk", ImageAndroidPackage},
};

// The longest ending; only that many characters of a name are looked at.
const size_t LongestEnding = 8;

bool IsDotEntry(const char* name)
{
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

std::string ListingPattern(const std::string& folder)
{
    return WithTrailingBackslash(folder) + "*.*";
}

void ListPackage(AppState& app, const std::string& prefix, const char* name, const PackageKind& kind, int count)
{
    ListAddRow(ListFiles, -1, prefix + "\n" + name, kind.imageSlot);
    SetWindowTitle(FetchTitleText(app.TitleBanner, count, app.Settings.LastIndex));
    ListSetRowColour(ListFiles, count - 1, NextRowShade(app.RowShading));
}

// Lists one folder: its packages become rows at once, its sub-folders are
// queued to be walked next. An unreadable folder is passed over.
void ListFolder(AppState& app, const std::string& folder, int& count)
{
    WIN32_FIND_DATAA entry;
    HANDLE listing = FindFirstFileA(ListingPattern(folder).c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE)
        return;
    std::string prefix = folder + "\\";
    std::vector<std::string> subfolders;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!IsDotEntry(entry.cFileName))
                subfolders.push_back(prefix + entry.cFileName);
            continue;
        }
        // Keeps the window painted; whatever the user did meanwhile is dropped.
        EventDrain();
        if (const PackageKind* kind = PackageKindOf(entry.cFileName))
            ListPackage(app, prefix, entry.cFileName, *kind, ++count);
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
    FolderQueueAddSubfolders(app.FolderQueue, subfolders);
}

// Whether the folder is walked now: not when this scan has listed it before
// under another path. A folder that does not say who it is gets walked.
bool FirstVisit(FolderQueue& queue, const std::string& folder)
{
    FolderIdentity identity;
    return !FolderIdentityOf(folder, &identity) || FolderQueueMarkListed(queue, identity);
}

}  // namespace

const PackageKind* PackageKindOf(const std::string& fileName)
{
    size_t tail = fileName.size() < LongestEnding ? fileName.size() : LongestEnding;
    std::string lowered = AnsiLower(fileName.substr(fileName.size() - tail));
    for (const PackageKind& kind : PackageKinds) {
        size_t length = std::strlen(kind.ending);
        if (lowered.size() >= length && lowered.compare(lowered.size() - length, length, kind.ending) == 0)
            return &kind;
    }
    return nullptr;
}

std::string FetchTitleText(const std::string& banner, int count, const std::string& indexName)
{
    return banner + std::to_string(count) + "  " + indexName + " Files found";
}

unsigned long NextRowShade(bool& shading)
{
    shading = !shading;
    return shading ? RowShadeDark : RowShadeLight;
}

std::string ScanRootOf(const std::string& source)
{
    if (!source.empty() && source.back() == '\\')
        return source.substr(0, source.size() - 1);
    return source;
}

void FetchFiles(AppState& app)
{
    ListRemoveAllRows(ListFiles);
    ListRemoveAllRows(ListSorted);
    std::string source = CtlGetText(FieldActiveSource);
    if (source.empty()) {
        ReportActivity(Activity::SourceAbort);
        return;
    }
    ReportActivity(Activity::FetchingFiles, source);

    FolderQueueStart(app.FolderQueue, ScanRootOf(source));
    int count = 0;
    std::string folder;
    while (FolderQueueTake(app.FolderQueue, &folder)) {
        if (FirstVisit(app.FolderQueue, folder))
            ListFolder(app, folder, count);
    }
    ReportActivity(Activity::FinishedFetching, app.Settings.LastIndex);
}
