// Files opened, made and renamed by their name inside a folder held open,
// relative to the folder's handle (NtCreateFile and NtSetInformationFile with
// a root directory), so that the name is looked up in that very folder
// whatever happens to the paths that lead to it meanwhile: a folder swapped
// for a junction on the way cannot bend where the file goes.
//
// The native calls take the name as it stands: unlike a Win32 path, no
// trailing dot or blank is dropped and no device name is recognised, so the
// name is the file system's own name of the file (as a listing gives it).
// Under Wine, an open relative to a folder's handle starts from that very
// folder, as on Windows; a rename does not: Wine's server rebuilds both the
// file's and the new name's paths from the paths they were opened by, so a
// folder renamed or swapped above them meanwhile bends a rename under Wine,
// never on Windows, which renames the open file into the open folder.
// NtSetInformationFile is called directly: Wine's SetFileInformationByHandle
// turns the new name into a full path of the current folder first, which a
// name relative to a root directory must not be.
#pragma once

#include <windows.h>

#include <string>

// Opens (create: makes, failing when the name is taken) the file `name` in
// the held folder; INVALID_HANDLE_VALUE with the last error set as CreateFileA
// sets it. attributes: those a made file gets.
HANDLE FileOpenInFolder(HANDLE folder, const std::string& name, DWORD access, DWORD sharing, bool create,
                        DWORD attributes = FILE_ATTRIBUTE_NORMAL);

// Renames the open file (opened with DELETE access) to `name` in the held
// folder; replace: over a file of that name. False with the last error set.
bool FileRenameIntoFolder(HANDLE file, HANDLE folder, const std::string& name, bool replace);
