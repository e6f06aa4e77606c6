// Planning the putting aside of older versions: which packages of the
// target's folders have a newer version of the same app and edition beside
// them, and where each goes, worked out from the folders' listings before any
// file is moved.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/sort_plan.h"
#include "util/package_version.h"

// A package of a folder's listing that has a version.
struct VersionedPackage {
    std::string name;
    uint64_t size;
    PackageVersion version;
};

// The packages with a version in the folder (ending with "\"), and when asked
// for its subfolders, each as a name ending with "\". Entries that are links
// (reparse points) and names the ANSI code page cannot spell are passed over.
// False, with the system's error, when the folder cannot be listed.
bool ListVersionedPackages(const std::string& folder, std::vector<VersionedPackage>* packages,
                           std::vector<std::string>* subfolders, unsigned long* error);

struct OlderPlan {
    SortPlan plan;                // mode Older; each placement moves an older version from its
                                  //   folder into the same path below the aside folder
    std::vector<uint32_t> app;    // for each placement: its app in its folder, numbered across the plan
    bool listed = false;          // the target could be listed
    unsigned long error = 0;      //   else why not
    bool leftOut = false;         // a folder of the left-out folder's tree was passed over
};

// Over every folder of the target (ending with "\"), itself included, except
// <target>_Older versions\ and everything below it: in each folder, among the
// packages of one app and edition, every one older than the newest. The
// caller's work between two folders (keeping a window answering) is called
// after each. A folder of the target given as leftOut (the source, when it
// lies inside the target) is passed over with everything below it.
OlderPlan PlanOlderVersions(const std::string& target, const std::function<void()>& betweenFolders = {},
                            const std::string& leftOut = std::string());

// The same over the given folders of the target only (ending with "\"),
// without their subfolders; a folder that cannot be listed is passed over,
// and so is one that lies in leftOut's tree.
OlderPlan PlanOlderVersionsIn(const std::string& target, const std::vector<std::string>& folders,
                              const std::string& leftOut = std::string());

// The files, apps and folders of the plan's placements, or only of those
// that placed their package.
struct OlderCounts {
    int files = 0, apps = 0, folders = 0;
};
OlderCounts OlderPlanCounts(const OlderPlan& older, bool placedOnly);

// Whether the folder (ending with "\") is <target>_Older versions\ or below it.
bool OlderVersionsHolds(const std::string& target, const std::string& folder);
