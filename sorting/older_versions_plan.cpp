#include "sorting/older_versions_plan.h"

#include <windows.h>

#include <algorithm>
#include <set>

#include "util/ansi_text.h"
#include "util/final_path.h"
#include "util/scoped_handle.h"

namespace {

bool IsDotEntry(const wchar_t* name)
{
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

std::string AsideFolder(const std::string& target)
{
    return target + OlderVersionsFolder + "\\";
}

// The packages of one app, older than its newest, with the app's number.
void TakeOlder(const std::vector<VersionedPackage>& listed, const size_t* first, const size_t* end, uint32_t number,
               std::vector<std::pair<size_t, uint32_t>>& aside)
{
    const std::string* newest = &listed[*first].version.version;
    for (const size_t* at = first; at != end; ++at) {
        if (PackageVersionCompare(listed[*at].version.version, *newest) > 0)
            newest = &listed[*at].version.version;
    }
    for (const size_t* at = first; at != end; ++at) {
        if (PackageVersionCompare(listed[*at].version.version, *newest) < 0)
            aside.push_back({*at, number});
    }
}

// Adds the folder's older versions to the plan, in name order: in each app
// of the listing, every package older than the app's newest. The listing is
// taken in order of app, so that each app's packages lie together.
void PlanFolder(OlderPlan& older, const std::string& target, const std::string& folder,
                const std::vector<VersionedPackage>& listed)
{
    std::vector<size_t> order(listed.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return listed[a].version.app < listed[b].version.app; });
    uint32_t number = older.app.empty() ? 0 : older.app.back() + 1;
    std::vector<std::pair<size_t, uint32_t>> aside;  // listing position, app number
    for (size_t first = 0, end = 0; first < order.size(); first = end) {
        end = first + 1;
        while (end < order.size() && listed[order[end]].version.app == listed[order[first]].version.app)
            ++end;
        size_t before = aside.size();
        TakeOlder(listed, order.data() + first, order.data() + end, number, aside);
        number += aside.size() > before ? 1 : 0;
    }
    std::sort(aside.begin(), aside.end(),
              [&](const auto& a, const auto& b) { return listed[a.first].name < listed[b.first].name; });
    std::string into = AsideFolder(target) + folder.substr(target.size());
    for (const auto& package : aside) {
        const VersionedPackage& found = listed[package.first];
        older.plan.placements.push_back({static_cast<uint32_t>(older.plan.packages.size()), 0, into});
        older.plan.packages.push_back({-1, folder, found.name, found.size});
        older.app.push_back(package.second);
    }
}

// Adds the folder's subfolders to the folders still to be listed, so that
// they are visited in name order, less the aside folder below the target and
// the left-out folder's tree.
void QueueSubfolders(OlderPlan& older, const std::string& target, const std::string& leftOut,
                     const std::string& folder, std::vector<std::string>& subfolders,
                     std::vector<std::string>& folders)
{
    // The deepest-first stack takes the last pushed first.
    std::sort(subfolders.rbegin(), subfolders.rend());
    for (const std::string& name : subfolders) {
        if (folder == target && AnsiEqualsIgnoringCase(name, std::string(OlderVersionsFolder) + "\\"))
            continue;
        if (PathLiesBelow(leftOut, folder + name))
            older.leftOut = true;
        else
            folders.push_back(folder + name);
    }
}

OlderPlan EmptyPlan()
{
    OlderPlan older;
    older.plan.mode = CopyMode::Older;
    return older;
}

}  // namespace

bool ListVersionedPackages(const std::string& folder, std::vector<VersionedPackage>* packages,
                           std::vector<std::string>* subfolders, unsigned long* error)
{
    std::wstring pattern;
    bool exact = true;
    std::string ansi = folder + "*";
    int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    pattern.resize(length > 0 ? length : 1);
    if (length <= 0 || !MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &pattern[0], length)) {
        *error = GetLastError();
        return false;
    }
    WIN32_FIND_DATAW entry;
    ScopedFind listing(FindFirstFileW(pattern.c_str(), &entry));
    if (!listing.Valid()) {
        *error = GetLastError();
        return false;
    }
    do {
        // A link may lead out of the target: neither it nor what lies behind it is touched.
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || IsDotEntry(entry.cFileName))
            continue;
        std::string name = AnsiTextFromWide(entry.cFileName, &exact);
        if (!exact)
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (subfolders)
                subfolders->push_back(name + "\\");
            continue;
        }
        VersionedPackage package{name, (uint64_t(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow, {}};
        if (PackageVersionOf(package.name, &package.version))
            packages->push_back(std::move(package));
    } while (FindNextFileW(listing.Get(), &entry));
    return true;
}

OlderPlan PlanOlderVersions(const std::string& target, const std::function<void()>& betweenFolders,
                            const std::string& leftOut)
{
    OlderPlan older = EmptyPlan();
    std::vector<std::string> folders = {target};
    std::vector<VersionedPackage> listed;
    std::vector<std::string> subfolders;
    while (!folders.empty()) {
        std::string folder = std::move(folders.back());
        folders.pop_back();
        listed.clear();
        subfolders.clear();
        unsigned long error = 0;
        if (!ListVersionedPackages(folder, &listed, &subfolders, &error)) {
            if (folder == target) {
                older.error = error;
                return older;
            }
            continue;
        }
        PlanFolder(older, target, folder, listed);
        if (betweenFolders)
            betweenFolders();
        QueueSubfolders(older, target, leftOut, folder, subfolders, folders);
    }
    older.listed = true;
    return older;
}

OlderPlan PlanOlderVersionsIn(const std::string& target, const std::vector<std::string>& folders,
                              const std::string& leftOut)
{
    OlderPlan older = EmptyPlan();
    older.listed = true;
    std::vector<VersionedPackage> listed;
    for (const std::string& folder : folders) {
        unsigned long error = 0;
        listed.clear();
        if (PathLiesBelow(leftOut, folder)) {
            older.leftOut = true;
            continue;
        }
        bool below = folder.size() >= target.size() && folder.compare(0, target.size(), target) == 0;
        if (below && !OlderVersionsHolds(target, folder) && ListVersionedPackages(folder, &listed, nullptr, &error))
            PlanFolder(older, target, folder, listed);
    }
    return older;
}

OlderCounts OlderPlanCounts(const OlderPlan& older, bool placedOnly)
{
    OlderCounts counts;
    std::set<uint32_t> apps;
    std::set<std::string> folders;
    for (size_t at = 0; at < older.plan.placements.size(); ++at) {
        const Placement& placement = older.plan.placements[at];
        if (placedOnly && placement.outcome != PlacementOutcome::Placed)
            continue;
        ++counts.files;
        apps.insert(older.app[at]);
        folders.insert(older.plan.packages[placement.package].folder);
    }
    counts.apps = static_cast<int>(apps.size());
    counts.folders = static_cast<int>(folders.size());
    return counts;
}

bool OlderVersionsHolds(const std::string& target, const std::string& folder)
{
    std::string aside = AsideFolder(target);
    return folder.size() >= aside.size() && AnsiEqualsIgnoringCase(folder.substr(0, aside.size()), aside);
}
