// A Copy onto a file that already holds the package: when the file at the
// destination has the package's size, last-write time and bytes, and a copy
// onto it would succeed (it is not read-only, hidden or system), the copy
// would only rewrite the same bytes and make the file one the undo cannot
// bring back. So it is left as it is, and the placement counts as done.
#pragma once

#include <string>

#include "sorting/package_file_ops.h"

// True when the destination is a file other than the source with the
// source's size, last-write time and bytes, and without the read-only,
// hidden or system attribute. Cheap checks first: the bytes are read only
// when size and time agree.
bool IsIdenticalCopy(const std::string& destination, const std::string& source);

// CopyPackageFile, except that a destination that proves an identical copy
// (IsIdenticalCopy) is left as it is: then the result is done and *identical
// is set. The question is asked only when a file of that name is known to
// stand at the destination (`standing`, from the run's listing of the
// folder), so a copy onto a free name pays nothing. With the package held
// open for reading, the copy is CopyHeldPackageFile's into the held folder.
PackageFileResult CopyPackageUnlessIdentical(const std::string& source, const std::string& destination,
                                             StagingFolder& staging, bool standing, bool* identical,
                                             ScopedHandle* package = nullptr, HANDLE folder = nullptr);
