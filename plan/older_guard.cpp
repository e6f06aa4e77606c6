#include "plan/older_guard.h"

#include <vector>

#include "model/app_state.h"
#include "plan/older_versions_plan.h"
#include "plan/package_facts.h"
#include "util/ansi_text.h"

namespace {

void TakeNewest(NewestVersions& newest, const std::string& folder, PackageFactsCache* known)
{
    std::vector<VersionedPackage> listed;
    unsigned long error = 0;
    if (!ListVersionedPackages(folder, &listed, nullptr, &error, known))
        return;
    for (const VersionedPackage& package : listed)
        NewestVersionsTake(newest, package);
}

}  // namespace

void OlderGuardStart(OlderGuard& guard, const AppState& app)
{
    guard.on = app.Options[ProgramOption::OlderVersionsAside].value && !app.ActiveTarget.empty();
    guard.target = WithTrailingBackslash(app.ActiveTarget);
    guard.known = &app.Known;
    guard.newest.clear();
}

bool OlderGuardRefuses(OlderGuard& guard, const std::string& folder, const std::string& packageFolder,
                       const std::string& fileName)
{
    if (!guard.on)
        return false;
    VersionedPackage package{fileName, 0, {}, {}};
    bool named = PackageVersionOf(fileName, &package.version);
    if (!named && PackageFactsFormat(fileName) == PackageFormat::Other)
        return false;
    auto cached = guard.newest.emplace(LowerAnsiText(folder), NewestVersions());
    NewestVersions& newest = cached.first->second;
    if (cached.second) {
        TakeNewest(newest, folder, guard.known);
        std::string counterpart = OlderGuardCounterpart(guard, folder);
        if (!counterpart.empty())
            TakeNewest(newest, counterpart, guard.known);
    }
    // Without packages known by their contents there, the package's own
    // contents change nothing: its name meets every other name.
    if (!newest.byContents.empty())
        PackageFactsVersion(PackageFactsAtPath(*guard.known, packageFolder + fileName), fileName, &package.contents);
    return !NewestVersionsNewerApp(newest, package).empty();
}

std::string OlderGuardCounterpart(const OlderGuard& guard, const std::string& folder)
{
    bool below = folder.size() > guard.target.size() && folder.compare(0, guard.target.size(), guard.target) == 0;
    if (!below || OlderVersionsHolds(guard.target, folder))
        return std::string();
    return guard.target + OlderVersionsFolder + "\\" + folder.substr(guard.target.size());
}
