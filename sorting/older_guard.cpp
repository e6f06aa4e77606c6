#include "sorting/older_guard.h"

#include <vector>

#include "model/app_state.h"
#include "sorting/older_versions_plan.h"
#include "util/ansi_text.h"

namespace {

void TakeNewest(std::unordered_map<std::string, std::string>& newest, const std::string& folder)
{
    std::vector<VersionedPackage> listed;
    unsigned long error = 0;
    if (!ListVersionedPackages(folder, &listed, nullptr, &error))
        return;
    for (const VersionedPackage& package : listed) {
        auto known = newest.emplace(package.version.app, package.version.version);
        if (!known.second && PackageVersionCompare(package.version.version, known.first->second) > 0)
            known.first->second = package.version.version;
    }
}

}  // namespace

void OlderGuardStart(OlderGuard& guard, const AppState& app)
{
    guard.on = app.Options[ProgramOption::OlderVersionsAside].value && !app.ActiveTarget.empty();
    guard.target = WithTrailingBackslash(app.ActiveTarget);
    guard.newest.clear();
}

bool OlderGuardRefuses(OlderGuard& guard, const std::string& folder, const std::string& fileName)
{
    PackageVersion version;
    if (!guard.on || !PackageVersionOf(fileName, &version))
        return false;
    auto cached = guard.newest.emplace(LowerAnsiText(folder), std::unordered_map<std::string, std::string>());
    std::unordered_map<std::string, std::string>& newest = cached.first->second;
    if (cached.second) {
        TakeNewest(newest, folder);
        std::string counterpart = OlderGuardCounterpart(guard, folder);
        if (!counterpart.empty())
            TakeNewest(newest, counterpart);
    }
    auto app = newest.find(version.app);
    return app != newest.end() && PackageVersionCompare(version.version, app->second) < 0;
}

std::string OlderGuardCounterpart(const OlderGuard& guard, const std::string& folder)
{
    bool below = folder.size() > guard.target.size() && folder.compare(0, guard.target.size(), guard.target) == 0;
    if (!below || OlderVersionsHolds(guard.target, folder))
        return std::string();
    return guard.target + OlderVersionsFolder + "\\" + folder.substr(guard.target.size());
}
