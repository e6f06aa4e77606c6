// A folder held open for the file acts of one run. Held without delete
// sharing, a folder cannot be renamed or removed by others while it is held
// (on Windows; Wine lets another process rename it, see act_file.h), and
// every file act names a file by this held folder and a name, never by a
// path. The system's name of the folder (NtObjectName) is taken when it is
// opened: the file acts compare the name of every file they open with it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "util/scoped_handle.h"

struct ActFolder {
    ScopedHandle handle;
    std::wstring name;        // the system's name of the folder when it was opened
    unsigned long error = 0;  // why it is not held; 0 when it is
    mutable uint32_t volume = 0;        // its volume's serial number, once asked
    mutable bool volumeKnown = false;
};

// Holds the folder at the path: the folders the user chose and those the
// fetch found below them, the one open of a folder by its path. A folder
// that is not there is "path not found".
void ActFolderOpen(ActFolder& folder, const std::string& path);

// Holds the level `name` inside the held parent, made when missing with
// `make` (*created then tells whether it was made). The level is refused as
// leading out when it is a link or its name is not the parent's name plus
// its own. A name the Win32 paths would read otherwise (".", "..", trailing
// dots or blanks) is refused too. With `removable`, the folder is held with
// delete access, so that ActFolderRemove can remove it. A level that cannot
// be opened or made keeps the system's code (a missing one: path not found).
void ActFolderOpenIn(ActFolder& folder, const ActFolder& parent, const std::string& name, bool make,
                     bool* created = nullptr, bool removable = false);

// Whether the held folder is exactly the level `name` of the held parent: no
// link, and its name the parent's name and its own.
bool ActFolderIsLevel(const ActFolder& folder, const ActFolder& parent, const std::string& name);

// Whether `inner` is `outer` or lies below it, by the names the system gave
// them when they were opened (letter case aside).
bool ActFolderWithin(const ActFolder& outer, const ActFolder& inner);

// One entry of a held folder's listing, its name in the ANSI code page (a
// character the code page lacks written as "?", see AnsiTextFromWide).
struct ActListed {
    std::string name;
    uint64_t size = 0;
    uint64_t lastWriteTime = 0;
    uint32_t attributes = 0;
};

// The serial number of the held folder's volume, which every file in it
// shares: asked once per folder (under Wine it is a request to another
// process). 0 when the system gives none.
uint32_t ActFolderVolume(const ActFolder& folder);

// Lists the held folder through its handle. False when it cannot be listed.
bool ActFolderList(const ActFolder& folder, const std::function<void(const ActListed&)>& each);

// Whether the held folder's listing shows an entry of that name now (a short
// name finds the file it stands for); `found`, when given, gets the entry.
bool ActFolderHolds(const ActFolder& folder, const std::string& name, ActListed* found = nullptr);

// Removes the held folder (held `removable`), the level `name` of `parent`,
// when it is empty: refused when it is a link; then marked through its own
// handle and let go, and the parent's listing must no longer show it. 0, or
// the code: the system's (a folder not empty), or ActStillThere.
unsigned long ActFolderRemove(ActFolder& folder, const ActFolder& parent, const std::string& name);

// Removes the empty level `name` of the held parent, opened for it alone.
unsigned long ActFolderRemoveIn(const ActFolder& parent, const std::string& name);
