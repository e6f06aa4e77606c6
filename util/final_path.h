// Where a folder path really leads: the final path the system gives a handle
// opened on it, links and junctions followed. Paths are checked this way
// before anything is written, read or removed through them on behalf of a
// record that other programs could have written: a path that reads as below
// a folder can run through a link to anywhere.
#pragma once

#include <string>

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
