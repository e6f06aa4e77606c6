// A Copy onto a file that already holds the package: when the file at the
// destination has the package's size, last-write time and bytes, and a copy
// onto it would succeed (it is not read-only, hidden or system), the copy
// would only rewrite the same bytes and make the file one the undo cannot
// bring back. So it is left as it is, and the placement counts as done.
#pragma once

#include "place/folder_listing.h"
#include "place/package_file_ops.h"

// True when the file of the package's name in the held folder, as the run's
// listing shows it (`there`), is a file other than the package with the
// package's size, last-write time and bytes, and without the read-only,
// hidden or system attribute. Cheap checks first: the file is opened and its
// bytes read only when size and time agree.
bool IsIdenticalCopy(const ActFile& package, const ActFolder& folder, const ListedFile& there);

// The stamps that IsIdenticalCopy asks for before it reads a byte: the copy
// has the package's size and last-write time, and no read-only, hidden or
// system attribute.
bool IdenticalCopyStamps(const FileIdentity& package, const FileIdentity& copy);

// True when the file of the package's name in the held folder is a file other
// than the package with the package's very bytes, whatever its time and
// attributes: what a move onto that name asks before it removes the package
// as that file's twin. The file is opened sharing reading alone (a file
// someone is still writing is no copy yet); *copy gets its identity.
bool IsTwinCopy(const ActFile& package, const ActFolder& folder, FileIdentity* copy);

// CopyPackageFile, except that a destination that proves an identical copy
// is left as it is: then the result is done and *identical is set. The
// question is asked only when a file of that name stands at the destination
// as the run's listing of the folder shows it (`there`, else null), so a
// copy onto a free name pays nothing.
PackageFileResult CopyPackageUnlessIdentical(const ActFile& package, const ActFolder& folder, StagingFolder& staging,
                                             const ListedFile* there, bool* identical);
