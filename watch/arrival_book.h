// The watch's bookkeeping, without a window: which packages in the source
// are new, and which of those are complete and may be sorted. A package is
// new when the last fetch did not list it and the watch has not taken it
// before with the same size and last-write time; it is complete when it is
// not empty, has kept its size and time for two seconds, can be opened for
// reading by us alone among writers, and its own bytes say it is whole
// (watch/arrival_checks.h); a kind whose bytes cannot say so keeps its size
// and time for thirty seconds instead, and one whose content changed while
// its size stayed holds no megabyte of zeros a download has not filled.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "model/arrival_watch.h"
#include "model/package_table.h"
#include "util/file_identity.h"

// How long a package must keep its size and time, and how long the source
// must be quiet before it is walked (at most the burst limit after the first
// change of a burst), in milliseconds.
constexpr unsigned long ArrivalSettleTime = 2000;
constexpr unsigned long ArrivalUnprovenSettleTime = 30000;
// How long a settled package that is not whole may stay so unchanged before
// it is reported and left; it is looked at again only when it changes.
constexpr unsigned long ArrivalGiveUpTime = 600000;
constexpr unsigned long ArrivalQuietTime = 300;
constexpr unsigned long ArrivalBurstLimit = 2000;
// How often a settled package that a writer still holds is tried again.
constexpr unsigned long ArrivalRetryTime = 500;

// Takes the packages the fetch listed as the ones that are not new, and
// notes which fetch that was.
void ArrivalsNoteListing(ArrivalWatch& watch, const PackageTable& packages, unsigned fetch);

// Lists every package below the root (without a trailing "\"), as the fetch
// names them, passing over the folder `skipped` (lower-cased, ending with
// "\") and everything below it. False, with the system's error code, when
// the root itself cannot be listed. A link that leads out of the root is not
// walked (as the fetch passes it over); its path goes into `notFollowed`.
bool ArrivalsWalk(const std::string& root, const std::string& skipped, std::vector<SeenFile>* packages,
                  unsigned long* error, std::set<std::string>* notFollowed = nullptr);

// Notes that the source changed at tick `now`.
void ArrivalsNoteChange(ArrivalWatch& watch, unsigned long now);

// Whether the changes noted are due to be walked now.
bool ArrivalsWalkDue(const ArrivalWatch& watch, unsigned long now);

// Takes a walk's packages: the new, not empty ones wait to be complete from
// now on, unless they waited already as they are; those gone, listed or no
// longer new stop waiting. A path where the walk finds no file is no longer
// listed nor handled.
void ArrivalsTakeWalk(ArrivalWatch& watch, const std::vector<SeenFile>& packages, unsigned long now);

// The waiting packages that are complete at tick `now`, in path order; they
// count as handled from here on, and each stays held open by its check
// (watch/arrival_checks.h, opened for deletion too with `move`) until
// ArrivalsRelease. Looks at each settled package on disk again. Those left
// unchanged and not whole for ArrivalGiveUpTime go into `notWhole` (when
// given) and count as handled too.
std::vector<SeenFile> ArrivalsComplete(ArrivalWatch& watch, unsigned long now,
                                       std::vector<std::string>* notWhole = nullptr, bool move = false);

// Lets go of the complete arrival's handle (after its sort, or when it is
// given up on).
void ArrivalsRelease(ArrivalWatch& watch, const std::string& path);

// After the sort of packages taken: those the sort moved or removed (`left`)
// are forgotten, whatever stands at their path now: a file of that name there
// is a new arrival, even one of the same size, time and file index (a file
// system may give a new file the index a moved one had). Of the others (a
// Copy leaves its packages), those no longer there are forgotten, and so is
// a path that holds another file than the one taken (its identity, noted
// before the sort, differs): the same download may arrive again meanwhile.
void ArrivalsForgetGone(ArrivalWatch& watch, const std::vector<SeenFile>& taken,
                        const std::vector<FileIdentity>& identities, const std::vector<std::string>& left = {});

// Milliseconds until the watch has something to do, or 0xFFFFFFFF (no
// time-out) when nothing waits.
unsigned long ArrivalsTimeout(const ArrivalWatch& watch, unsigned long now);
