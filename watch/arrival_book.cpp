#include "watch/arrival_book.h"

#include <windows.h>

#include <algorithm>

#include "catalogue/source_scan.h"
#include "model/folder_queue.h"
#include "util/ansi_text.h"
#include "util/file_facts.h"
#include "util/file_identity.h"
#include "util/scoped_handle.h"
#include "util/text_hash.h"
#include "watch/arrival_checks.h"

namespace {

uint64_t Join(DWORD high, DWORD low)
{
    return (static_cast<uint64_t>(high) << 32) | low;
}

bool IsDotEntry(const wchar_t* name)
{
    return lstrcmpW(name, L".") == 0 || lstrcmpW(name, L"..") == 0;
}

// Lists one folder as the fetch does: packages into `packages`, sub-folders
// (but the skipped one) queued. False when the folder cannot be listed.
bool WalkFolder(FolderQueue& queue, const QueuedFolder& folder, const FolderIdentity* identity,
                const std::string& skipped, std::vector<SeenFile>* packages)
{
    std::string prefix = folder.path + "\\";
    wchar_t pattern[MAX_PATH];
    std::string text = prefix + "*.*";
    if (text.size() >= MAX_PATH || !MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, pattern, MAX_PATH))
        return false;
    WIN32_FIND_DATAW entry;
    ScopedFind listing(FindFirstFileW(pattern, &entry));
    if (!listing.Valid())
        return false;
    std::vector<QueuedFolder> subfolders;
    do {
        std::string name = AnsiTextFromWide(entry.cFileName);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            std::string path = prefix + name;
            if (IsDotEntry(entry.cFileName) || LowerAnsiText(path + "\\") == skipped)
                continue;
            bool plain = identity && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
            subfolders.push_back({path, plain, identity ? identity->volume : 0});
        } else if (PackageKindOf(name)) {
            packages->push_back({prefix + name, Join(entry.nFileSizeHigh, entry.nFileSizeLow),
                                 Join(entry.ftLastWriteTime.dwHighDateTime, entry.ftLastWriteTime.dwLowDateTime)});
        }
    } while (FindNextFileW(listing.Get(), &entry));
    FolderQueueAddSubfolders(queue, subfolders);
    return true;
}

// Paths a walk finds no file at are forgotten, listed or handled: the same
// name arriving later is a new arrival.
void ForgetUnfound(ArrivalWatch& watch, const std::vector<SeenFile>& packages)
{
    std::vector<uint64_t> found;
    found.reserve(packages.size());
    for (const SeenFile& file : packages)
        found.push_back(TextHash(file.path));
    std::sort(found.begin(), found.end());
    auto unfound = [&](uint64_t hash) { return !std::binary_search(found.begin(), found.end(), hash); };
    watch.listed.erase(std::remove_if(watch.listed.begin(), watch.listed.end(), unfound), watch.listed.end());
    for (auto at = watch.handled.begin(); at != watch.handled.end();)
        at = unfound(TextHash(at->path)) ? watch.handled.erase(at) : std::next(at);
}

enum class ArrivalLook { Waits, Complete, GivenUp };

ArrivalChecks& ChecksOf(ArrivalWatch& watch)
{
    if (!watch.checks)
        watch.checks = std::make_shared<ArrivalChecks>();
    return *watch.checks;
}

// How often a check on a worker thread is looked at.
const unsigned long ArrivalCheckPoll = 100;

// Looks at a settled package as it stands on disk now; when it waits on, sets
// when it is looked at next. A package whose check found it not whole is
// looked at again only once it changes (a walk then starts its wait anew):
// the check reads every byte.
ArrivalLook LookAtSettled(ArrivalWatch& watch, WaitingPackage& package, const SeenFile& file, unsigned long now,
                          bool move)
{
    unsigned long waited = now - package.since;
    if (file.size != package.size || file.lastWriteTime != package.lastWriteTime) {
        ArrivalCheckDrop(ChecksOf(watch), file.path);
        bool sameSize = file.size == package.size;
        package = {file.size, file.lastWriteTime, now, ArrivalSettleTime, package.changedAtItsSize || sameSize};
        return ArrivalLook::Waits;
    }
    switch (ArrivalCheckOf(ChecksOf(watch), file.path, move, package.changedAtItsSize)) {
    case ArrivalCheckState::Busy:
        // A writer still holds it, or its check runs on a worker thread.
        package.lookAfter = waited + (ArrivalCheckFind(ChecksOf(watch), file.path) ? ArrivalCheckPoll : ArrivalRetryTime);
        return ArrivalLook::Waits;
    case ArrivalCheckState::Whole:
        return ArrivalLook::Complete;
    case ArrivalCheckState::Unproven:
        if (waited >= ArrivalUnprovenSettleTime)
            return ArrivalLook::Complete;
        // Not held while it waits: a downloader may open it again to go on.
        ArrivalCheckDrop(ChecksOf(watch), file.path);
        package.lookAfter = ArrivalUnprovenSettleTime;
        return ArrivalLook::Waits;
    case ArrivalCheckState::NotWhole:
        break;
    }
    if (waited >= ArrivalGiveUpTime)
        return ArrivalLook::GivenUp;
    package.lookAfter = ArrivalGiveUpTime;
    return ArrivalLook::Waits;
}

}  // namespace

void ArrivalsNoteListing(ArrivalWatch& watch, const PackageTable& packages, unsigned fetch)
{
    std::vector<uint64_t> listed(packages.Count());
    for (int row = 0; row < packages.Count(); ++row)
        listed[row] = TextHash(packages.PathOf(row));
    std::sort(listed.begin(), listed.end());
    watch.listed.swap(listed);
    watch.followedFetch = fetch;
}

bool ArrivalsWalk(const std::string& root, const std::string& skipped, std::vector<SeenFile>* packages,
                  unsigned long* error, std::set<std::string>* notFollowed)
{
    FolderQueue queue;
    FolderQueueStart(queue, root);
    // The target is known by where it lies on disk as well, so that a link to
    // it or another spelling of its path is passed over too.
    FolderIdentity target;
    if (!skipped.empty() && FolderIdentityOf({skipped, false, 0}, &target))
        FolderQueueMarkListed(queue, target);
    QueuedFolder folder;
    bool first = true;
    while (FolderQueueTake(queue, &folder)) {
        if (!FolderQueueFollows(queue, folder))
            continue;
        FolderIdentity identity;
        bool known = FolderIdentityOf(folder, &identity);
        if (known && !FolderQueueMarkListed(queue, identity))
            continue;
        bool listed = WalkFolder(queue, folder, known ? &identity : nullptr, skipped, packages);
        if (first && !listed) {
            // A folder with no entry at all (a drive's empty root) lists nothing.
            *error = GetLastError();
            if (*error != ERROR_FILE_NOT_FOUND || !PathExists(root + "\\"))
                return false;
        }
        first = false;
    }
    if (notFollowed)
        notFollowed->insert(queue.notFollowed.begin(), queue.notFollowed.end());
    return true;
}

void ArrivalsNoteChange(ArrivalWatch& watch, unsigned long now)
{
    if (!watch.walkDue)
        watch.firstChange = now;
    watch.walkDue = true;
    watch.lastChange = now;
}

bool ArrivalsWalkDue(const ArrivalWatch& watch, unsigned long now)
{
    return watch.walkDue
           && (now - watch.lastChange >= ArrivalQuietTime || now - watch.firstChange >= ArrivalBurstLimit);
}

void ArrivalsTakeWalk(ArrivalWatch& watch, const std::vector<SeenFile>& packages, unsigned long now)
{
    ForgetUnfound(watch, packages);
    std::map<std::string, WaitingPackage> waiting;
    for (const SeenFile& file : packages) {
        if (file.size == 0 || std::binary_search(watch.listed.begin(), watch.listed.end(), TextHash(file.path)) || watch.handled.count(file))
            continue;
        auto before = watch.waiting.find(file.path);
        bool same = before != watch.waiting.end() && before->second.size == file.size
                    && before->second.lastWriteTime == file.lastWriteTime;
        waiting[file.path] = same ? before->second : WaitingPackage{file.size, file.lastWriteTime, now, ArrivalSettleTime};
    }
    watch.waiting.swap(waiting);
    watch.walkDue = false;
}

void ArrivalsForgetGone(ArrivalWatch& watch, const std::vector<SeenFile>& taken,
                        const std::vector<FileIdentity>& identities, const std::vector<std::string>& left)
{
    for (size_t i = 0; i < taken.size(); ++i) {
        if (std::find(left.begin(), left.end(), taken[i].path) != left.end()) {
            watch.handled.erase(taken[i]);
            continue;
        }
        FileIdentity now;
        DWORD error = 0;
        bool there = FileIdentityRead(taken[i].path, &now, &error);
        // An identity that could not be noted leaves only whether a file is there.
        bool noted = i < identities.size() && (identities[i].index != 0 || identities[i].volume != 0);
        if (!there || (noted && !FileIdentitySame(now, identities[i])))
            watch.handled.erase(taken[i]);
    }
}

std::vector<SeenFile> ArrivalsComplete(ArrivalWatch& watch, unsigned long now, std::vector<std::string>* notWhole,
                                       bool move)
{
    std::vector<SeenFile> complete;
    for (auto at = watch.waiting.begin(); at != watch.waiting.end();) {
        WaitingPackage& package = at->second;
        if (now - package.since < package.lookAfter) {
            ++at;
            continue;
        }
        FileStamp stamp;
        if (!ReadFileStamp(at->first, &stamp) || stamp.size == 0) {
            ArrivalCheckDrop(ChecksOf(watch), at->first);
            at = watch.waiting.erase(at);
            continue;
        }
        SeenFile file{at->first, stamp.size, stamp.lastWriteTime};
        ArrivalLook look = LookAtSettled(watch, package, file, now, move);
        if (look == ArrivalLook::Waits) {
            ++at;
            continue;
        }
        watch.handled.insert(file);
        if (look == ArrivalLook::Complete) {
            complete.push_back(file);
        } else {
            ArrivalCheckDrop(ChecksOf(watch), file.path);
            if (notWhole)
                notWhole->push_back(file.path);
        }
        at = watch.waiting.erase(at);
    }
    return complete;
}

unsigned long ArrivalsTimeout(const ArrivalWatch& watch, unsigned long now)
{
    unsigned long timeout = INFINITE;
    auto sooner = [&](unsigned long left) {
        if (left < timeout)
            timeout = left;
    };
    if (watch.walkDue) {
        unsigned long quiet = now - watch.lastChange, burst = now - watch.firstChange;
        sooner(quiet >= ArrivalQuietTime ? 0 : ArrivalQuietTime - quiet);
        sooner(burst >= ArrivalBurstLimit ? 0 : ArrivalBurstLimit - burst);
    }
    for (const auto& waiting : watch.waiting) {
        unsigned long waited = now - waiting.second.since;
        sooner(waited >= waiting.second.lookAfter ? 0 : waiting.second.lookAfter - waited);
    }
    return timeout;
}

void ArrivalsRelease(ArrivalWatch& watch, const std::string& path)
{
    if (watch.checks)
        ArrivalCheckDrop(*watch.checks, path);
}
