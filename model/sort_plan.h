// A sort as a plan: every placement of a package by a catalogue row, in the
// order the run carries them out, what each will do as decided before anything
// is touched, and after the run what became of each and what taking it back
// would need.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/settings_values.h"

// What a placement came to.
enum class PlacementOutcome : uint8_t {
    NotRun,         // not carried out, or the copy mode does nothing; also a
                    // placement an undo took back or gave up on for good
    Placed,         // copied or moved into its folder
    Failed,         // the copy or move failed; the package stayed
    SourceRemoved,  // a move failed, but a separate identical copy stood at the
                    // destination, so the package was removed from its folder
    Identical,      // a copy found the package's very bytes at the destination
                    // and left that file as it was: nothing to take back
};

// What a placement does: as its plan decides it before the sort acts (the
// preview shows it), and after the run, what the sort's act came to.
enum class PlacementAct : uint8_t {
    None,        // the copy mode places nothing
    Copy,        // copied onto a free name
    Replace,     // copied over the other file of that name standing there
    Same,        // a copy whose identical copy stands there: nothing is written
    Move,        // moved onto a free name
    Twin,        // a move whose identical copy stands there: the package is
                 //   removed from its folder
    OlderAside,  // an older version moved into the _Older versions counterpart
                 //   of its folder (a Move sort, older versions put aside)
    OlderTwin,   // the same, where its identical copy stands already: the
                 //   package is removed from its folder
    OlderKept,   // an older version not placed: in a Copy sort, or where
                 //   another file of that name stands in the counterpart
    Fail,        // the copy or move fails; the package stays
};

struct Placement {
    uint32_t package;            // position in SortPlan::packages
    uint32_t entry;              // position of the catalogue row in the index list
    std::string folder;          // target + category + "\"; for an older version
                                 //   put aside, its counterpart below the target's
                                 //   _Older versions folder
    PlacementOutcome outcome = PlacementOutcome::NotRun;
    PlacementAct act = PlacementAct::None;  // decided by the plan; after the run, as done
    bool destinationExisted = false;  // a file of that name stood there before the
                                      //   run's first attempt on that path (letter
                                      //   case ignored), as that attempt found
    uint32_t firstCreatedFolder = 0;  // the folders this placement created, in
    uint32_t createdFolderCount = 0;  //   SortPlan::createdFolders, parents first
    uint64_t size = 0;                // the placed file's size and last-write
    uint64_t lastWriteTime = 0;       //   time right after placing (for
                                      //   SourceRemoved: of the copy found there)
};

// A package that has at least one placement, as it was listed when planned.
struct PlannedPackage {
    int row;             // its row in the package table
    std::string folder;  // ends with "\"
    std::string name;
    uint64_t size;       // bytes, as the fetch found them
    // The name its contents gave that a row matched, as lines show it, when
    // no row named its file name (plan/known_by_contents.h); else empty.
    std::string knownAs = {};
};

struct SortPlan {
    CopyMode mode = CopyMode::Other;
    std::vector<PlannedPackage> packages;  // in the order the run visits them
    std::vector<Placement> placements;     // in the order the run carries them out
    std::vector<std::string> createdFolders;
    int placed = 0;                        // placements that placed their package
    std::string historyId;                 // the run id of the sort in the history file
    std::string source;                    // the folders the sort went between, as
    std::string target;                    //   the user chose them
    std::string index;                     // the sort's index and its time as the history
    std::string time;                      //   writes them (empty when not known)
    // A plan read back from the history holds only what is left to undo: the
    // number each placement has there. Empty: a placement's number is its place.
    std::vector<uint32_t> historyNumbers;
};
