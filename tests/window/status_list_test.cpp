#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "support/window_test.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/main_window.h"
#include "window/status_list.h"

namespace {

const std::string Marker = "\x3C\xB0\x29\x29\x29\x6F\x3E\x3C\xB2\xB3";

}  // namespace

TEST(ActivityLineText, MarkerIsTheTenWindows1252Bytes)
{
    EXPECT_EQ(std::string(ActivityMarker), Marker);
    EXPECT_EQ(std::string(ActivityMarker).size(), 10u);
}

TEST(ActivityLineText, ReportLinesPutThreeBlanksAfterTheMarkerAllOthersTwo)
{
    EXPECT_EQ(ActivityLineText(Activity::NoReport).explanation,
              Marker + "   User selected not to create a report");
    EXPECT_EQ(ActivityLineText(Activity::ReportCreated).explanation,
              Marker + "   User selected to create a report");
    EXPECT_EQ(ActivityLineText(Activity::SortFinished).explanation,
              Marker + "  All files specified in the index have been sorted");
    EXPECT_EQ(ActivityLineText(Activity::SourceAbort).explanation,
              Marker + "  The selected directory to search is empty");
    EXPECT_EQ(ActivityLineText(Activity::FolderPathTooLong).explanation, Marker + "  path of 260 characters or more");
}

TEST(ActivityLineText, CannotOpenPutsBangsRightAfterThePath)
{
    ActivityText line = ActivityLineText(Activity::CannotOpen, "C:\\Work\\Quillet.Ini");
    EXPECT_EQ(line.title, "Cannot open");
    EXPECT_EQ(line.explanation, Marker + "  C:\\Work\\Quillet.Ini!!!");
}

TEST(ActivityLineText, VariablePartsFollowTheFixedText)
{
    EXPECT_EQ(ActivityLineText(Activity::FetchingFiles, "D:\\In\\").explanation,
              Marker + "  Retrieving files from D:\\In\\");
    EXPECT_EQ(ActivityLineText(Activity::FinishedFetching, "LiberKey").explanation,
              Marker + "  Found all files for LiberKey");
    EXPECT_EQ(ActivityLineText(Activity::ReadConfigFile, "C:\\Q\\Quillet.Ini").title, "Read config file");
    EXPECT_EQ(ActivityLineText(Activity::IndexLoadAndroid).explanation,
              Marker + "  AndroidApps file sort index list loaded");
    EXPECT_EQ(ActivityLineText(Activity::SortDisallowed).explanation,
              Marker + "  The source and target directories must not be the same, bad things can happen");
}

TEST(ActivityLineText, EveryKeyHasATitleAndStartsWithTheMarker)
{
    for (int key = static_cast<int>(Activity::ReadConfigFile); key <= static_cast<int>(Activity::Startup); ++key) {
        ActivityText line = ActivityLineText(static_cast<Activity>(key), "x");
        EXPECT_FALSE(line.title.empty()) << key;
        EXPECT_EQ(line.title.find('\n'), std::string::npos) << key;
        EXPECT_EQ(line.explanation.compare(0, Marker.size(), Marker), 0) << key;
    }
}

using AddActivityLineTest = WindowTest;

TEST_F(AddActivityLineTest, AppendsTitleAndExplanationAsTheLastRow)
{
    AddActivityLine("First", "one");
    AddActivityLine("Second", "two");
    ASSERT_EQ(ListCountRows(ListStatus), 2);
    EXPECT_EQ(ListRowText(ListStatus, 1, 0), "Second");
    EXPECT_EQ(ListRowText(ListStatus, 1, 1), "two");
}

TEST_F(AddActivityLineTest, ExplanationEndsAtItsFirstLineFeedKeepingTheCarriageReturn)
{
    AddActivityLine("Cannot move file", "a.lks  File already exists.\r\nmore");
    EXPECT_EQ(ListRowText(ListStatus, 0, 1), "a.lks  File already exists.\r");
}

TEST_F(AddActivityLineTest, DoesNotScrollOrSelect)
{
    HWND list = ControlWindow(ListStatus);
    for (int i = 0; i < 200; ++i)
        AddActivityLine("Line", std::to_string(i));
    EXPECT_EQ(SendMessageA(list, LVM_GETTOPINDEX, 0, 0), 0);

    EnsureVisible(ListStatus, 120);
    LRESULT top = SendMessageA(list, LVM_GETTOPINDEX, 0, 0);
    ASSERT_GT(top, 0);
    AddActivityLine("Newest", "line");
    EXPECT_EQ(SendMessageA(list, LVM_GETTOPINDEX, 0, 0), top);
    EXPECT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    EXPECT_EQ(ListRowText(ListStatus, 200, 0), "Newest");
}
