// The native calls the file acts are made of, each taking a folder's handle
// and a name where a path would otherwise go: a file opened or made inside a
// held folder (NtCreateFile with a root directory), renamed into one
// (NtSetInformationFile with a root directory), the name the system gives an
// open handle (NtQueryObject), and a folder listed through its handle
// (NtQueryDirectoryFile). Names go to the system as UTF-16, converted from the
// ANSI code page: the conversion names exactly the file the A functions would.
//
// The native calls take a name as it stands: unlike a Win32 path, no trailing
// dot or blank is dropped and no device name is recognised, so a name is the
// file system's own name of the file, as a listing gives it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

// The Win32 code of a native status, as CreateFile and MoveFileEx give it: a
// folder where a file was asked for is "access denied" there.
DWORD NtErrorOf(long status);

// How a name is opened inside a folder.
enum class NtOpen {
    Existing,        // the name must be there
    New,             // made; fails when the name is taken
    ExistingOrNew,   // opened when there, made when not
};

struct NtOpenRequest {
    DWORD access;
    DWORD sharing;
    NtOpen how = NtOpen::Existing;
    bool folder = false;             // a folder is asked for (else a file)
    bool reparsePoint = false;       // a link is opened itself, not followed (where the system can)
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;  // those a made file gets
};

// Opens `name` relative to the open `root` (a folder; an empty name opens the
// root itself again; a name starting with ":" opens a stream of a file root).
// INVALID_HANDLE_VALUE with the last error set as CreateFileA sets it;
// *created tells whether it was made.
HANDLE NtOpenIn(HANDLE root, const std::wstring& name, const NtOpenRequest& request, bool* created = nullptr);

// Opens the file by the system's name of it (NtObjectName's form), for its
// attributes alone and with every sharing: only to tell which file is there.
HANDLE NtOpenByName(const std::wstring& name);

// Renames the open file (opened with DELETE access) to `name` in the open
// folder; replace: over a file of that name. False with the last error set.
bool NtRenameInto(HANDLE file, HANDLE folder, const std::wstring& name, bool replace);

// The name the system gives the open file or folder: "\Device\HarddiskVolume3\A\B"
// on Windows, "\??\Z:\A\B" under Wine; the same form for every handle of one
// system, so one can be compared with another. False when there is none.
bool NtObjectName(HANDLE handle, std::wstring* name);

// Sets (delete) or clears the open file's or folder's mark for deletion,
// which happens when its last handle closes; the handle needs DELETE access.
bool NtMarkForDeletion(HANDLE handle, bool remove);

// The file's index on its volume (FileInternalInformation): answered from
// the open file itself, without the volume's serial number, which Wine asks
// another process for.
bool NtFileIndex(HANDLE file, uint64_t* index);

// One entry of a folder's listing.
struct NtListed {
    std::wstring name;
    uint64_t size = 0;
    uint64_t lastWriteTime = 0;
    uint32_t attributes = 0;
};

// Lists the folder open as `folder` (opened with FILE_LIST_DIRECTORY) from
// its start, calling `each` for every entry but "." and "..", or only for
// those matching `mask` (a name without wildcards looks up that name alone).
// The listing runs on a handle of its own, opened on the same folder, so that
// the held handle keeps no listing's place. False when it cannot be listed.
bool NtListFolder(HANDLE folder, const std::wstring& mask, const std::function<void(const NtListed&)>& each);
