// The check of a settled arrival, and the handle it keeps. Once an arrival
// has kept its size and time, it is opened by its name inside its folder,
// held open (file_acts/), for reading (and, for a Move, for its deletion),
// sharing reading alone: a writer that still holds it makes the open fail,
// and it waits; once open, no other program can write, rename or delete it
// (on Windows, and for Windows programs under Wine). Its bytes are then
// checked for wholeness through that handle (watch/package_whole.h): right
// away for a small file, on a worker thread for one of 16 MB or more, so that
// a gigabyte's check starves neither the window nor other arrivals. A whole
// arrival keeps its handle until the watch's sort, which acts through it;
// before that sort the arrival is compared through the handle with what was
// checked (its size, time and file index), and a changed one waits again.
#pragma once

#include <cstdint>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "contents/package_wholeness.h"
#include "file_acts/act_file.h"
#include "file_acts/act_folder.h"
#include "util/file_identity.h"

struct ArrivalCheck {
    ActFolder folder;
    ActFile file;
    FileIdentity identity;                 // as the check found it
    std::future<PackageWholeness> verdict;  // the check under way, until it is taken
    bool decided = false;                   // the check is done:
    PackageWholeness whole = PackageWholeness::NotWhole;  // its verdict
};

// The checks under way or done, by the arrival's path; and those given up on
// whose worker has not ended yet (their handle stays open until it has).
struct ArrivalChecks {
    std::map<std::string, std::unique_ptr<ArrivalCheck>> byPath;
    std::vector<std::unique_ptr<ArrivalCheck>> ending;
};

// How an arrival's check stands.
enum class ArrivalCheckState {
    Busy,       // a writer holds it (it could not be opened), or its check is under way
    Whole,      // whole: it stays open for the sort
    Unproven,   // its kind cannot say; it stays open for the sort too
    NotWhole,   // cut short, holed, not of its kind: let go
};

// Opens and checks the arrival at the path, or gives how its check under way
// stands. `move`: opened for deletion too. `zeroRunsToo`: an Unproven file is
// also scanned for a run of zero bytes a download has not filled (its size
// was final while its content still changed), which makes it NotWhole.
ArrivalCheckState ArrivalCheckOf(ArrivalChecks& checks, const std::string& path, bool move, bool zeroRunsToo);

// Lets go of the arrival's check and handle.
void ArrivalCheckDrop(ArrivalChecks& checks, const std::string& path);

// The check of the arrival, whole or unproven, or null.
ArrivalCheck* ArrivalCheckFind(ArrivalChecks& checks, const std::string& path);

// Whether the arrival held for its sort is still as it was checked: its
// size, last-write time and file index, read through its handle.
bool ArrivalCheckUnchanged(const ArrivalCheck& check);
