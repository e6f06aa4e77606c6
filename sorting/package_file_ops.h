// Copying and moving one package into a category folder so that a failure
// leaves no cut-short file behind: what lay at the destination before stays
// as it was, and a piece the attempt made is removed again.
#pragma once

#include <string>

struct PackageFileResult {
    bool done;
    unsigned long error;      // the system's error code when not done, taken right at the failure
    bool destinationExisted;  // a file of that name stood at the destination before
};

// Copies the package to the destination, replacing a file of that name there
// only once the whole copy is made.
PackageFileResult CopyPackageFile(const std::string& source, const std::string& destination);

// Moves the package to the destination. A file of that name already there is
// kept and the move refused ("already exists"). Neither function looks at
// the destination beforehand: in a folder of many files, asking whether a
// name is free costs Wine a walk through the folder.
PackageFileResult MovePackageFile(const std::string& source, const std::string& destination);
