// Undo from the history file, on real files in a fresh folder, with the real
// window in the test process: records are evidence, not orders; undos take
// sorts back newest first; a step that failed for a system error is tried
// again by the next undo.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "history/history_log.h"
#include "sorting/history_undo.h"
#include "sorting/sort_run.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "util/file_facts.h"
#include "util/scoped_handle.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/status_list.h"

namespace {

std::string Line(const std::string& title, const std::string& text)
{
    return StatusLine(title, std::string(ActivityMarker) + "  " + text);
}

}  // namespace

class HistoryUndoTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        app.TitleBanner = "Quillet - ";
        app.Settings.DumpLeftOvers = "No";
        app.Settings.LastIndex = "LiberKey";
        app.IndexList = {{"_Cat", "Pkg_"}};
        app.ActiveSource = Source();
        app.ActiveTarget = Target();
        HistoryLogSetUp(app.History, temp.path());
        app.History.showFault = ShowHistoryFault;
        StatusListRecordInto(&app.History);
    }

    void TearDown() override
    {
        HistoryRunEnds(app.History);
        StatusListRecordInto(nullptr);
        WindowTest::TearDown();
    }

    std::string Source() const { return temp / "In\\"; }
    std::string Target() const { return temp / "Out\\"; }

    void SortOne(const std::string& fileName)
    {
        WriteFileBytes(Source() + fileName, fileName);
        ListAddRow(ListFiles, -1, Source() + "\n" + fileName);
        RunSort(app);
    }

    // A record after a placement: the file at the destination as it is now.
    static std::string Placed(const std::string& run, int number, const std::string& package,
                              const std::string& destination)
    {
        FileStamp stamp;
        ReadFileStamp(destination, &stamp);
        return "2026-12-07 16:30:05\t" + run + "\tPlaced\t" + std::to_string(number) + "\tplaced\tLiberKey\tMove\t"
               + package + "\t" + destination + "\t" + std::to_string(stamp.size) + "\t"
               + std::to_string(stamp.lastWriteTime) + "\tno\tFile moved okay\tx";
    }

    std::vector<std::string> StatusLinesFrom(size_t first) const
    {
        std::vector<std::string> lines = StatusLines();
        return std::vector<std::string>(lines.begin() + static_cast<long>(first), lines.end());
    }

    std::vector<std::string> DiskWithoutHistory() const
    {
        std::vector<std::string> disk = DiskListing(temp.path());
        disk.erase(std::remove_if(disk.begin(), disk.end(),
                                  [](const std::string& e) { return e.rfind("Quillet.History.Log=", 0) == 0; }),
                   disk.end());
        return disk;
    }

    TempFolder temp;
};

TEST_F(HistoryUndoTest, HandMadeRecordsOutsideTheirSortAreNotActedOn)
{
    for (const char* file : {"Out\\_Cat\\Good.lks", "Precious\\Keep.lks", "Out\\_Cat\\Other.lks",
                             "Precious\\Dots.lks", "Out\\_Cat\\Orphan.lks", "Out\\_Cat\\Bad.lks", "Out\\_Cat\\Cut.lks"})
        WriteFileBytes(temp / file, file);
    MakeFolders(Source());
    std::string sort = "2026-12-07 16:30:05\tS-1\tSort\tLiberKey\tMove\t" + Source() + "\t" + Target();
    std::string damaged = Placed("S-1", 6, Source() + "Bad.lks", Target() + "_Cat\\Bad.lks");
    damaged.replace(damaged.find("\tno\t"), 4, "\tmaybe\t");
    WriteFileBytes(temp / "Quillet.History.Log",
                   Placed("S-0", 0, Source() + "Orphan.lks", Target() + "_Cat\\Orphan.lks") + "\r\n" + sort + "\r\n"
                       + Placed("S-1", 1, Source() + "Good.lks", Target() + "_Cat\\Good.lks") + "\r\n"
                       + Placed("S-1", 2, Source() + "Keep.lks", temp / "Precious\\Keep.lks") + "\r\n"
                       + Placed("S-1", 3, temp / "Elsewhere\\Other.lks", Target() + "_Cat\\Other.lks") + "\r\n"
                       + Placed("S-1", 4, Source() + "Dots.lks", Target() + "_Cat\\..\\..\\Precious\\Dots.lks")
                       + "\r\ngarbage\tline\r\n" + damaged + "\r\n"
                       + Placed("S-1", 7, Source() + "Cut.lks", Target() + "_Cat\\Cut.lks"));
    HistoryUndoRefresh(app);
    ASSERT_TRUE(HistoryUndoAvailable(app));
    std::vector<std::string> expected = DiskWithoutHistory();
    std::replace(expected.begin(), expected.end(), std::string("Out\\_Cat\\Good.lks=Out\\_Cat\\Good.lks"),
                 std::string("In\\Good.lks=Out\\_Cat\\Good.lks"));
    std::sort(expected.begin(), expected.end());

    UndoFromHistory(app);
    const std::string outside = "  its record names a file outside the folders of its sort, so it is left";
    EXPECT_EQ(StatusLines(), (std::vector<std::string>{Line("Undo started", "LiberKey  2026-12-07 16:30:05  1 placements"),
                                                       Line("Not undone", "Keep.lks" + outside),
                                                       Line("Not undone", "Other.lks" + outside),
                                                       Line("Not undone", "Dots.lks" + outside),
                                                       Line("Undone", "Good.lks  moved back to " + Source()),
                                                       Line("Undo finished", "1 of 1 placements undone")}));
    // Again: the sort before, whose record has no start line.
    size_t first = StatusLines().size();
    UndoFromHistory(app);
    EXPECT_EQ(StatusLinesFrom(first),
              (std::vector<std::string>{Line("Undo started", "0 placements"),
                                        Line("Not undone",
                                             "Orphan.lks  the history holds no start line of its sort, so it is left")}));
    EXPECT_FALSE(HistoryUndoAvailable(app));
    EXPECT_EQ(DiskWithoutHistory(), expected);
}

TEST_F(HistoryUndoTest, UndosTakeSortsBackNewestFirstAndRetryWhatASystemErrorStopped)
{
    app.Settings.CopyOrMove = "Move";
    SortOne("Pkg_First.lks");
    SortOne("Pkg_Second.lks");
    ASSERT_TRUE(FileExists(Target() + "_Cat\\Pkg_Second.lks"));
    {
        // Another program holds the placed file: it cannot be moved back now.
        ScopedHandle held(CreateFileA((Target() + "_Cat\\Pkg_Second.lks").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
        UndoFromHistory(app);
        EXPECT_TRUE(FileExists(Target() + "_Cat\\Pkg_Second.lks"));
        EXPECT_TRUE(HistoryUndoAvailable(app));
    }
    size_t first = StatusLines().size();
    std::string started = Line("Undo started", "LiberKey  " + app.LastSort.time + "  1 placements");
    UndoFromHistory(app);
    EXPECT_EQ(StatusLinesFrom(first),
              (std::vector<std::string>{started, Line("Undone", "Pkg_Second.lks  moved back to " + Source()),
                                        Line("Undo finished", "1 of 1 placements undone")}));
    EXPECT_TRUE(FileExists(Target() + "_Cat\\Pkg_First.lks"));

    UndoFromHistory(app);
    EXPECT_TRUE(FileExists(Source() + "Pkg_First.lks"));
    EXPECT_FALSE(FolderExists(Target() + "_Cat"));
    EXPECT_FALSE(HistoryUndoAvailable(app));
}

// A Copy onto a file that already holds the package's bytes leaves that file
// as it is, records "identical", and no undo takes it away.
TEST_F(HistoryUndoTest, ACopyFindingThePackagesBytesThereLeavesThemToEveryUndo)
{
    app.Settings.CopyOrMove = "Copy";
    WriteFileBytes(Source() + "Pkg_Same.lks", "same");
    MakeFolders(Target() + "_Cat\\");
    ASSERT_TRUE(CopyFileA((Source() + "Pkg_Same.lks").c_str(), (Target() + "_Cat\\Pkg_Same.lks").c_str(), TRUE));
    ListAddRow(ListFiles, -1, Source() + "\nPkg_Same.lks");
    SortOne("Pkg_New.lks");
    EXPECT_NE(ReadFileBytes(temp / "Quillet.History.Log").find("\tidentical\tLiberKey\tCopy\t" + Source()),
              std::string::npos);
    size_t first = StatusLines().size();
    UndoFromHistory(app);
    EXPECT_EQ(StatusLinesFrom(first).back(), Line("Undo finished", "1 of 1 placements undone"));
    EXPECT_EQ(ReadFileBytes(Target() + "_Cat\\Pkg_Same.lks"), "same");
    EXPECT_FALSE(FileExists(Target() + "_Cat\\Pkg_New.lks"));
    EXPECT_FALSE(HistoryUndoAvailable(app));
}
