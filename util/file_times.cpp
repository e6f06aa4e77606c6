#include "util/file_times.h"

#include <initializer_list>

namespace {

const uint64_t TenMilliseconds = 100000, Second = 10000000, Hour = 3600 * Second;

uint64_t Distance(uint64_t a, uint64_t b)
{
    return a > b ? a - b : b - a;
}

}  // namespace

uint64_t FileTimeStep(FileTimeResolution resolution)
{
    switch (resolution) {
    case FileTimeResolution::TwoSeconds:
        return 2 * Second;
    case FileTimeResolution::OneSecond:
        return Second;
    case FileTimeResolution::TenMilliseconds:
        return TenMilliseconds;
    default:
        return 1;
    }
}

uint64_t FileTimeProbe(uint64_t near)
{
    // An odd second, 10 ms and one unit past a whole 2 seconds.
    return near / (2 * Second) * (2 * Second) + Second + TenMilliseconds + 1;
}

FileTimeResolution FileTimeResolutionOfReadBack(uint64_t set, uint64_t readBack)
{
    if (readBack == set)
        return FileTimeResolution::Exact;
    // Kept to whole steps of the coarsest resolution whose step it lies within.
    for (FileTimeResolution resolution :
         {FileTimeResolution::TwoSeconds, FileTimeResolution::OneSecond, FileTimeResolution::TenMilliseconds}) {
        if (Distance(set, readBack) < FileTimeStep(resolution) && readBack % FileTimeStep(resolution) == 0)
            return resolution;
    }
    return FileTimeResolution::TwoSeconds;
}

FileTimeResolution FileTimeResolutionShown(uint64_t time)
{
    if (time % (2 * Second) == 0)
        return FileTimeResolution::TwoSeconds;
    if (time % Second == 0)
        return FileTimeResolution::OneSecond;
    if (time % TenMilliseconds == 0)
        return FileTimeResolution::TenMilliseconds;
    return FileTimeResolution::Exact;
}

bool FileTimesAgreeAsKept(uint64_t kept, uint64_t other)
{
    return FileTimesAgree(kept, other, FileTimeResolutionShown(kept));
}

bool FileTimesAgree(uint64_t a, uint64_t b, FileTimeResolution resolution)
{
    uint64_t step = FileTimeStep(resolution);
    if (resolution == FileTimeResolution::Exact)
        return a == b;
    uint64_t apart = Distance(a, b);
    if (apart <= step)
        return true;
    return resolution == FileTimeResolution::TwoSeconds && Distance(apart, Hour) <= step;
}
