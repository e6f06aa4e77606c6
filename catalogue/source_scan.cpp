#include "catalogue/source_scan.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/app_state.h"
#include "util/ansi_text.h"
#include "util/scoped_handle.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/icon_slots.h"
#include "window/list_views.h"
#include "window/paced_screen.h"
#include "window/status_list.h"

namespace {

// In the order of the tests: the first ending that fits decides.
const PackageKind PackageKinds[] = {
    {".lks", ImageLiberkeyPackage},
    {".paf.exe", ImagePortableAppsPackage},
    {".apk", ImageAndroidPackage},
};

// The longest ending; only that many characters of a name are looked at.
const size_t LongestEnding = 8;

bool IsDotEntry(const std::string& name)
{
    return name == "." || name == "..";
}

// The folder's listing pattern, or empty text when it does not fit the
// 260-byte paths that the program's ANSI calls take: such a folder cannot be
// listed, nor could its packages be sorted.
std::wstring ListingPattern(const std::string& folder)
{
    std::string pattern = WithTrailingBackslash(folder) + "*.*";
    if (pattern.size() >= MAX_PATH)
        return std::wstring();
    wchar_t wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, pattern.c_str(), -1, wide, MAX_PATH))
        return std::wstring();
    return wide;
}

// One fetch under way. Rows and the title change once per listed file; the
// paced screen shows them several times a second, which to the eye is the
// same and costs a small part of what drawing every change would.
struct FetchRun {
    AppState& app;
    PacedScreen screen;
    int listed = 0;
};

void ListPackage(FetchRun& run, const std::string& prefix, const std::string& name, const PackageKind& kind,
                 uint64_t size)
{
    ++run.listed;
    PackageTable& packages = run.app.Packages;
    packages.Insert(-1, prefix, name, kind.imageSlot, size);
    packages.SetColour(packages.Count() - 1, NextRowShade(run.app.RowShading));
    ListViewRefresh(ListFiles);
    PacedScreenSetTitle(run.screen, FetchTitleText(run.app.TitleBanner, run.listed, run.app.Settings.LastIndex));
}

// Lists one folder: its packages become rows at once, its sub-folders are
// queued to be walked next. An unreadable folder is passed over. The folder's
// identity, when known, gives its plain sub-folders their volume.
//
// Names are listed as the code page holds them exactly; a character it lacks
// shows as "?", so that no row names a file other than the one found.
void ListFolder(FetchRun& run, const std::string& folder, const FolderIdentity* identity)
{
    std::wstring pattern = ListingPattern(folder);
    WIN32_FIND_DATAW entry;
    ScopedFind listing(pattern.empty() ? INVALID_HANDLE_VALUE : FindFirstFileW(pattern.c_str(), &entry));
    if (!listing.Valid())
        return;
    std::string prefix = folder + "\\";
    std::vector<QueuedFolder> subfolders;
    do {
        std::string name = AnsiTextFromWide(entry.cFileName);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            bool plain = identity && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
            if (!IsDotEntry(name))
                subfolders.push_back({prefix + name, plain, identity ? identity->volume : 0});
            continue;
        }
        // Keeps the window painted; whatever the user did meanwhile is dropped.
        PacedScreenDrain(run.screen);
        if (const PackageKind* kind = PackageKindOf(name))
            ListPackage(run, prefix, name, *kind, (uint64_t(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow);
    } while (FindNextFileW(listing.Get(), &entry));
    FolderQueueAddSubfolders(run.app.FolderQueue, subfolders);
}

}  // namespace

const PackageKind* PackageKindOf(const std::string& fileName)
{
    size_t tail = fileName.size() < LongestEnding ? fileName.size() : LongestEnding;
    std::string lowered = LowerAnsiText(fileName.substr(fileName.size() - tail));
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
    return WithoutTrailingBackslash(source);
}

void FetchFiles(AppState& app)
{
    ++app.FetchCount;
    app.Packages.Clear();
    SortedRows().swap(app.Sorted);
    ListViewRefresh(ListFiles, true);
    ListViewRefresh(ListSorted, true);
    const std::string& source = app.ActiveSource;
    if (source.empty()) {
        ReportActivity(Activity::SourceAbort);
        return;
    }
    ReportActivity(Activity::FetchingFiles, source);

    FolderQueueStart(app.FolderQueue, ScanRootOf(source));
    FetchRun run{app, PacedScreen()};
    PacedScreenBegin(run.screen);
    QueuedFolder folder;
    while (FolderQueueTake(app.FolderQueue, &folder)) {
        if (!FolderQueueFollows(app.FolderQueue, folder)) {
            ReportActivity(Activity::LinkNotFollowed, folder.path);
            continue;
        }
        // A folder that does not say who it is gets walked; one this scan has
        // listed before under another path does not.
        FolderIdentity identity;
        bool known = FolderIdentityOf(folder, &identity);
        if (known && !FolderQueueMarkListed(app.FolderQueue, identity))
            continue;
        ListFolder(run, folder.path, known ? &identity : nullptr);
    }
    PacedScreenEnd(run.screen);
    ReportActivity(Activity::FinishedFetching, app.Settings.LastIndex);
}
