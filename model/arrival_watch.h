// What the watch of the active source knows: the packages the last fetch
// listed, those it has handled, those waiting to be complete, and when the
// source was last seen to change.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "model/folder_queue.h"

// A file as a walk of the source saw it.
struct SeenFile {
    std::string path;
    uint64_t size = 0;
    uint64_t lastWriteTime = 0;  // FILETIME as one number
    bool operator<(const SeenFile& other) const
    {
        return std::tie(path, size, lastWriteTime) < std::tie(other.path, other.size, other.lastWriteTime);
    }
};

// A new package not yet complete: how it looked, since when (tick count), and
// how long after that it is looked at next (milliseconds).
struct WaitingPackage {
    uint64_t size = 0;
    uint64_t lastWriteTime = 0;
    unsigned long since = 0;
    unsigned long lookAfter = 0;
    bool changedAtItsSize = false;  // its content changed once while its size stayed
};

// The checks of settled arrivals with the handles they keep (watch/arrival_checks.h).
struct ArrivalChecks;

struct ArrivalWatch {
    bool on = false;
    void* change = nullptr;        // the change notification, while on
    void* parentChange = nullptr;  // that of the folder's parent, which sees it removed or renamed
    FolderIdentity identity{};     // where the folder lay on disk when its watch began (index 0: unknown)
    std::string folder;            // the folder watched, with everything below it
    std::string skipped;           // the target folder, lower-cased with a trailing "\": never walked
    unsigned followedFetch = 0;    // the fetch whose listing `listed` holds
    std::vector<uint64_t> listed;  // hashes of the paths that fetch listed, sorted: 8 bytes a package
    std::set<SeenFile> handled;    // packages taken, while a walk still finds a file at their path
    // Lower-cased paths an undo put back, not yet seen by the watch, with the
    // size and last-write time of the file put back (0 and 0: not known).
    std::map<std::string, std::pair<uint64_t, uint64_t>> restored;
    uint64_t historyRead = 0;      // how far the history has been read for them
    std::map<std::string, WaitingPackage> waiting;  // new packages not yet complete, by path
    std::shared_ptr<ArrivalChecks> checks;         // their checks, and the complete ones' handles
    std::set<std::string> linksReported;  // links out of the source said not to be followed
    bool walkDue = false;          // the source changed since its last walk
    unsigned long firstChange = 0; // tick counts of the first and the last
    unsigned long lastChange = 0;  //   change not yet walked
};
