// A file opened by its name inside a held folder, and the acts on it: its
// deletion and its rename, each through the handle that was opened and
// checked, never by a path.
//
// The check made at every open: the file is no link (its attribute tag shows
// no reparse point), and the name the system gives the open file is the held
// folder's name, "\" and the file's own name (letter case aside). A name of
// another long name (a short-name alias) is ActOtherName; any other name is
// ActLeadsOut: a link, or a folder swapped for one since the folder was held.
// Before a delete or a rename the tag is read again and the file must have
// passed its check for a change.
//
// Why this holds on Windows by construction: a held folder (no delete
// sharing) cannot be renamed or removed, and Windows refuses to rename a
// folder while a handle on anything below it is open; a relative open looks
// the name up in the open folder itself; a rename and a delete act on the
// open file object and, for a rename, on the open destination folder.
//
// What Wine does instead (seen with small programs under Wine 8, the folder
// swapped by Linux `mv` and `ln -s`, which no sharing stops): a relative open
// reaches the held folder's own file (it opens by the folder's descriptor),
// but the name Wine then gives the file is where the folder's old path leads
// now; a rename goes by the path the file was opened by, so a folder swapped
// after the open bends it; a delete happens by that path when the handle
// closes, and only when the path still leads to the same file. So under Wine
// the check at the open catches a swap made before it (the name differs), a
// file link (the name is the link's target), and the listing after a delete
// catches a delete that did not happen; a swap between the open and a rename
// is not caught. A Windows process in the same prefix meets Wine's sharing
// rules and cannot swap a held folder at all.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "file_acts/act_folder.h"
#include "util/file_identity.h"
#include "util/scoped_handle.h"

struct ActFile {
    ScopedHandle handle;
    const ActFolder* folder = nullptr;  // where it lies, held by the caller
    std::string name;
    bool forChange = false;  // passed the check a delete or rename needs
};

// What the file is opened for.
enum class ActPurpose {
    Read,    // read through: under Wine, a name the swap of a folder bent is
             // accepted once the file is proven not to be the one the name shows
    Change,  // to be renamed or deleted: only the exact name passes
};

// Opens the file `name` in the held folder with the access and sharing given
// (DELETE among them for a change) and checks it. 0, or the code: the
// system's, or a refusal of act_refusals.h.
unsigned long ActFileOpen(ActFile& file, const ActFolder& folder, const std::string& name, DWORD access, DWORD sharing,
                          ActPurpose purpose);

// Makes the new file `name` in the held folder (never over a file of that
// name), held for writing, reading and deletion, sharing reading alone;
// checked for a change.
unsigned long ActFileCreate(ActFile& file, const ActFolder& folder, const std::string& name);

// The open file's identity, read from its handle: size, last-write time,
// attributes, links and the file index; the volume is the caller's to know.
bool ActFileIdentity(const ActFile& file, FileIdentity* identity);

// Whether the two identities name one unchanged file: index, size and
// last-write time agree.
bool ActSameFile(const FileIdentity& a, const FileIdentity& b);

// Renames the file into the held folder as `name`; over a file of that name
// only with `replace`. 0, or the code. On success the file lies in `into`.
unsigned long ActFileRenameInto(ActFile& file, const ActFolder& into, const std::string& name, bool replace);

// Deletes the file: refused when it has other names (unless `anyLinks`), or
// when `noted` is given and the file is not that one (ActNotTheFile); a
// read-only mark is cleared first with `clearReadOnly` (a file of the run's
// own). The handle is closed; the folder's listing must then no longer show
// the name (else ActStillThere). 0, or the code.
unsigned long ActFileDelete(ActFile& file, const FileIdentity* noted, bool clearReadOnly, bool anyLinks = true);

// Only a look, for a forecast that changes nothing: whether the file at the
// path opens with that access and sharing (0) or why not. It is closed at
// once and nothing is done through it; a run acts on what it opens itself.
unsigned long ActLookOpen(const std::string& path, DWORD access, DWORD sharing);

// Lets go of the file.
void ActFileClose(ActFile& file);
