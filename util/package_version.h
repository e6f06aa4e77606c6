// What a package's file name says of its app and version. The app is the name
// up to and including the first "_" directly followed by a digit; the version
// is the run of digits and dots after it; the edition is what follows the
// version up to the kind's ending (".lks", ".paf.exe", ".apk"). Two packages
// are versions of one app when app, edition and kind are equal, letter case
// aside. Window-free: the names are plain 8-bit text.
#pragma once

#include <cstddef>
#include <string>

// The folder below a target where older versions are put aside.
constexpr char OlderVersionsFolder[] = "_Older versions";

// The length of the name's app part: up to and including the first "_"
// directly followed by a digit, stepped through by character; 0 when there is
// none.
size_t PackageAppLength(const std::string& fileName);

// The length of the name's package ending (".lks", ".paf.exe" or ".apk",
// lower-cased by the system's ANSI rules); 0 for any other file.
size_t PackageEndingLength(const std::string& fileName);

struct PackageVersion {
    std::string app;      // app, edition and kind, lower-cased: equal for versions of one app
    std::string version;  // digits and dots, neither starting nor ending with a dot
};

// The name's app and version; false when it has none: not a package, no app
// part, or no digit right after it.
bool PackageVersionOf(const std::string& fileName, PackageVersion* found);

// Below zero when version a is older than b, zero when they are equal, above
// zero when a is newer. Segments compare as numbers of any length; a missing
// segment counts as 0, so "3.0" equals "3.0.0".
int PackageVersionCompare(const std::string& a, const std::string& b);
