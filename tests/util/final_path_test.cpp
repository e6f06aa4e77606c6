// Where paths lead on a share: the final paths Windows gives for a share
// ("\\?\UNC\server\share\..."), which Wine never gives (it names a share's
// files by the drive its link lies on), and the folder tests over them.
#include <gtest/gtest.h>

#include "file_acts/act_names.h"
#include "util/final_path.h"

TEST(PlainFinalPath, AShareAndADriveInPlainForm)
{
    EXPECT_EQ(PlainFinalPath("\\\\?\\UNC\\server\\share\\A\\B"), "\\\\server\\share\\A\\B");
    EXPECT_EQ(PlainFinalPath("\\\\?\\C:\\Users\\A"), "C:\\Users\\A");
    EXPECT_EQ(PlainFinalPath("\\\\server\\share\\A"), "\\\\server\\share\\A");
}

TEST(PathLiesBelow, OnAShareAsOnADrive)
{
    const std::string folder = PlainFinalPath("\\\\?\\UNC\\server\\share\\Sorted");
    EXPECT_TRUE(PathLiesBelow(folder, "\\\\server\\share\\Sorted\\_Games"));
    EXPECT_TRUE(PathLiesBelow(folder, "\\\\SERVER\\Share\\sorted\\_Games\\"));
    EXPECT_TRUE(PathLiesBelow(folder, folder));
    EXPECT_FALSE(PathLiesBelow(folder, folder, false));
    EXPECT_FALSE(PathLiesBelow(folder, "\\\\server\\share\\SortedToo"));
    EXPECT_FALSE(PathLiesBelow(folder, "\\\\server\\other\\Sorted\\_Games"));
    EXPECT_FALSE(PathLiesBelow(folder, "\\\\otherserver\\share\\Sorted\\_Games"));
}

// The system's names of open files on a share (Windows: below \Device\Mup).
TEST(ActNames, AShareFilesNameLiesBelowItsFolders)
{
    const std::wstring folder = L"\\Device\\Mup\\server\\share\\Sorted";
    EXPECT_TRUE(ActNameWithin(folder, ActNameJoin(folder, L"_Games")));
    EXPECT_TRUE(ActNameWithin(folder, L"\\Device\\Mup\\SERVER\\share\\sorted\\_Games\\a.lks"));
    EXPECT_FALSE(ActNameWithin(folder, L"\\Device\\Mup\\server\\share\\SortedToo"));
    EXPECT_FALSE(ActNameWithin(folder, L"\\Device\\Mup\\server\\other\\Sorted"));
    EXPECT_TRUE(ActNamesEqual(ActNameParent(ActNameJoin(folder, L"a.lks")), folder));
}
