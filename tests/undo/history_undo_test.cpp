// Undo from the history file, on real files in a fresh folder, with the real
// window in the test process: records are evidence, not orders; undos take
// sorts back newest first; a step that failed for a system error is tried
// again by the next undo.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>

#include "app/sort_steps.h"
#include "history/history_file.h"
#include "history/history_line.h"
#include "history/history_log.h"
#include "history/history_read.h"
#include "history/history_staging.h"
#include "support/folder_link.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "undo/history_undo.h"
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

    void SortOne(const std::string& fileName, const std::string& folder)
    {
        WriteFileBytes(folder + fileName, fileName);
        ListAddRow(ListFiles, -1, folder + "\n" + fileName);
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

    // The run id of the newest sort in the history.
    std::string LastSortId() const
    {
        std::string text = ReadFileBytes(temp / "Quillet.History.Log");
        size_t sort = text.rfind("\tSort\t"), start = text.rfind('\t', sort - 1) + 1;
        return text.substr(start, sort - start);
    }

    // A sort's start line and one record of it, as another program could append them.
    static std::string Forged(const std::string& time, const std::string& mode, const std::string& source,
                              const std::string& target, const std::string& outcome, const std::string& package,
                              const std::string& destination, const std::string& folder = std::string())
    {
        std::string run = "F-" + time.substr(time.size() - 2);
        std::string placed = Placed(run, 0, package, destination);
        const std::string fields = "\tplaced\tLiberKey\tMove\t";
        placed.replace(placed.find(fields), fields.size(), "\t" + outcome + "\tLiberKey\t" + mode + "\t");
        return HistoryFramed(time + "\t" + run + "\tSort\tLiberKey\t" + mode + "\t" + source + "\t" + target)
               + HistoryFramed(placed.replace(0, 19, time) + (folder.empty() ? "" : "\t" + folder));
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
                             "Precious\\Dots.lks", "Out\\_Cat\\Orphan.lks", "Out\\_Cat\\Bad.lks", "Out\\_Cat\\Cut.lks",
                             "Out\\_Cat\\Lost.lks", "In\\Last.lks"})
        WriteFileBytes(temp / file, file);
    // Lines before a move without the line after: only the last can have been
    // cut short by a crash, and the disk settles it; the other lost its line.
    std::string place = "2026-12-07 16:30:05\tS-1\tPlace\t";
    std::string lost = place + "5\tLiberKey\tMove\t" + Source() + "Lost.lks\t" + Target() + "_Cat\\Lost.lks";
    std::string last = place + "8\tLiberKey\tMove\t" + Source() + "Last.lks\t" + Target() + "_Cat\\Last.lks";
    std::string sort = "2026-12-07 16:30:05\tS-1\tSort\tLiberKey\tMove\t" + Source() + "\t" + Target();
    std::string damaged = Placed("S-1", 6, Source() + "Bad.lks", Target() + "_Cat\\Bad.lks");
    damaged.replace(damaged.find("\tno\t"), 4, "\tmaybe\t");
    std::string lines;
    for (const std::string& line :
         {Placed("S-0", 0, Source() + "Orphan.lks", Target() + "_Cat\\Orphan.lks"), sort,
          Placed("S-1", 1, Source() + "Good.lks", Target() + "_Cat\\Good.lks"),
          Placed("S-1", 2, Source() + "Keep.lks", temp / "Precious\\Keep.lks"),
          Placed("S-1", 3, temp / "Elsewhere\\Other.lks", Target() + "_Cat\\Other.lks"),
          Placed("S-1", 4, Source() + "Dots.lks", Target() + "_Cat\\..\\..\\Precious\\Dots.lks"),
          std::string("garbage\tline"), damaged, lost, last})
        lines += HistoryFramed(line);
    WriteFileBytes(temp / "Quillet.History.Log",
                   lines + Placed("S-1", 7, Source() + "Cut.lks", Target() + "_Cat\\Cut.lks"));
    HistoryUndoRefresh(app);
    ASSERT_TRUE(HistoryUndoAvailable(app));
    std::vector<std::string> expected = DiskWithoutHistory();
    std::replace(expected.begin(), expected.end(), std::string("Out\\_Cat\\Good.lks=Out\\_Cat\\Good.lks"),
                 std::string("In\\Good.lks=Out\\_Cat\\Good.lks"));
    std::sort(expected.begin(), expected.end());

    UndoFromHistory(app);
    const std::string outside = "  its record names a file outside the folders of its sort, so it is left";
    EXPECT_EQ(StatusLines(), (std::vector<std::string>{Line("Undo started", "LiberKey  2026-12-07 16:30:05  1 placement"),
                                                       Line("Not undone", "Keep.lks" + outside),
                                                       Line("Not undone", "Other.lks" + outside),
                                                       Line("Not undone", "Dots.lks" + outside),
                                                       Line("Not undone", "Lost.lks  its line after the copy or "
                                                                          "move cannot be read, so it is left"),
                                                       Line("Undone", "Good.lks  moved back to " + Source()),
                                                       Line("Undo finished", "1 of 1 placement undone")}));
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
    SortOne("Pkg_First.lks", Source());
    SortOne("Pkg_Second.lks", Source() + "sub\\");
    ASSERT_TRUE(FileExists(Target() + "_Cat\\Pkg_Second.lks"));
    {
        // Another program holds the placed file: it cannot be moved back now.
        ScopedHandle held(CreateFileA((Target() + "_Cat\\Pkg_Second.lks").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
        UndoFromHistory(app);
        EXPECT_EQ(StatusLines().back(), Line("Undo pending", "1 step still pending"));
    }
    // The package's folder is gone: the step fails each time, and undos still
    // reach the older sort, then only retry it.
    ASSERT_TRUE(RemoveDirectoryA((Source() + "sub").c_str()));
    for (int undo = 0; undo < 2; ++undo) {
        size_t first = StatusLines().size();
        UndoFromHistory(app);
        std::vector<std::string> lines = StatusLinesFrom(first);
        // Each sort taken back is announced first.
        ASSERT_EQ(lines.size(), undo ? 4u : 7u);
        EXPECT_EQ(lines[0].rfind(Line("Undo started", "LiberKey  "), 0), 0u);
        EXPECT_EQ(lines[0].substr(lines[0].size() - 13), "  1 placement");
        if (!undo) {
            EXPECT_EQ(lines[1], Line("Undone", "Pkg_First.lks  moved back to " + Source()));
        }
        EXPECT_EQ(lines.end()[-3].rfind(Line("Not undone", "Pkg_Second.lks  cannot move it back: "), 0), 0u);
        EXPECT_EQ(lines.back(), Line("Undo pending", "1 step still pending"));
        EXPECT_TRUE(HistoryUndoAvailable(app));
    }
    EXPECT_TRUE(FileExists(Source() + "Pkg_First.lks"));
    MakeFolders(Source() + "sub");
    UndoFromHistory(app);
    EXPECT_TRUE(FileExists(Source() + "sub\\Pkg_Second.lks"));
    EXPECT_FALSE(FileExists(Target() + "_Cat\\Pkg_Second.lks"));
    EXPECT_FALSE(HistoryUndoAvailable(app));
}

TEST_F(HistoryUndoTest, ForgedSortsAndRecordsGiveNoPowerBeyondTheSettings)
{
    app.Settings.CopyOrMove = "Move";
    SortOne("Pkg_Mine.lks", Source());
    const std::string away = temp / "Away\\", victim = temp / "Victim\\", raw = "\\\\?\\";
    for (const char* file : {"Victim\\_C\\evil.dll", "Victim\\Secret\\passwords.txt", "Victim\\_C\\twin.lks",
                             "Victim\\etc\\hosts.lks", "Away\\hosts.lks", "Victim\\_C\\raw.lks", "Out\\_Cat\\notes.txt",
                             "Out\\_Cat\\evil3.lks"})
        WriteFileBytes(temp / file, "victim's");
    MakeFolders(victim + "Empty");
    FolderLink link(Source(), "link", "../Away"), linkOut(Target(), "out", "../Victim");
    ASSERT_TRUE(link.made() && linkOut.made());
    const std::string mine = LastSortId();
    std::string history = ReadFileBytes(temp / "Quillet.History.Log")
        + Forged("2026-12-07 16:31:01", "Move", away, victim, "placed", away + "evil.dll", victim + "_C\\evil.dll")
        + Forged("2026-12-07 16:31:02", "Move", away, victim, "placed", away + "passwords.txt",
                 victim + "Secret\\passwords.txt")
        + Forged("2026-12-07 16:31:03", "Copy", away, victim, "package removed", away + "twin.lks", victim + "_C\\twin.lks")
        + Forged("2026-12-07 16:31:04", "Copy", away, victim, "placed", away + "hosts.lks", victim + "etc\\hosts.lks")
        + Forged("2026-12-07 16:31:05", "Move", raw + away, raw + victim, "placed", raw + away + "raw.lks",
                 raw + victim + "_C\\raw.lks")
        + Forged("2026-12-07 16:31:06", "Move", away, victim, "placed", away + "gone.lks", victim + "Empty\\gone.lks",
                 victim + "Empty\\")
        + HistoryFramed(Placed(mine, 1, Source() + "notes.txt", Target() + "_Cat\\notes.txt"))
        + HistoryFramed(Placed(mine, 2, Source() + "link\\evil3.lks", Target() + "_Cat\\evil3.lks"))
        + HistoryFramed(Placed(mine, 3, Source() + "aux.lks", Target() + "_Cat\\aux.lks"))
        + HistoryFramed(Placed(mine, 4, Source() + "x.lks", Target() + "out\\Empty\\x.lks") + "\t" + Target()
                        + "out\\Empty\\");
    WriteFileBytes(temp / "Quillet.History.Log", history);
    std::vector<std::string> expected = DiskWithoutHistory();
    std::replace(expected.begin(), expected.end(), std::string("Out\\_Cat\\Pkg_Mine.lks=Pkg_Mine.lks"),
                 std::string("In\\Pkg_Mine.lks=Pkg_Mine.lks"));
    std::sort(expected.begin(), expected.end());

    size_t first = StatusLines().size();
    UndoFromHistory(app);
    std::vector<std::string> lines;
    for (const char* time : {"06", "05", "04", "03", "02", "01"})
        lines.push_back(Line("Not undone", std::string("2026-12-07 16:31:") + time
                                               + "  its folders are not the collection's folders now"));
    std::string text = ReadFileBytes(temp / "Quillet.History.Log");
    size_t sortLine = text.find("\t" + mine + "\tSort\t");
    ASSERT_NE(sortLine, std::string::npos);
    lines.push_back(Line("Undo started", "LiberKey  " + text.substr(sortLine - 19, 19) + "  1 placement"));
    const std::string left = ", so it is left";
    for (const std::string& text : {"notes.txt  its record names a file that is not a package" + left,
                                    "evil3.lks  its folders lead outside the folders of its sort" + left,
                                    "aux.lks  its record names a device or a path outside the folders of its sort" + left,
                                    "x.lks  its folders lead outside the folders of its sort" + left,
                                    "Pkg_Mine.lks  moved back to " + Source()})
        lines.push_back(Line(text.find("moved back") == std::string::npos ? "Not undone" : "Undone", text));
    lines.push_back(Line("Undo finished", "1 of 1 placement undone"));
    EXPECT_EQ(StatusLinesFrom(first), lines);
    EXPECT_EQ(DiskWithoutHistory(), expected);
    EXPECT_TRUE(FolderExists(victim + "Empty"));
    // The forged sorts still hold steps, but never make Undo available by themselves.
    EXPECT_FALSE(HistoryUndoAvailable(app));
}

// Whatever the undo would do, as text.
std::string UndosText(const std::string& history)
{
    std::vector<HistoryUndo> undos;
    HistoryFindUndos(history, &undos);
    std::string text;
    for (const HistoryUndo& undo : undos) {
        text += undo.plan.historyId + " " + std::to_string(static_cast<int>(undo.plan.mode)) + "\n";
        for (size_t i = 0; i < undo.plan.placements.size(); ++i) {
            const Placement& p = undo.plan.placements[i];
            const PlannedPackage& package = undo.plan.packages[p.package];
            text += std::to_string(undo.plan.historyNumbers[i]) + " " + std::to_string(static_cast<int>(p.outcome))
                    + " " + package.folder + package.name + " " + p.folder + " " + std::to_string(p.size) + " "
                    + std::to_string(p.lastWriteTime) + (p.destinationExisted ? " stood\n" : "\n");
        }
        for (const HistoryRefusal& refusal : undo.refused)
            text += std::to_string(refusal.at) + " refused: " + refusal.reason + "\n";
        for (const std::string& folder : undo.plan.createdFolders)
            text += folder + "\n";
    }
    return text;
}

TEST_F(HistoryUndoTest, ALineCutShortAtAnyFieldIsReadAsNoLineAtAll)
{
    app.Settings.CopyOrMove = "Copy";
    SortOne("Pkg_Copy.lks", Source());
    app.Settings.CopyOrMove = "Move";
    SortOne("Pkg_A.lks", Source() + "a\\");
    SortOne("Pkg_B.lks", Source());
    {
        ScopedHandle held(CreateFileA((Target() + "_Cat\\Pkg_B.lks").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
        UndoFromHistory(app);
    }
    HistoryRunEnds(app.History);
    std::string history = ReadFileBytes(temp / "Quillet.History.Log");
    std::set<std::string> kinds;
    for (size_t start = 0, end; (end = history.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = history.substr(start, end + 1 - start);
        std::string without = history.substr(0, start) + history.substr(end + 1);
        std::vector<std::string_view> fields;
        HistorySplitFields(line, &fields);
        kinds.insert(std::string(fields[2]));
        // Cut at the end and in the middle of every field, the check included.
        for (size_t tab = 0, from = 0; from < line.size() - 2; from = tab + 1) {
            tab = std::min(line.find('\t', from), line.size() - 2);
            for (size_t cut : {(from + tab) / 2, tab}) {
                std::string cutShort = history.substr(0, start) + line.substr(0, cut) + "\t(cut short)\r\n"
                                       + history.substr(end + 1);
                EXPECT_EQ(UndosText(cutShort), UndosText(without)) << line.substr(0, cut);
            }
        }
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"Place", "Placed", "Sort", "Staging", "Status", "Undo", "Undoing", "Undone",
                                            "Unstaged"}));
}

// A history put aside for its size carries into the new file every staging
// folder no line says is let go, with its sort's start line, each line as it
// stood: a killed run's folder is still settled after the history turns over.
TEST(HistoryStaging, TheNewHistoryCarriesTheStagingLinesNotSettledWithTheirSorts)
{
    TempFolder temp;
    const std::string t = "2026-12-07 16:30:05\t";
    std::string sortA = HistoryFramed(t + "A-1\tSort\tLiberKey\tCopy\tC:\\In\\\tC:\\Out\\");
    std::string sortB = HistoryFramed(t + "B-1\tSort\tLiberKey\tMove\tC:\\In\\\tC:\\Out\\");
    std::string openA = HistoryFramed(t + "A-1\tStaging\tC:\\Out\\~Quillet-PC-A-1\tPC\t12\t34\tA-1");
    std::string openB = HistoryFramed(t + "B-1\tStaging\tC:\\Out\\~Quillet-PC-B-1\tPC\t12\t34\tB-1");
    std::string endB = HistoryFramed(t + "C-1\tUnstaged\tC:\\Out\\~Quillet-PC-B-1\tB-1");
    std::string filler = HistoryFramed(t + "A-1\tStatus\tFile copied okay\t" + std::string(200, 'x'));
    std::string old = sortA + sortB + openA + filler + openB + filler + endB;
    WriteFileBytes(temp / "History.Log", old);
    HistoryFileRotate(temp / "History.Log", temp / "History.Old.Log", old.size() - 1, HistoryUnsettledLines);
    EXPECT_EQ(ReadFileBytes(temp / "History.Old.Log"), old);
    EXPECT_EQ(ReadFileBytes(temp / "History.Log"), sortA + openA);
    std::vector<HistoryStaging> open = HistoryUnsettledStaging(ReadFileBytes(temp / "History.Log"));
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].folder, "C:\\Out\\~Quillet-PC-A-1");
    EXPECT_TRUE(open[0].sortKnown);
    EXPECT_EQ(open[0].sortTarget, "C:\\Out\\");
    EXPECT_EQ(open[0].processId, 12u);
}
