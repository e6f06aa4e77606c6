// What a package's file name says of its app and version. The app is the name
// up to and including the first "_" directly followed by a digit that starts
// a version; the version is the run of digits and dots after it; the edition
// is what follows the version up to the kind's ending (".lks", ".paf.exe",
// ".apk"). A single number without a dot followed by "_" and more of the name
// is part of the app's name, not its version (`Windows_7_Theme`,
// `Office_2010_Viewer_1.0`, `Java_Portable_6_Update_29`), unless an edition
// word follows it (`Tool_5_x64`); a number with a dot (`Tool_1.2_Theme`) and
// one at the end of the name (`Tool_7.lks`) are versions. Two packages are
// versions of one app when app, edition and kind are equal, letter case
// aside. Window-free: the names are plain 8-bit text.
//
// The edition words, letter case aside, each also with digits after it
// ("Beta2", "RC1"), and ending at the name's end or at "_", "-", "." or a
// blank: x64, x86, amd64, arm64, Win32, Win64, 32bit, 64bit, English,
// Multilingual, ML, German, Deutsch, French, Spanish, Italian, Russian,
// Portable, Setup, Online, Offline, Alpha, Beta, RC, Final, Lite, Full, Pro,
// Dev.
#pragma once

#include <cstddef>
#include <string>

// The folder below a target where older versions are put aside.
constexpr char OlderVersionsFolder[] = "_Older versions";

// The length of the name's app part: up to and including the first "_"
// directly followed by a digit that starts a version (above), stepped through
// by character; 0 when there is none. The kind's ending, if any, is no part
// of the name's words.
size_t PackageAppLength(const std::string& fileName);

// The length of the name's package ending (".lks", ".paf.exe" or ".apk",
// lower-cased by the system's ANSI rules); 0 for any other file.
size_t PackageEndingLength(const std::string& fileName);

struct PackageVersion {
    std::string app;      // app, edition and kind, lower-cased: equal for versions of one app
    std::string version;  // digits and dots, neither starting nor ending with a dot
};

// The name's app and version; false when it has none: not a package, or no
// "_" directly followed by a digit that starts a version.
bool PackageVersionOf(const std::string& fileName, PackageVersion* found);

// Below zero when version a is older than b, zero when they are equal, above
// zero when a is newer. Segments compare as numbers of any length; a missing
// segment counts as 0, so "3.0" equals "3.0.0".
int PackageVersionCompare(const std::string& a, const std::string& b);
