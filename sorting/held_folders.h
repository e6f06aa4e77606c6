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
// handle on its parent (NtCreateFile with RootDirectory), never by a path a
// link could bend: the shell's folder-tree call would write through a link
// before any check could run.
//
// A sort opens each package by its name relative to the handle of its held
// folder, copies a small package through that handle, and renames the copy
// or the moved package into its category folder relative to that folder's
// held handle (util/folder_relative.h): a link on the way, changed after the
// check, bends neither where a package comes from nor where it goes, and a
// held folder made a junction afterwards (that needs a handle with write
// access, which the hold shares) is still the folder the names are looked up
// in, since a relative lookup starts from the folder already open. (Wine
// shows this for the opens; its renames go by the paths the file and the
// folder were opened by, so there the held folders' refusals, which Wine
// does not show either, would be what closes the window.)
//
// What remains, on Windows: a package of 16 MB or more, or one with a named
// stream, is read by CopyFileA by its path; a move to another volume, the
// identical-copy comparison, the twin removal, the undo's steps and the
// older versions' moves go by path, through the held folders. Such a path
// runs through the same held folders only as long as no link on it changes:
// a junction inside the target or the source that leads to a folder inside
// them is accepted, and another program could point it elsewhere after the
// check. A file symbolic link in the place of a package (Wine shows one as a
// plain file, and moves what it points to) is followed by a copy; on Windows
// making one needs the right to create symbolic links, which only
// administrators hold unless developer mode is on.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "util/scoped_handle.h"

// The code a placement or an undo step fails with when its folder leads out
// of the folder the user chose: the system's text says that the operation
// stopped at a link.
constexpr unsigned long FolderLeadsOut = 681;  // ERROR_STOPPED_ON_SYMLINK

struct HeldFolder {
    ScopedHandle handle;
    std::string finalPath;
    unsigned long error = 0;  // why the folder is not held; 0 when it is
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

// The handle held on the folder (named as it was held), or null.
HANDLE HeldFolderHandle(const HeldFolders& folders, const std::string& folder);

// For a forecast, without holding or making anything: whether the deepest
// level of the folder that exists lies outside the source (fromSource) or
// the target.
bool HeldFoldersForeseeOutside(const HeldFolders& folders, const std::string& folder, bool fromSource);
