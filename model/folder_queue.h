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

// A folder waiting to be listed.
struct QueuedFolder {
    std::string path;          // without a trailing "\"
    bool onParentVolume;       // a plain sub-folder; links, junctions and mount points may lead elsewhere
    unsigned long volume;      // the parent's volume serial number, when onParentVolume
};

// Where a folder lies on disk, whatever path leads to it.
struct FolderIdentity {
    unsigned long volume;      // volume serial number
    unsigned long long index;  // file index within the volume

    bool operator<(const FolderIdentity& other) const;
};

struct FolderQueue {
    std::vector<QueuedFolder> pending;  // the next folder to list is at the back
    std::set<FolderIdentity> listed;    // folders listed since the scan started
    std::string root;                   // the folder the scan started from
    std::string rootFinal;              // its final path; empty when it has none
    std::set<std::string> notFollowed;  // the links this scan did not walk, by path

    void clear()
    {
        pending.clear();
        listed.clear();
        root.clear();
        rootFinal.clear();
        notFollowed.clear();
    }
};

// Empties the queue and makes the root its only folder; resolves the root.
void FolderQueueStart(FolderQueue& queue, const std::string& root);

// Takes the next folder to list; false when none is left.
bool FolderQueueTake(FolderQueue& queue, QueuedFolder* folder);

// Queues the sub-folders found in the folder taken last, in listing order.
void FolderQueueAddSubfolders(FolderQueue& queue, const std::vector<QueuedFolder>& subfolders);

// Records the folder as listed; false when it was listed before in this scan.
// An index of 0 says nothing about the folder: it is never taken as a repeat.
bool FolderQueueMarkListed(FolderQueue& queue, const FolderIdentity& identity);

// The identity of the queued folder; false when it cannot be read.
bool FolderIdentityOf(const QueuedFolder& folder, FolderIdentity* identity);

// Whether the queued folder is to be walked. A folder that is not plainly a
// sub-folder of its parent (a link, a junction, a mount point, or one whose
// parent could not say who it is) is walked only when its final path lies
// below the root's; otherwise it is noted in `notFollowed` and false is
// returned, also when its final path cannot be read. The root itself, which
// the user chose, may be a link.
bool FolderQueueFollows(FolderQueue& queue, const QueuedFolder& folder);
