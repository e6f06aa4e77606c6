// Folders still to be listed while the source tree is scanned.
//
// Folders come out in depth-first pre-order: the sub-folders found in a folder
// are listed right after it, each one completely (with everything below it)
// before its next sibling, siblings in the order the listing gave them.
// Links and junctions to folders show up as folders too; a folder reached a
// second time within one scan is recognised by its identity on disk, not by
// its path, so a link back to an ancestor cannot make the scan go round.
#pragma once

#include <set>
#include <string>
#include <vector>

// Where a folder lies on disk, whatever path leads to it.
struct FolderIdentity {
    unsigned long volume;
    unsigned long indexHigh;
    unsigned long indexLow;

    bool operator<(const FolderIdentity& other) const;
};

struct FolderQueue {
    std::vector<std::string> pending;  // paths without a trailing "\"; the next one is at the back
    std::set<FolderIdentity> listed;   // folders listed since the scan started

    void clear()
    {
        pending.clear();
        listed.clear();
    }
};

// Empties the queue and makes the root its only folder.
void FolderQueueStart(FolderQueue& queue, const std::string& root);

// Takes the next folder to list; false when none is left.
bool FolderQueueTake(FolderQueue& queue, std::string* folder);

// Queues the sub-folders found in the folder taken last, in listing order.
void FolderQueueAddSubfolders(FolderQueue& queue, const std::vector<std::string>& subfolders);

// Records the folder as listed; false when it was listed before in this scan.
bool FolderQueueMarkListed(FolderQueue& queue, const FolderIdentity& identity);

// The identity of the folder at the path; false when it cannot be read.
bool FolderIdentityOf(const std::string& folder, FolderIdentity* identity);
