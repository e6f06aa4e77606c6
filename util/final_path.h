// Where a folder really is: the final path the system gives for a handle
// opened on it, after every link, junction and mount point on the way, and
// whether one path lies below a folder. Resolving a path before acting on it
// is how the program keeps a link from leading it out of the folders the
// user chose.
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
