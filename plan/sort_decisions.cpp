#include "plan/sort_decisions.h"

#include <windows.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "file_acts/act_file.h"
#include "file_acts/act_folder.h"
#include "model/app_state.h"
#include "place/duplicate_file.h"
#include "place/folder_listing.h"
#include "place/held_folders.h"
#include "place/identical_copy.h"
#include "place/package_file_ops.h"
#include "place/placement_checks.h"
#include "place/sort_shared.h"
#include "plan/older_guard.h"
#include "util/ansi_text.h"
#include "util/file_identity.h"
#include "window/off_thread.h"
#include "window/paced_screen.h"

namespace {

// What answers to a destination's name before the placement.
enum class There { Nothing, File, Folder, OtherName };

struct Look {
    There there = There::Nothing;
    ListedFile listed;  // a file: as its folder's listing shows it
};

// How a move onto its destination ends: moved; the package removed for its
// identical copy there; stopped by what stands there (a move fails, an older
// version is not placed); failed with its identical copy there, since the
// package cannot be deleted.
enum class MoveEnd { Moved, Twin, Stopped, Failed };

struct Decider {
    SortPlan& plan;
    SortLooks looks;
    PacedScreen& screen;
    OlderGuard older = {};
    HeldFolders held = {};                    // held to look into; nothing is made
    std::vector<bool> gone = {};              // Move: the package has left its folder
    std::vector<FileIdentity> identity = {};  // each package as its open showed it
    // Lower-cased destination: the package whose copy, or which itself, the
    // plan puts there.
    std::unordered_map<std::string, uint32_t> written = {};
    // Lower-cased folder: its files and folders by lower-cased name, listed once.
    std::unordered_map<std::string, std::unordered_map<std::string, ActListed>> listings = {};
    std::unordered_map<std::string, bool> blocked = {};  // lower-cased folder: a file where it must be
};

// Whether a file stands where the folder (ending with "\") or one of its
// parents must be, so that the sort cannot make it. Walks up to the first
// level that is there.
bool FolderBlocked(Decider& d, const std::string& folder)
{
    auto known = d.blocked.emplace(LowerAnsiText(folder), false);
    if (!known.second)
        return known.first->second;
    std::string level = folder;
    while (level.size() > 1 && AnsiEndsWithBackslash(level)) {
        level.pop_back();
        DWORD attributes = GetFileAttributesA(level.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            known.first->second = !(attributes & FILE_ATTRIBUTE_DIRECTORY);
            break;
        }
        size_t parent = AnsiFindLastBackslash(level);
        if (parent == std::string::npos)
            break;
        level.resize(parent + 1);
    }
    return known.first->second;
}

// The category folder as the sort will hold it: true with the folder held
// here when it is there, true with null when the sort will make it; false
// when the sort cannot place into it (it leads out of the target, or a file
// stands where it or a level above it must be).
bool TargetFolder(Decider& d, const std::string& folder, const ActFolder** held)
{
    *held = nullptr;
    unsigned long verdict = HeldFoldersTarget(d.held, folder, nullptr);
    if (!verdict)
        *held = HeldFolderOf(d.held, folder);
    return verdict ? verdict != FolderLeadsOut && !FolderBlocked(d, folder) : *held != nullptr;
}

const std::unordered_map<std::string, ActListed>& Listing(Decider& d, const std::string& path,
                                                           const ActFolder& folder)
{
    auto listing = d.listings.emplace(LowerAnsiText(path), std::unordered_map<std::string, ActListed>());
    if (listing.second)
        ActFolderList(folder, [&](const ActListed& entry) { listing.first->second[LowerAnsiText(entry.name)] = entry; });
    return listing.first->second;
}

// What answers to the name in the folder (null: not there yet). Only a name
// with a "~" can be the short alias the system makes for another long name.
Look LookAt(Decider& d, const std::string& path, const ActFolder* folder, const std::string& name)
{
    Look look;
    if (!folder)
        return look;
    const std::unordered_map<std::string, ActListed>& entries = Listing(d, path, *folder);
    auto found = entries.find(LowerAnsiText(name));
    ActListed entry;
    if (found != entries.end())
        entry = found->second;
    else if (name.find('~') == std::string::npos || !ActFolderHolds(*folder, name, &entry))
        return look;
    if (!AnsiEqualsIgnoringCase(entry.name, name)) {
        look.there = There::OtherName;
        return look;
    }
    look.there = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) ? There::Folder : There::File;
    look.listed = {entry.name, entry.size, entry.lastWriteTime, entry.attributes};
    return look;
}

// Whether the package the plan put at a destination earlier holds the very
// bytes of the open package (another package, so a separate file).
bool SameBytes(Decider& d, uint32_t earlier, const ActFile& file, uint64_t size)
{
    const PlannedPackage& other = d.plan.packages[earlier];
    const ActFolder* folder = HeldFolderOf(d.held, other.folder);
    ActFile opened;
    if (!folder || ActFileOpen(opened, *folder, other.name, GENERIC_READ, FILE_SHARE_READ, ActPurpose::Read))
        return false;
    return OffThreadCall(d.screen, size,
                         [&] { return OpenFilesSeparateIdentical(opened.handle.Get(), file.handle.Get()); });
}

// A copy: onto a free name; over another file that may be replaced; not at
// all onto its identical copy. A copy of the same package made a moment
// before is its identical copy, unless it took a read-only, hidden or system
// attribute from the package.
PlacementAct CopyAct(Decider& d, const Placement& placement, const ActFolder* folder, const ActFile& file)
{
    uint32_t package = placement.package;
    const PlannedPackage& planned = d.plan.packages[package];
    std::string key = LowerAnsiText(placement.folder + planned.name);
    auto earlier = d.written.find(key);
    if (earlier != d.written.end()) {
        uint32_t other = earlier->second;
        if (IdenticalCopyStamps(d.identity[package], d.identity[other])
            && (other == package || SameBytes(d, other, file, planned.size)))
            return PlacementAct::Same;
        if (d.identity[other].attributes & FILE_ATTRIBUTE_READONLY)
            return PlacementAct::Fail;
        earlier->second = package;
        return PlacementAct::Replace;
    }
    Look look = LookAt(d, placement.folder, folder, planned.name);
    if (look.there == There::Nothing) {
        d.written[key] = package;
        return PlacementAct::Copy;
    }
    if (look.there != There::File)
        return PlacementAct::Fail;
    if (OffThreadCall(d.screen, planned.size, [&] { return IsIdenticalCopy(file, *folder, look.listed); }))
        return PlacementAct::Same;
    // Also the package itself, which the open above holds without sharing deletion.
    if (PackageReplaceRefusal(*folder, planned.name))
        return PlacementAct::Fail;
    d.written[key] = package;
    return PlacementAct::Replace;
}

// A move: onto a free name; onto the package's own place it changes nothing;
// onto anything else it stops, unless that is a separate file of the very
// same bytes, which makes the package redundant when it can be deleted.
MoveEnd MoveAct(Decider& d, const Placement& placement, const ActFolder* folder, const ActFile& file)
{
    uint32_t package = placement.package;
    const PlannedPackage& planned = d.plan.packages[package];
    std::string key = LowerAnsiText(placement.folder + planned.name);
    auto earlier = d.written.find(key);
    bool twin = false;
    if (earlier != d.written.end()) {
        twin = SameBytes(d, earlier->second, file, planned.size);
    } else {
        Look look = LookAt(d, placement.folder, folder, planned.name);
        if (look.there == There::Nothing || key == LowerAnsiText(planned.folder + planned.name)) {
            d.written[key] = package;
            d.gone[package] = look.there == There::Nothing;
            return MoveEnd::Moved;
        }
        FileIdentity copy;
        twin = look.there == There::File
               && OffThreadCall(d.screen, planned.size, [&] { return IsTwinCopy(file, *folder, &copy); });
    }
    if (!twin)
        return MoveEnd::Stopped;
    if (d.identity[package].attributes & FILE_ATTRIBUTE_READONLY)
        return MoveEnd::Failed;
    d.gone[package] = true;
    return MoveEnd::Twin;
}

PlacementAct MoveActOf(MoveEnd end, bool older)
{
    static const PlacementAct Acts[][4] = {
        {PlacementAct::Move, PlacementAct::Twin, PlacementAct::Fail, PlacementAct::Fail},
        {PlacementAct::OlderAside, PlacementAct::OlderTwin, PlacementAct::OlderKept, PlacementAct::Fail},
    };
    return Acts[older ? 1 : 0][static_cast<int>(end)];
}

// The act as the files show it: the folders, the package's open, and what
// stands at the destination.
PlacementAct FilesAct(Decider& d, const Placement& placement, bool older)
{
    const PlannedPackage& package = d.plan.packages[placement.package];
    bool move = d.plan.mode == CopyMode::Move;
    const ActFolder* folder = nullptr;
    ActFile file;
    if (HeldFoldersSource(d.held, package.folder) || !TargetFolder(d, placement.folder, &folder)
        || (move && d.gone[placement.package])
        || PackageOpen(file, *HeldFolderOf(d.held, package.folder), package.name, move))
        return PlacementAct::Fail;
    ActFileIdentity(file, &d.identity[placement.package]);
    if (!move)
        return CopyAct(d, placement, folder, file);
    return MoveActOf(MoveAct(d, placement, folder, file), older);
}

void DecidePlacement(Decider& d, Placement& placement)
{
    CopyMode mode = d.plan.mode;
    if (mode != CopyMode::Copy && mode != CopyMode::Move) {
        placement.act = PlacementAct::None;
        return;
    }
    const std::string& name = d.plan.packages[placement.package].name;
    bool older = OlderGuardRefuses(d.older, placement.folder, d.plan.packages[placement.package].folder, name);
    if (older) {
        std::string counterpart = mode == CopyMode::Move ? OlderGuardCounterpart(d.older, placement.folder) : "";
        if (counterpart.empty()) {
            placement.act = PlacementAct::OlderKept;
            return;
        }
        placement.folder = counterpart;
    }
    if (PlacementRefusal(placement.folder, name))
        placement.act = PlacementAct::Fail;
    else if (d.looks == SortLooks::Files)
        placement.act = FilesAct(d, placement, older);
    else
        placement.act = mode == CopyMode::Copy ? PlacementAct::Copy : MoveActOf(MoveEnd::Moved, older);
}

}  // namespace

void SortDecide(SortPlan& plan, const AppState& app, SortLooks looks, PacedScreen& screen,
                const std::function<void(size_t)>& decided)
{
    Decider d{plan, looks, screen};
    OlderGuardStart(d.older, app);
    if (looks == SortLooks::Files) {
        HeldFoldersBegin(d.held, app.ActiveSource, app.ActiveTarget, false);
        d.gone.assign(plan.packages.size(), false);
        d.identity.assign(plan.packages.size(), FileIdentity());
    }
    for (size_t at = 0; at < plan.placements.size(); ++at) {
        const PlannedPackage& package = plan.packages[plan.placements[at].package];
        if (looks == SortLooks::Files)
            PlacementInHand(screen, app.TitleBanner, static_cast<int>(at), package.name, package.size);
        DecidePlacement(d, plan.placements[at]);
        if (decided)
            decided(at);
        PacedScreenDrain(screen);
    }
}

const char* SortDecisionStatus(PlacementAct act)
{
    // In the order of PlacementAct.
    static const char* const Words[] = {"", "Copy", "Replace", "Same", "Move", "Twin", "Older", "Older", "Older", "Fail"};
    return Words[static_cast<size_t>(act)];
}

bool SortDecisionPlaces(PlacementAct act)
{
    return act != PlacementAct::None && act != PlacementAct::OlderKept && act != PlacementAct::Fail;
}
