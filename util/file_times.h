// Last-write times compared as the file systems that keep them can keep
// them. NTFS keeps a time to 100 ns, exFAT to 10 ms, FAT to 2 seconds, and
// FAT keeps local time, so that a change of daylight saving time or of time
// zone moves every time it shows by an hour (as robocopy's /FFT and /DST
// know). A copy on a USB stick never shows its package's exact time, and an
// undo that compared times exactly would refuse its own copies there.
//
// How fine a file system keeps times is told by a time it kept: set a time
// with odd 100 ns units on a file of one's own and read it back
// (FileTimeResolutionOfReadBack), since Wine names every mount NTFS and the
// volume's name cannot tell; or, for a file that is not one's own, by the
// units the file's time still holds (FileTimeResolutionShown): a time kept to
// whole 2 seconds is taken for FAT's. The latter may take an NTFS file whose
// time happens to be whole for a coarser one; comparisons that rest on it
// also compare sizes (and, for a copy to be skipped or deleted, every byte).
// Times are FILETIME values as one number (100 ns units).
#pragma once

#include <cstdint>

enum class FileTimeResolution {
    Exact,            // 100 ns: NTFS and the like
    TenMilliseconds,  // exFAT
    OneSecond,        // some FUSE drivers of exFAT
    TwoSeconds,       // FAT, in local time
};

// The units of one step of the resolution.
uint64_t FileTimeStep(FileTimeResolution resolution);

// A time near `near` that no resolution but the exact one keeps as it is:
// odd in 100 ns, and off every 10 ms, second and 2 seconds.
uint64_t FileTimeProbe(uint64_t near);

// The resolution a file system showed by keeping `readBack` of the probe
// time `set` (FileTimeProbe).
FileTimeResolution FileTimeResolutionOfReadBack(uint64_t set, uint64_t readBack);

// The coarsest resolution the time could have been kept to.
FileTimeResolution FileTimeResolutionShown(uint64_t time);

// Whether two times of one file agree within the resolution: at most one
// step apart; on FAT also an hour apart (a change of daylight saving time).
bool FileTimesAgree(uint64_t a, uint64_t b, FileTimeResolution resolution);

// FileTimesAgree within the resolution `kept` shows: a time a file system
// kept, compared with the time it was given or is expected to hold.
bool FileTimesAgreeAsKept(uint64_t kept, uint64_t other);
