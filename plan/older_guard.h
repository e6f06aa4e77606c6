// What keeps a sort from fetching old versions back: with "Put older versions
// aside after each sort" ticked, a package older than a package of the same
// app and edition already in its destination folder, or in that folder's
// counterpart below <target>_Older versions\, is not placed there: a Copy
// sort leaves it, a Move sort puts it into that counterpart. Versions are
// told as older_versions_plan.h tells them: by the packages' contents where
// both say which app they are, else by their names.
#pragma once

#include <string>
#include <unordered_map>

#include "model/package_facts.h"
#include "plan/older_versions_plan.h"

struct AppState;

struct OlderGuard {
    bool on = false;
    std::string target;  // ends with "\"
    PackageFactsCache* known = nullptr;  // the app's cache of what packages carry
    // Lower-cased destination folder: the newest versions in the folder or
    // its counterpart, as listed when first asked.
    std::unordered_map<std::string, NewestVersions> newest = {};
};

// Readies the guard for a sort of the active target.
void OlderGuardStart(OlderGuard& guard, const AppState& app);

// Whether the package (its folder ending with "\", and its name) must not be
// placed into the folder (ending with "\"): the guard is on and a newer
// version of its app is there or set aside. Its contents are read, by its
// path only to look, only where the folder holds packages whose contents
// gave a version.
bool OlderGuardRefuses(OlderGuard& guard, const std::string& folder, const std::string& packageFolder,
                       const std::string& fileName);

// The counterpart of the folder (ending with "\") below <target>_Older
// versions\; empty when the folder does not lie below the target, or lies in
// that folder's tree already.
std::string OlderGuardCounterpart(const OlderGuard& guard, const std::string& folder);
