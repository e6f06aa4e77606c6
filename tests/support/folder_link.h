// Folder links for tests of walks through linked folders. Under Wine a Unix
// symbolic link shows up as a folder (with the reparse-point attribute), and
// Wine's own link calls make nothing, so the links are made and removed by the
// Unix tools, which Wine starts like any program.
#pragma once

#include <string>

// Makes a link named linkName inside the folder, leading to target, a path
// relative to that folder in Unix form ("..", "../Other"). False when the link
// could not be made, as on a system without the Unix tools.
bool MakeFolderLink(const std::string& folder, const std::string& linkName, const std::string& target);

// Removes such a link (not what it leads to). False when it is still there.
bool RemoveFolderLink(const std::string& folder, const std::string& linkName);
