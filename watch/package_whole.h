// Whether a package's own bytes say that it is complete, read through a
// path or through a handle the caller keeps open: the checks themselves
// are window-free (contents/package_wholeness.h); this is where they meet
// the file. An ".apk" is whole when its ZIP structure holds to its last
// byte and every entry comes to its CRC-32; a ".paf.exe" when it reaches
// the end of its image, its certificate table and its NSIS installer data,
// and the installer's CRC matches (an installer without a CRC, or a program
// without an installer header, is Unproven). Other kinds are Unproven.
#pragma once

#include <windows.h>

#include <string>

#include "contents/package_wholeness.h"

// Opens the file for reading beside any other reader or writer; NotWhole
// when it cannot be opened.
PackageWholeness PackageWholenessOf(const std::string& path);

// Reads through a handle already open for reading (at offsets, so its file
// pointer does not matter); `name` (a path or a file name) gives the kind.
PackageWholeness PackageWholenessOfHandle(HANDLE file, const std::string& name);

// Whether the file holds a run of zero bytes a download has not filled yet
// (contents/zero_runs.h); true too when it cannot be read.
bool PackageZeroRunOfHandle(HANDLE file);
