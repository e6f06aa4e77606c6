#include "plan/older_versions_plan.h"

#include <windows.h>

#include <algorithm>
#include <set>

#include "plan/package_facts.h"
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

void TakeNewer(std::unordered_map<std::string, std::string>& newest, const PackageVersion& version)
{
    auto known = newest.emplace(version.app, version.version);
    if (!known.second && PackageVersionCompare(version.version, known.first->second) > 0)
        known.first->second = version.version;
}

bool OlderThanNewest(const std::unordered_map<std::string, std::string>& newest, const PackageVersion& version)
{
    auto found = newest.find(version.app);
    return found != newest.end() && PackageVersionCompare(version.version, found->second) < 0;
}

// Adds the folder's older versions to the plan, in name order: every package
// of the listing older than another there, numbered by its app.
void PlanFolder(OlderPlan& older, const std::string& target, const std::string& folder,
                const std::vector<VersionedPackage>& listed)
{
    NewestVersions newest;
    for (const VersionedPackage& package : listed)
        NewestVersionsTake(newest, package);
    std::vector<std::pair<size_t, std::string>> aside;  // listing position, app
    for (size_t at = 0; at < listed.size(); ++at) {
        std::string app = NewestVersionsNewerApp(newest, listed[at]);
        if (!app.empty())
            aside.push_back({at, std::move(app)});
    }
    std::sort(aside.begin(), aside.end(),
              [&](const auto& a, const auto& b) { return listed[a.first].name < listed[b.first].name; });
    std::unordered_map<std::string, uint32_t> numbers;
    std::string into = AsideFolder(target) + folder.substr(target.size());
    for (const auto& package : aside) {
        auto number = numbers.emplace(package.second, older.apps);
        if (number.second)
            ++older.apps;
        const VersionedPackage& found = listed[package.first];
        older.plan.placements.push_back({static_cast<uint32_t>(older.plan.packages.size()), 0, into});
        older.plan.packages.push_back({-1, folder, found.name, found.size});
        older.app.push_back(number.first->second);
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

bool VersionedOlder(const VersionedPackage& a, const VersionedPackage& b)
{
    if (!a.contents.app.empty() && !b.contents.app.empty())
        return a.contents.app == b.contents.app && PackageVersionCompare(a.contents.version, b.contents.version) < 0;
    return !a.version.app.empty() && a.version.app == b.version.app
           && PackageVersionCompare(a.version.version, b.version.version) < 0;
}

void NewestVersionsTake(NewestVersions& newest, const VersionedPackage& package)
{
    if (!package.contents.app.empty())
        TakeNewer(newest.byContents, package.contents);
    if (package.version.app.empty())
        return;
    TakeNewer(newest.byName, package.version);
    if (package.contents.app.empty())
        TakeNewer(newest.byNameAlone, package.version);
}

std::string NewestVersionsNewerApp(const NewestVersions& newest, const VersionedPackage& package)
{
    bool contents = !package.contents.app.empty();
    if (contents && OlderThanNewest(newest.byContents, package.contents))
        return package.contents.app;
    // Against the names of the packages whose contents say nothing, or of all
    // where this one's say nothing.
    if (!package.version.app.empty() && OlderThanNewest(contents ? newest.byNameAlone : newest.byName, package.version))
        return package.version.app;
    return std::string();
}

bool ListVersionedPackages(const std::string& folder, std::vector<VersionedPackage>* packages,
                           std::vector<std::string>* subfolders, unsigned long* error, PackageFactsCache* known)
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
        VersionedPackage package{name, (uint64_t(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow, {}, {}};
        bool named = PackageVersionOf(package.name, &package.version);
        if (known && PackageFactsFormat(name) != PackageFormat::Other) {
            uint64_t time =
                (uint64_t(entry.ftLastWriteTime.dwHighDateTime) << 32) | entry.ftLastWriteTime.dwLowDateTime;
            PackageFactsVersion(PackageFactsListed(*known, folder + name, package.size, time), name, &package.contents);
        }
        if (named || !package.contents.app.empty())
            packages->push_back(std::move(package));
    } while (FindNextFileW(listing.Get(), &entry));
    return true;
}

OlderPlan PlanOlderVersions(const std::string& target, const std::function<void()>& betweenFolders,
                            const std::string& leftOut, PackageFactsCache* known)
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
        if (!ListVersionedPackages(folder, &listed, &subfolders, &error, known)) {
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
                              const std::string& leftOut, PackageFactsCache* known)
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
        if (below && !OlderVersionsHolds(target, folder)
            && ListVersionedPackages(folder, &listed, nullptr, &error, known))
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
