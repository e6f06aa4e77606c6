// The folders a sort or an undo holds open for its whole run: the source,
// the target, every package's folder and every category folder it uses. Each
// is opened without delete sharing and taken only when its final path lies
// below the final path of the folder the user chose, so that no link, junction
// or mount point below the source or the target leads a run out of them.
//
// Why holding is enough on Windows: a folder opened without delete sharing
// cannot be renamed or removed, and Windows refuses to rename a folder while
// a handle on anything below it is open, so neither a held folder nor any of
// its parents can be swapped for a junction between the check and the act.
// Wine shows neither refusal for the parents (it renames a folder whatever
// is open below it); what it does show is the final path of a folder opened
// through a Unix link, which is what the checks rest on.
//
// Missing category folders are made one level at a time, each relative to the
// handle on its parent, never by a path a link could bend: the shell's
// folder-tree call would write through a link before any check could run.
//
// Every file a run changes is opened by its name inside one of these held
// folders and checked there (file_acts/act_file.h says what the checks are,
// what holds on Windows by construction and what Wine does instead).
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "file_acts/act_folder.h"
#include "file_acts/act_refusals.h"

struct Placement;
struct PlannedPackage;
struct SortPlan;

// The code a placement or an undo step fails with when its folder leads out
// of the folder the user chose.
constexpr unsigned long FolderLeadsOut = ActLeadsOut;

struct HeldFolder {
    ActFolder folder;
    const HeldFolder* judgedAgainst = nullptr;  // the root its verdict was taken against
    unsigned long verdict = 0;                  //   and that verdict
};

struct HeldFolders {
    std::string sourceRoot;  // the source as the run names it, ending with "\"
    std::string targetRoot;  // the folder the target's text lies in, ending with "\"
    std::unordered_map<std::string, std::unique_ptr<HeldFolder>> held;  // by the path the run names, with "\"
};

// Holds the source and the target the user chose (either may be a link). The
// target's folder is the target up to its last "\": a target text without one
// puts its category folders beside it, as the sort always did. With
// makeTarget, a missing target is made first, as the index load makes it.
void HeldFoldersBegin(HeldFolders& folders, const std::string& source, const std::string& target, bool makeTarget);

// Holds the package's folder (ending with "\"); 0, or the code to fail with:
// FolderLeadsOut when it lies outside the source.
unsigned long HeldFoldersSource(HeldFolders& folders, const std::string& folder);

// Holds the category folder (ending with "\"); 0, or the code to fail with:
// FolderLeadsOut when it, or a level on the way, lies outside the target.
// With made, missing levels are made below the target's folder and the
// folders made are appended to it, parents first; without, none is made.
unsigned long HeldFoldersTarget(HeldFolders& folders, const std::string& folder, std::vector<std::string>* made);

// The folder held (named as it was held), or null when it is not held.
const ActFolder* HeldFolderOf(const HeldFolders& folders, const std::string& folder);

// Removes the folders the run made (paths below the target's folder, parents
// first as noted) that are empty now, deepest first, each through the room of
// file acts inside its held parent. Every other folder is let go first: a
// held folder cannot be removed.
void HeldFoldersRemoveMade(HeldFolders& folders, const std::vector<std::string>& made);

// Holds the package's folder and the placement's as a sort does, making the
// missing levels of the latter and noting in the plan the folders it made,
// which an undo removes again when they are empty. 0, or the code the
// placement fails with: a folder that leads out of the source or the target
// is never written through.
unsigned long SortPlanHoldFolders(HeldFolders& held, SortPlan& plan, Placement& placement,
                                  const PlannedPackage& package);
