#include <gtest/gtest.h>
#include <windows.h>

#include "report/leftover_report.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/main_window.h"
#include "window/status_list.h"

namespace {

const std::string Rule(83, '-');

}  // namespace

TEST(OrphanListingText, HeadPathsAndFootEachEndedByCrLf)
{
    std::string text = OrphanListingText("LiberKey", {"C:\\In\\a.lks", "C:\\In\\Sub\\b.apk"});
    EXPECT_EQ(text, Rule + "\r\n"
                        "Start of [LiberKey] orphan files listing.\r\n"
                        + Rule + "\r\n"
                        "\r\n"
                        "C:\\In\\a.lks\r\n"
                        "C:\\In\\Sub\\b.apk\r\n"
                        + Rule + "\r\n"
                        "End of [LiberKey] orphan files listing.\r\n"
                        + Rule + "\r\n"
                        "\r\n");
}

class WriteOrphanListingTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        app.LogFilePath = temp / "Quillet.Log";
        app.Settings.LastIndex = "PortableApps";
    }

    TempFolder temp;
};

TEST_F(WriteOrphanListingTest, ListsEveryRowTopDownWithItsFullPath)
{
    ListAddRow(ListFiles, -1, "C:\\In\\\nz.paf.exe");
    ListAddRow(ListFiles, -1, "C:\\In\\A\\Deep\\\nb.apk");
    ListAddRow(ListFiles, -1, "C:\\In\\B\\\na.lks");
    WriteOrphanListing(app);
    EXPECT_EQ(ReadFileBytes(app.LogFilePath),
              OrphanListingText("PortableApps", {"C:\\In\\z.paf.exe", "C:\\In\\A\\Deep\\b.apk", "C:\\In\\B\\a.lks"}));
    EXPECT_EQ(ListCountRows(ListStatus), 0);
}

TEST_F(WriteOrphanListingTest, SecondListingReplacesTheFirst)
{
    ListAddRow(ListFiles, -1, "C:\\In\\\nfirst_with_a_long_name_1.lks");
    ListAddRow(ListFiles, -1, "C:\\In\\\nsecond_with_a_long_name_2.lks");
    WriteOrphanListing(app);
    ListRemoveRow(ListFiles, 0);
    WriteOrphanListing(app);
    EXPECT_EQ(ReadFileBytes(app.LogFilePath), OrphanListingText("PortableApps", {"C:\\In\\second_with_a_long_name_2.lks"}));
}

TEST_F(WriteOrphanListingTest, EmptyFileListLeavesTheFileAlone)
{
    WriteFileBytes(app.LogFilePath, "earlier listing");
    WriteOrphanListing(app);
    EXPECT_EQ(ReadFileBytes(app.LogFilePath), "earlier listing");
}

TEST_F(WriteOrphanListingTest, FileThatCannotBeMadeIsSkippedSilently)
{
    ListAddRow(ListFiles, -1, "C:\\In\\\na.lks");
    MakeFolders(app.LogFilePath);
    WriteOrphanListing(app);
    EXPECT_TRUE(FolderExists(app.LogFilePath));

    app.LogFilePath = temp / "Missing\\Quillet.Log";
    WriteOrphanListing(app);
    EXPECT_FALSE(FolderExists(temp / "Missing"));
    EXPECT_EQ(ListCountRows(ListStatus), 0);
}

TEST_F(WriteOrphanListingTest, HiddenLogFileIsStillRewritten)
{
    WriteFileBytes(app.LogFilePath, "earlier listing that is longer than the new one by far, far, far");
    SetFileAttributesA(app.LogFilePath.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ListAddRow(ListFiles, -1, "C:\\In\\\na.lks");
    WriteOrphanListing(app);
    EXPECT_EQ(ReadFileBytes(app.LogFilePath), OrphanListingText("PortableApps", {"C:\\In\\a.lks"}));
}

using OnDumpLeftoversChangedTest = WindowTest;

TEST_F(OnDumpLeftoversChangedTest, FollowsTheBoxAndReportsEachChangeWritingNoFile)
{
    TempFolder temp;
    app.LogFilePath = temp / "Quillet.Log";
    ListAddRow(ListFiles, -1, "C:\\In\\\na.lks");
    SendMessageA(ControlWindow(CheckDumpLeftovers), BM_CLICK, 0, 0);
    OnDumpLeftoversChanged(app);
    EXPECT_EQ(app.Settings.DumpLeftOvers, "Yes");
    CtlSetState(CheckDumpLeftovers, 0);
    OnDumpLeftoversChanged(app);
    EXPECT_EQ(app.Settings.DumpLeftOvers, "No");

    ActivityText created = ActivityLineText(Activity::ReportCreated);
    ActivityText none = ActivityLineText(Activity::NoReport);
    EXPECT_EQ(StatusLines(), (std::vector<std::string>{StatusLine(created.title, created.explanation),
                                                       StatusLine(none.title, none.explanation)}));
    EXPECT_FALSE(FileExists(app.LogFilePath));
}
