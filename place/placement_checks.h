// The failures a placement is certain to meet that its paths alone tell,
// before any file is touched: the sort refuses them (Wine would otherwise
// make a folder "CON" or a path Windows cannot open), and its preview
// foresees them. Also the open of the package the sort makes itself before
// its copy or move.
#pragma once

#include <string>

#include "file_acts/act_file.h"

// The system error a placement of a file into the folder (ending with "\")
// is certain to fail with, or 0: ERROR_INVALID_NAME when a name in the path
// is a device's; ERROR_FILENAME_EXCED_RANGE when the folder path is 248
// characters or more (Windows makes no such folder) or the file's path 260 or
// more.
unsigned long PlacementRefusal(const std::string& folder, const std::string& fileName);

// Opens the package by its name in its held folder as the sort does right
// before copying or moving it, and keeps it open in `package`: 0, or the
// code. Both read it, sharing reading alone, so that a package another
// program is writing (a download not yet complete) or holds without sharing
// reading is refused; a move asks for delete access too (a rename, or the
// removal of a package whose copy stands at the destination, needs it),
// which a program holding the package without sharing deletion refuses. The
// sort decides by this open of its own, whose sharing is stated here, rather
// than by the opens inside the system's copy and rename, whose sharing
// Windows and Wine do not state alike. The copy and the move then act
// through this handle.
unsigned long PackageOpen(ActFile& package, const ActFolder& folder, const std::string& name, bool move);

// The identity of the open package, its volume that of the folder it was
// opened in: what the history records before the package is placed. False
// when the package is not open.
bool PackageIdentityOf(const ActFile& package, FileIdentity* identity);

// The same open by the package's path, only as a look (the benchmarks count
// the opens a sort makes).
unsigned long PackageOpenRefusal(const std::string& package, bool move);
