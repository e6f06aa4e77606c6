#include "watch/arrival_checks.h"

#include <windows.h>

#include <chrono>

#include "util/ansi_text.h"
#include "watch/package_whole.h"
#include "window/off_thread.h"

namespace {

// Whether the check no longer runs: done, or (a small file's) not begun.
bool Ready(std::future<PackageWholeness>& verdict)
{
    return !verdict.valid() || verdict.wait_for(std::chrono::seconds(0)) != std::future_status::timeout;
}

// The arrival opened by its name inside its folder, held by the check.
std::unique_ptr<ArrivalCheck> Open(const std::string& path, bool move)
{
    size_t slash = AnsiFindLastBackslash(path);
    if (slash == std::string::npos)
        return nullptr;
    std::unique_ptr<ArrivalCheck> check(new ArrivalCheck);
    ActFolderOpen(check->folder, path.substr(0, slash + 1));
    if (ActFileOpen(check->file, check->folder, path.substr(slash + 1), GENERIC_READ | (move ? DELETE : 0),
                    FILE_SHARE_READ, move ? ActPurpose::Change : ActPurpose::Read)
        || !ActFileIdentity(check->file, &check->identity))
        return nullptr;
    return check;
}

PackageWholeness Verdict(HANDLE file, const std::string& name, bool zeroRunsToo)
{
    PackageWholeness whole = PackageWholenessOfHandle(file, name);
    if (whole == PackageWholeness::Unproven && zeroRunsToo && PackageZeroRunOfHandle(file))
        return PackageWholeness::NotWhole;
    return whole;
}

void Start(ArrivalCheck& check, bool zeroRunsToo)
{
    HANDLE file = check.file.handle.Get();
    std::string name = check.file.name;
    // From the size a large copy goes to a worker thread, a check does too.
    std::launch how = check.identity.size >= LargeFileBytes ? std::launch::async : std::launch::deferred;
    check.verdict = std::async(how, [file, name, zeroRunsToo] { return Verdict(file, name, zeroRunsToo); });
}

void PruneEnding(ArrivalChecks& checks)
{
    for (auto at = checks.ending.begin(); at != checks.ending.end();)
        at = Ready((*at)->verdict) ? checks.ending.erase(at) : at + 1;
}

}  // namespace

ArrivalCheckState ArrivalCheckOf(ArrivalChecks& checks, const std::string& path, bool move, bool zeroRunsToo)
{
    PruneEnding(checks);
    std::unique_ptr<ArrivalCheck>& check = checks.byPath[path];
    if (!check) {
        check = Open(path, move);
        if (!check) {
            checks.byPath.erase(path);
            return ArrivalCheckState::Busy;
        }
        Start(*check, zeroRunsToo);
    }
    // A deferred check (a small file) runs here and now.
    if (!check->decided) {
        if (!Ready(check->verdict))
            return ArrivalCheckState::Busy;
        check->whole = check->verdict.get();
        check->decided = true;
    }
    PackageWholeness whole = check->whole;
    if (whole == PackageWholeness::NotWhole) {
        checks.byPath.erase(path);
        return ArrivalCheckState::NotWhole;
    }
    return whole == PackageWholeness::Whole ? ArrivalCheckState::Whole : ArrivalCheckState::Unproven;
}

void ArrivalCheckDrop(ArrivalChecks& checks, const std::string& path)
{
    auto found = checks.byPath.find(path);
    if (found == checks.byPath.end())
        return;
    if (!Ready(found->second->verdict))
        checks.ending.push_back(std::move(found->second));
    checks.byPath.erase(found);
}

ArrivalCheck* ArrivalCheckFind(ArrivalChecks& checks, const std::string& path)
{
    auto found = checks.byPath.find(path);
    return found == checks.byPath.end() ? nullptr : found->second.get();
}

bool ArrivalCheckUnchanged(const ArrivalCheck& check)
{
    FileIdentity now;
    return check.file.handle.Valid() && ActFileIdentity(check.file, &now) && ActSameFile(now, check.identity);
}
