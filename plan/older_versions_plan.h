// Planning the putting aside of older versions: which packages of the
// target's folders have a newer version of the same app and edition beside
// them, and where each goes, worked out from the folders' listings before any
// file is moved.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/package_facts.h"
#include "model/sort_plan.h"
#include "util/package_version.h"

// A package of a folder's listing that has a version, by its name or by its
// contents (plan/package_facts.h).
struct VersionedPackage {
    std::string name;
    uint64_t size;
    PackageVersion version;   // by its name; app empty when its name gives none
    PackageVersion contents;  // by its contents; app empty when they say nothing
};

// Whether a is an older version of b's app. Where both packages' contents say
// which app they are, they alone decide (two ".apk" of one package id by
// their versionCode, two ".paf.exe" of one product name and edition by their
// ProductVersion); otherwise their names do, as for any package.
bool VersionedOlder(const VersionedPackage& a, const VersionedPackage& b);

// The newest versions among packages, kept so that VersionedOlder against
// every one of them is asked at once.
struct NewestVersions {
    std::unordered_map<std::string, std::string> byContents;   // contents' app: newest
    std::unordered_map<std::string, std::string> byName;       // name's app: newest of all
    std::unordered_map<std::string, std::string> byNameAlone;  //   and of those whose contents say nothing
};
void NewestVersionsTake(NewestVersions& newest, const VersionedPackage& package);

// The app of which a newer version was taken, by VersionedOlder: the
// contents' app (which starts with "|") or the name's; empty when there is
// none.
std::string NewestVersionsNewerApp(const NewestVersions& newest, const VersionedPackage& package);

// The packages with a version in the folder (ending with "\"), and when asked
// for its subfolders, each as a name ending with "\". Entries that are links
// (reparse points) and names the ANSI code page cannot spell are passed over.
// With a cache, the versions of ".apk" and ".paf.exe" packages' contents too,
// read by their paths only to look. False, with the system's error, when the
// folder cannot be listed.
bool ListVersionedPackages(const std::string& folder, std::vector<VersionedPackage>* packages,
                           std::vector<std::string>* subfolders, unsigned long* error,
                           PackageFactsCache* known = nullptr);

struct OlderPlan {
    SortPlan plan;                // mode Older; each placement moves an older version from its
                                  //   folder into the same path below the aside folder
    std::vector<uint32_t> app;    // for each placement: its app in its folder, numbered across the plan
    bool listed = false;          // the target could be listed
    unsigned long error = 0;      //   else why not
    bool leftOut = false;         // a folder of the left-out folder's tree was passed over
    uint32_t apps = 0;            // apps numbered so far
};

// Over every folder of the target (ending with "\"), itself included, except
// <target>_Older versions\ and everything below it: in each folder, every
// package older than another there (VersionedOlder). With a cache, the
// contents of its ".apk" and ".paf.exe" packages count (see above). The
// caller's work between two folders (keeping a window answering) is called
// after each. A folder of the target given as leftOut (the source, when it
// lies inside the target) is passed over with everything below it.
OlderPlan PlanOlderVersions(const std::string& target, const std::function<void()>& betweenFolders = {},
                            const std::string& leftOut = std::string(), PackageFactsCache* known = nullptr);

// The same over the given folders of the target only (ending with "\"),
// without their subfolders; a folder that cannot be listed is passed over,
// and so is one that lies in leftOut's tree.
OlderPlan PlanOlderVersionsIn(const std::string& target, const std::vector<std::string>& folders,
                              const std::string& leftOut = std::string(), PackageFactsCache* known = nullptr);

// The files, apps and folders of the plan's placements, or only of those
// that placed their package.
struct OlderCounts {
    int files = 0, apps = 0, folders = 0;
};
OlderCounts OlderPlanCounts(const OlderPlan& older, bool placedOnly);

// Whether the folder (ending with "\") is <target>_Older versions\ or below it.
bool OlderVersionsHolds(const std::string& target, const std::string& folder);
