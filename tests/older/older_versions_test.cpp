// Putting older versions aside, its preview and its run after a sort, on real
// files in a fresh folder, with the real window in the test process.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "older/older_versions.h"
#include "support/folder_link.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "window/controls.h"

namespace {

class OlderVersionsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        app.TitleBanner = "Quillet - ";
        app.ActiveTarget = temp / "Sorted\\";
    }

    // Two versions of one app in the source, one folder further down in it,
    // and in a category folder of the target.
    void WriteVersions(const std::string& source)
    {
        for (const std::string& folder : {source, source + "Sub\\", temp / "Sorted\\_System\\"}) {
            WriteFileBytes(folder + "Speccy_1.15.lks", "1.15");
            WriteFileBytes(folder + "Speccy_1.16.lks", "1.16");
        }
    }

    // How many status lines say that the source's folders were left out.
    static long LeftOutLines()
    {
        std::vector<std::string> lines = StatusLines();
        return std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
            return line.rfind("Older versions|", 0) == 0 && line.find("its folders are left out") != std::string::npos;
        });
    }

    TempFolder temp;
};

}  // namespace

// The source lies inside the target (its text in another letter case): its
// packages are downloads not sorted yet, and stay where they are.
TEST_F(OlderVersionsTest, TheSourcesTreeInsideTheTargetIsLeftOutWithOneLine)
{
    app.ActiveSource = temp / "SORTED\\Downloads";
    const std::string source = temp / "Sorted\\Downloads\\";
    WriteVersions(source);
    const std::vector<std::string> downloads = DiskListing(source);

    ASSERT_TRUE(PreviewOlderVersions(app));
    EXPECT_EQ(ListRows(ListSorted, 3), (std::vector<std::string>{"_System|Speccy_1.15.lks|Older"}));
    EXPECT_EQ(LeftOutLines(), 1);

    OlderOutcome outcome = PutOlderVersionsAside(app);
    EXPECT_TRUE(outcome.done);
    EXPECT_EQ(outcome.failed, 0);
    EXPECT_EQ(LeftOutLines(), 2);
    EXPECT_EQ(DiskListing(source), downloads);
    EXPECT_EQ(ReadFileBytes(temp / "Sorted\\_Older versions\\_System\\Speccy_1.15.lks"), "1.15");
    EXPECT_FALSE(FileExists(temp / "Sorted\\_System\\Speccy_1.15.lks"));
    EXPECT_FALSE(FolderExists(temp / "Sorted\\_Older versions\\Downloads"));

    // After a sort that placed into the source's tree and elsewhere.
    WriteFileBytes(temp / "Sorted\\_System\\Speccy_1.10.lks", "1.10");
    app.Options[ProgramOption::OlderVersionsAside].value = true;
    EXPECT_EQ(PutOlderVersionsAsideAfterSort(app, {source + "Sub\\", temp / "Sorted\\_System\\"}), 0);
    EXPECT_EQ(LeftOutLines(), 3);
    EXPECT_EQ(DiskListing(source), downloads);
    EXPECT_EQ(ReadFileBytes(temp / "Sorted\\_Older versions\\_System\\Speccy_1.10.lks"), "1.10");
}

// A source elsewhere, or none: no line, and every folder of the target counts.
TEST_F(OlderVersionsTest, ASourceBesideTheTargetLeavesOutNothing)
{
    app.ActiveSource = temp / "Sorted Downloads\\";
    WriteVersions(temp / "Sorted\\Downloads\\");
    WriteVersions(temp / "Sorted Downloads\\");
    ASSERT_TRUE(PutOlderVersionsAside(app).done);
    EXPECT_EQ(LeftOutLines(), 0);
    for (const char* folder : {"Downloads\\", "Downloads\\Sub\\", "_System\\"})
        EXPECT_TRUE(FileExists(temp / "Sorted\\_Older versions\\" + folder + "Speccy_1.15.lks")) << folder;
    EXPECT_TRUE(FileExists(temp / "Sorted Downloads\\Sub\\Speccy_1.15.lks"));
}

// The source reached through a link outside the target is the same folder as
// one inside it: the final paths tell.
TEST_F(OlderVersionsTest, ASourceThatALinkLeadsIntoTheTargetIsLeftOutToo)
{
    const std::string source = temp / "Sorted\\Downloads\\";
    WriteVersions(source);
    FolderLink link(temp.path(), "Downloads", "Sorted/Downloads");
    ASSERT_TRUE(link.made());
    app.ActiveSource = temp / "Downloads\\";
    const std::vector<std::string> downloads = DiskListing(source);

    ASSERT_TRUE(PutOlderVersionsAside(app).done);
    EXPECT_EQ(LeftOutLines(), 1);
    EXPECT_EQ(DiskListing(source), downloads);
    EXPECT_EQ(ReadFileBytes(temp / "Sorted\\_Older versions\\_System\\Speccy_1.15.lks"), "1.15");
}

// A number that names the app tells two apps apart; one of a version does not.
TEST_F(OlderVersionsTest, ThemesOfTwoWindowsAreTwoAppsWhileEditionsKeepTheirVersions)
{
    const std::string themes = temp / "Sorted\\_Themes\\";
    for (const char* name : {"Windows_7_Theme.lks", "Windows_10_Theme.lks", "Office_2010_Viewer_1.0.lks",
                             "Office_2013_Viewer_1.0.lks", "Office_2013_Viewer_1.1.lks", "Tool_5_x64.paf.exe",
                             "Tool_6_x64.paf.exe", "Tool_5_English.paf.exe"})
        WriteFileBytes(themes + name, name);
    ASSERT_TRUE(PreviewOlderVersions(app));
    EXPECT_EQ(ListRows(ListSorted, 3), (std::vector<std::string>{"_Themes|Office_2013_Viewer_1.0.lks|Older",
                                                                  "_Themes|Tool_5_x64.paf.exe|Older"}));
}
