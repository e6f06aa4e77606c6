// Times compared as the file systems that keep them can keep them.
#include <gtest/gtest.h>

#include "util/file_times.h"

namespace {

const uint64_t Second = 10000000, Hour = 3600 * Second;
// 2026-12-08 07:00:00 UTC as a FILETIME, a whole 2 seconds.
const uint64_t Now = 134412840000000000ull;

}  // namespace

// A probe time kept by each file system comes back as that file system keeps
// times: exactly, to 10 ms, to whole seconds (a FUSE driver of exFAT), or to
// whole 2 seconds, rounded down or up (FAT).
TEST(FileTimeResolution, AProbeReadBackTellsHowFinelyTimesAreKept)
{
    uint64_t probe = FileTimeProbe(Now + 12345);
    EXPECT_NE(probe % 2, 0u);
    EXPECT_EQ(FileTimeResolutionOfReadBack(probe, probe), FileTimeResolution::Exact);
    EXPECT_EQ(FileTimeResolutionOfReadBack(probe, probe / 100000 * 100000), FileTimeResolution::TenMilliseconds);
    EXPECT_EQ(FileTimeResolutionOfReadBack(probe, probe / Second * Second), FileTimeResolution::OneSecond);
    EXPECT_EQ(FileTimeResolutionOfReadBack(probe, probe / (2 * Second) * (2 * Second)), FileTimeResolution::TwoSeconds);
    EXPECT_EQ(FileTimeResolutionOfReadBack(probe, (probe / (2 * Second) + 1) * (2 * Second)),
              FileTimeResolution::TwoSeconds);
}

TEST(FileTimeResolution, AKeptTimeShowsTheCoarsestResolutionItFits)
{
    EXPECT_EQ(FileTimeResolutionShown(Now), FileTimeResolution::TwoSeconds);
    EXPECT_EQ(FileTimeResolutionShown(Now + Second), FileTimeResolution::OneSecond);
    EXPECT_EQ(FileTimeResolutionShown(Now + 300000), FileTimeResolution::TenMilliseconds);
    EXPECT_EQ(FileTimeResolutionShown(Now + 300001), FileTimeResolution::Exact);
}

// Within one step of the resolution times agree, no further; FAT's times,
// kept in local time, also agree an hour apart (a change of daylight saving
// time), and no other file system's do.
TEST(FileTimesAgree, WithinOneStepAndOnFatAnHourApart)
{
    EXPECT_TRUE(FileTimesAgree(Now, Now, FileTimeResolution::Exact));
    EXPECT_FALSE(FileTimesAgree(Now, Now + 1, FileTimeResolution::Exact));
    EXPECT_TRUE(FileTimesAgree(Now + 123456, Now + 100000, FileTimeResolution::TenMilliseconds));
    EXPECT_FALSE(FileTimesAgree(Now + 300000, Now + 100000, FileTimeResolution::TenMilliseconds));
    EXPECT_TRUE(FileTimesAgree(Now + 2 * Second, Now + 1, FileTimeResolution::TwoSeconds));
    EXPECT_FALSE(FileTimesAgree(Now + 3 * Second, Now, FileTimeResolution::TwoSeconds));
    for (uint64_t shifted : {Now + Hour, Now - Hour, Now + Hour + 2 * Second}) {
        EXPECT_TRUE(FileTimesAgree(shifted, Now, FileTimeResolution::TwoSeconds));
        EXPECT_FALSE(FileTimesAgree(shifted, Now, FileTimeResolution::TenMilliseconds));
    }
    EXPECT_FALSE(FileTimesAgree(Now + Hour + 4 * Second, Now, FileTimeResolution::TwoSeconds));
    EXPECT_FALSE(FileTimesAgree(Now + 2 * Hour, Now, FileTimeResolution::TwoSeconds));
}
