// What packages carry, as far as Quillet has read it: the facts an ".apk"'s
// manifest or a ".paf.exe"'s version resource gave, kept for each file while
// its size and last-write time stay the same, so that a package is read once
// however often it is planned, previewed, compared or pointed at.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

// A package's facts, each text in the code page as plan/package_facts.h
// says (a character the code page lacks stands as PackageFactsMissing).
struct PackageFacts {
    bool said = false;  // the contents were read and said what the package is
    // An ".apk": its manifest.
    std::string packageId;
    std::string label;
    std::string versionName;
    uint64_t versionCode = 0;
    bool hasVersionCode = false;
    // A ".paf.exe": its version resource.
    std::string productName;
    std::string originalFilename;
    std::string productVersion;
};

// The facts of one file, with the size and last-write time it had when read.
struct KnownFile {
    uint64_t size = 0;
    uint64_t lastWriteTime = 0;
    PackageFacts facts;
};

// Lower-cased path to the file's facts.
struct PackageFactsCache {
    std::unordered_map<std::string, KnownFile> files;
};
