// Where a folder really is: the final path the system gives for a handle
// opened on it, after every link, junction and mount point on the way, and
// whether one path lies below a folder. Resolving a path before acting on it
// is how the program keeps a link, or a record other programs could have
// written, from leading it out of the folders the user chose.
#pragma once

#include <windows.h>

#include <string>

// The final path of the open file or folder, in plain form ("C:\A\B",
// "\\server\share\A"), without a trailing "\" unless it is a drive's root.
// False when the system gives none, or when it has a character the ANSI code
// page lacks (written as "?" it could name another folder).
bool FinalPathOfHandle(HANDLE handle, std::string* finalPath);

// A final path as the system writes it ("\\\\?\\C:\\A", "\\\\?\\UNC\\server\\share\\A")
// in plain form ("C:\\A", "\\\\server\\share\\A"); any other text as it is.
std::string PlainFinalPath(const std::string& path);

// How FinalPathOfFolder treats levels of the folder that do not exist.
enum class MissingLevels {
    Fail,      // the folder must exist
    Appended,  // resolved through the deepest level that exists, the levels
               // below it appended as written (they cannot be links yet)
};

// The final path of the folder, in the form FinalPathOfHandle gives. False
// when it (with Appended: its deepest existing level) cannot be opened or
// resolved. Only looks: no access right is asked for and every sharing is
// given. Opens what it is given: a caller checks device names and prefixes
// first.
bool FinalPathOfFolder(const std::string& path, std::string* finalPath,
                       MissingLevels missing = MissingLevels::Fail);

// Whether the path lies below the folder or, with orSame, is the folder
// itself; letter case is ignored and a trailing "\" on either makes no
// difference. False when either is empty (a path that did not resolve).
bool PathLiesBelow(const std::string& folder, const std::string& path, bool orSame = true);

// Whether the name the folder entry at the path carries (its long name, as a
// listing shows it) is the given name, letter case aside. False when nothing
// is there. A short 8.3 alias ("FORM~4C1.LKS") opens the file of another long
// name: a caller that is about to treat what stands at the path as a file of
// that name asks this first.
bool FoundNameIs(const std::string& path, const std::string& name);
