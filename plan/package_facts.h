// Reading what a package carries: an ".apk"'s package id, label, versionName
// and versionCode (contents/android_manifest.h), a ".paf.exe"'s product name,
// original file name and product version (contents/version_resource.h),
// through a file opened inside a held folder, or by its path only to look.
// Each file is read once while its size and last-write time stay the same:
// the facts are kept in the app's cache (model/package_facts.h). Nothing is
// ever written; a package that cannot be opened or read says nothing.
//
// The one rule for the text of a package's contents, which comes as UTF-8
// while Quillet's text is the ANSI code page: a character the code page has
// is written as the code page writes it; a control character (a tab, a line
// end) becomes a blank; a character the code page lacks becomes
// PackageFactsMissing, a line feed. Lines, the history, the row dialog and
// the tooltip show it as "?" (PackageFactsShown): one byte that no code page
// takes for part of another character, and no "\" or line end that could
// split a path or a line. Matching sees the line feed itself, which no row's
// fragment can hold (a row is one line of its file), so a row never matches
// a character the code page cannot show, not even a row holding "?", while
// the characters around it still match as they are. Each text is cut to
// PackageFactsMaxText bytes, at the end of a character.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "contents/package_wholeness.h"
#include "model/package_facts.h"
#include "util/package_version.h"

struct ActFolder;

constexpr char PackageFactsMissing = '\n';
constexpr size_t PackageFactsMaxText = 200;
// A cache that reaches this many files is emptied before the next is kept.
constexpr size_t PackageFactsMaxFiles = 100000;

// UTF-8 text in the code page by the rule above.
std::string PackageFactsText(const std::string& utf8);

// The text as lines show it: each missing character as "?".
std::string PackageFactsShown(std::string text);

// The kind of contents the file name says the package has (".apk",
// ".paf.exe"); Other for every other kind.
PackageFormat PackageFactsFormat(const std::string& fileName);

// Reads the facts through a handle open for reading, by the kind the file
// name gives; `said` stays false when the contents say nothing.
PackageFacts PackageFactsOfHandle(HANDLE file, const std::string& fileName);

// The facts of the package `name` in the held folder, whose path (ending with
// "\") is `folderPath`: opened by its name there for reading, sharing reading
// and deletion but no writing (a package being written is not read), and
// read unless the cache holds it at its size and time.
PackageFacts PackageFactsInFolder(PackageFactsCache& cache, const ActFolder& folder, const std::string& folderPath,
                                  const std::string& name);

// Only a look, for a plan or a forecast: the facts of the package at the
// path, opened for reading by its path as above.
PackageFacts PackageFactsAtPath(PackageFactsCache& cache, const std::string& path);

// The same for a file a listing showed at that size and time: not even
// opened when the cache holds it so.
PackageFacts PackageFactsListed(PackageFactsCache& cache, const std::string& path, uint64_t size,
                                uint64_t lastWriteTime);

// The app and version the contents give, to tell older versions apart: an
// ".apk" with a versionCode is "|apk|" and its package id, in that code; a
// ".paf.exe" with a product name and a ProductVersion that holds a number is
// "|paf|", its product name lower-cased, "|" and the edition and kind its file
// name gives (util/package_version.h; none when its name has no version), in
// the digits and dots the ProductVersion starts with at its first digit.
// False when the contents say nothing of it. ("|" starts no file name, so
// these apps never meet those of names.)
bool PackageFactsVersion(const PackageFacts& facts, const std::string& fileName, PackageVersion* version);
