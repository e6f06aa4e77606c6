// Where a folder really is: the final path the system gives for a handle
// opened on it, after every link, junction and mount point on the way, and
// whether one path lies below a folder. Resolving a path before acting on it
// is how the program keeps a link, or a record other programs could have
// written, from leading it out of the folders the user chose.
#pragma once

#include <windows.h>

#include <string>

// The final path of the folder, in plain form ("C:\A\B", "\\server\share\A"),
// without a trailing "\" unless it is a drive's root. False when the folder
// cannot be opened or the system gives no final path.
bool FinalPathOfFolder(const std::string& path, std::string* finalPath);

// The final path of the open file or folder, in the same plain form.
bool FinalPathOfHandle(HANDLE handle, std::string* finalPath);

// Whether the path is the folder itself or lies below it; letter case is
// ignored and a trailing "\" on either makes no difference.
bool PathLiesBelow(const std::string& folder, const std::string& path);

// The final path of the folder (ending with "\"): the deepest level of it that
// exists, opened and resolved, with the levels that do not exist yet appended
// as written (they cannot be links). Ends with "\", in the system's form
// ("\\?\C:\..." or "\\?\UNC\..."). Empty text when no level can be opened or
// the final path has a character the ANSI code page lacks. Opens what it is
// given: a caller checks device names and prefixes first.
std::string FinalFolderPath(const std::string& folder);

// Whether the final path lies below the final folder (both ending with "\"),
// letter case aside; with orSame, also when they are the same folder.
bool FinalPathBelow(const std::string& path, const std::string& folder, bool orSame = false);

// Whether the name the folder entry at the path carries (its long name, as a
// listing shows it) is the given name, letter case aside. False when nothing
// is there. A short 8.3 alias ("FORM~4C1.LKS") opens the file of another long
// name: a caller that is about to treat what stands at the path as a file of
// that name asks this first.
bool FoundNameIs(const std::string& path, const std::string& name);
