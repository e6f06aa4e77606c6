// The watch's decisions over real files: what is new, when it is complete.
#include <gtest/gtest.h>
#include <windows.h>

#include "history/history_line.h"
#include "settings/program_options.h"
#include "support/folder_link.h"
#include "support/made_up_package.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "util/ansi_text.h"
#include "util/file_facts.h"
#include "util/file_identity.h"
#include "watch/arrival_book.h"
#include "watch/restored_paths.h"
#include "watch/source_watch.h"
#include "window/status_list.h"

namespace {

// A small whole ".apk": one stored entry holding the text.
std::string WholeArchive(const std::string& text)
{
    return MadeUpArchive(text, "");
}

class ArrivalBookTest : public ::testing::Test {
protected:
    std::string Root() const { return temp / "In"; }

    std::vector<SeenFile> Walk()
    {
        std::vector<SeenFile> found;
        unsigned long error = 0;
        EXPECT_TRUE(ArrivalsWalk(Root(), LowerAnsiText(temp / "In\\Sorted\\"), &found, &error));
        return found;
    }

    // Walks at tick `now` and gives the paths complete at tick `later`, each
    // let go at once as the watch lets go of it after its sort.
    std::vector<std::string> CompleteAfter(unsigned long now, unsigned long later)
    {
        ArrivalsTakeWalk(watch, Walk(), now);
        std::vector<std::string> paths;
        for (const SeenFile& file : ArrivalsComplete(watch, later)) {
            paths.push_back(file.path);
            ArrivalsRelease(watch, file.path);
        }
        return paths;
    }

    TempFolder temp;
    ArrivalWatch watch;
};

}  // namespace

TEST_F(ArrivalBookTest, WalkNamesPackagesAsTheFetchDoesAndPassesOverTheTarget)
{
    WriteFileBytes(temp / "In\\a.lks", "a");
    WriteFileBytes(temp / "In\\Sub\\Deep\\b.APK", "bb");
    WriteFileBytes(temp / "In\\notes.txt", "no package");
    WriteFileBytes(temp / "In\\Sorted\\_Games\\placed.lks", "placed");
    // Reached through a link, the target is still the target.
    FolderLink link(temp / "In\\Sub", "ToSorted", "../Sorted");
    ASSERT_TRUE(link.made());
    std::vector<SeenFile> found = Walk();

    std::vector<std::string> paths;
    for (const SeenFile& file : found)
        paths.push_back(file.path);
    EXPECT_EQ(paths, (std::vector<std::string>{temp / "In\\a.lks", temp / "In\\Sub\\Deep\\b.APK"}));
    EXPECT_EQ(found[1].size, 2u);
    EXPECT_NE(found[1].lastWriteTime, 0u);

    std::vector<SeenFile> none;
    unsigned long error = 0;
    EXPECT_FALSE(ArrivalsWalk(temp / "Missing", "", &none, &error));
    EXPECT_TRUE(error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) << error;
}

TEST_F(ArrivalBookTest, OnlyNewPackagesThatSettledAndNoWriterHoldsAreComplete)
{
    WriteFileBytes(temp / "In\\listed.lks", "listed");
    PackageTable fetched;
    fetched.Insert(-1, temp / "In\\", "listed.lks", 8);
    ArrivalsNoteListing(watch, fetched, 1);
    WriteFileBytes(temp / "In\\empty.lks", "");
    WriteFileBytes(temp / "In\\new.apk", WholeArchive("new"));

    // Waits two seconds from when it was first seen as it is.
    EXPECT_TRUE(CompleteAfter(1000, 2999).empty());
    EXPECT_EQ(ArrivalsTimeout(watch, 2999), 1u);

    // A writer that still holds the file keeps it waiting, however long.
    HANDLE writer = CreateFileA((temp / "In\\held.apk").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    std::string held = WholeArchive("held");
    WriteFile(writer, held.data(), static_cast<DWORD>(held.size()), &written, nullptr);
    EXPECT_EQ(CompleteAfter(1000, 3000), (std::vector<std::string>{temp / "In\\new.apk"}));
    EXPECT_TRUE(CompleteAfter(1000, 9000).empty());
    EXPECT_EQ(ArrivalsTimeout(watch, 9000), ArrivalRetryTime);
    CloseHandle(writer);
    EXPECT_EQ(CompleteAfter(1000, 9500), (std::vector<std::string>{temp / "In\\held.apk"}));

    // Taken once; nothing waits, so the loop waits without a time-out.
    EXPECT_TRUE(CompleteAfter(10000, 20000).empty());
    EXPECT_EQ(ArrivalsTimeout(watch, 20000), INFINITE);

    // Written anew, the same name is a new package again.
    WriteFileBytes(temp / "In\\new.apk", WholeArchive("newer"));
    EXPECT_TRUE(CompleteAfter(21000, 22000).empty());
    EXPECT_EQ(CompleteAfter(21000, 23000), (std::vector<std::string>{temp / "In\\new.apk"}));
}

TEST_F(ArrivalBookTest, APackageThatChangesWhileWaitingStartsItsWaitAgainAndOneNeverWholeIsGivenUp)
{
    WriteFileBytes(temp / "In\\grows.lks", "1");
    WriteFileBytes(temp / "In\\cut.apk", WholeArchive("cut").substr(0, 20));
    ArrivalsTakeWalk(watch, Walk(), 0);
    WriteFileBytes(temp / "In\\grows.lks", "12");
    // Seen changed when due: it waits from then, thirty seconds for a kind
    // whose bytes cannot say that it is whole. One found not whole is looked
    // at again only when it changes (its check reads every byte), or when
    // it is given up on.
    EXPECT_TRUE(ArrivalsComplete(watch, 2000).empty());
    EXPECT_TRUE(ArrivalsComplete(watch, 3999).empty());
    EXPECT_TRUE(ArrivalsComplete(watch, 4000).empty());
    EXPECT_EQ(ArrivalsTimeout(watch, 4000), ArrivalUnprovenSettleTime - 2000);
    EXPECT_TRUE(ArrivalsComplete(watch, 31999).empty());
    EXPECT_EQ(ArrivalsComplete(watch, 32000).size(), 1u);

    std::vector<std::string> notWhole;
    EXPECT_TRUE(ArrivalsComplete(watch, ArrivalGiveUpTime - 1, &notWhole).empty());
    EXPECT_TRUE(notWhole.empty());
    EXPECT_TRUE(ArrivalsComplete(watch, ArrivalGiveUpTime, &notWhole).empty());
    EXPECT_EQ(notWhole, (std::vector<std::string>{temp / "In\\cut.apk"}));
    EXPECT_EQ(ArrivalsTimeout(watch, ArrivalGiveUpTime), INFINITE);
}

TEST_F(ArrivalBookTest, APathAnUndoPutBackCountsAsHandledAndAPathFoundEmptyIsForgotten)
{
    const std::string history = temp / "Quillet.History.Log";
    WriteFileBytes(history, "2026-12-07 16:30:05\tA-1\tUndone\tA-0\t1\tdone\tC:\\old.lks\tC:\\old.lks\r\n");
    RestoredPathsBegin(watch, history);
    WriteFileBytes(temp / "In\\back.apk", WholeArchive("back"));
    WriteFileBytes(temp / "In\\new.apk", WholeArchive("new"));
    ArrivalsTakeWalk(watch, Walk(), 0);
    std::string undone = "2026-12-07 16:31:00\tB-2\tUndone\tB-1\t1\tdone\tC:\\S\\back.apk\t" + temp / "In\\BACK.apk";
    WriteFileBytes(history, ReadFileBytes(history) + HistoryFramed(undone + "\tFile moved\tback"));
    RestoredPathsFollow(watch, history);
    RestoredPathsTakeWaiting(watch);
    std::vector<SeenFile> complete = ArrivalsComplete(watch, 2000);
    ASSERT_EQ(complete.size(), 1u);
    ArrivalsRelease(watch, complete[0].path);
    EXPECT_TRUE(CompleteAfter(3000, 6000).empty());

    // Gone from the walk, a path is forgotten: the same name again is new.
    DeleteFileA((temp / "In\\new.apk").c_str());
    ArrivalsTakeWalk(watch, Walk(), 7000);
    ASSERT_EQ(watch.handled.size(), 1u);
    EXPECT_EQ(watch.handled.begin()->path, temp / "In\\back.apk");
}

// An undo's line names the size and time of the file it put back: that file
// is handled, while a new download of the same name (another size or time)
// is an arrival like any other.
TEST_F(ArrivalBookTest, OnlyTheFileAnUndoPutBackCountsAsHandled)
{
    const std::string history = temp / "Quillet.History.Log";
    WriteFileBytes(history, "");
    RestoredPathsBegin(watch, history);
    WriteFileBytes(temp / "In\\back.apk", WholeArchive("back"));
    WriteFileBytes(temp / "In\\again.apk", WholeArchive("again, downloaded anew"));
    ArrivalsTakeWalk(watch, Walk(), 0);
    FileStamp back;
    ASSERT_TRUE(ReadFileStamp(temp / "In\\back.apk", &back));
    std::string undone = "2026-12-07 16:31:00\tB-2\tUndone\tB-1\t1\tdone\tC:\\S\\x.apk\t";
    WriteFileBytes(history, HistoryFramed(undone + temp / "In\\back.apk\tFile moved\tback\t" + std::to_string(back.size)
                                          + "\t" + std::to_string(back.lastWriteTime))
                                + HistoryFramed(undone + temp / "In\\again.apk\tFile moved\tagain\t3\t4"));
    RestoredPathsFollow(watch, history);
    RestoredPathsTakeWaiting(watch);
    std::vector<SeenFile> complete = ArrivalsComplete(watch, 2000);
    ASSERT_EQ(complete.size(), 1u);
    EXPECT_EQ(complete[0].path, temp / "In\\again.apk");
}

// A package the watch's sort moved away is forgotten even when its path
// holds a file of the very identity it had (a file system that gives the
// next file of that name the freed index, with the same size and time): the
// same download arriving again is sorted again. One a Copy left stays
// handled while it is the file that was taken.
TEST_F(ArrivalBookTest, AMovedPackageIsForgottenWhateverStandsAtItsPath)
{
    WriteFileBytes(temp / "In\\moved.apk", WholeArchive("moved"));
    WriteFileBytes(temp / "In\\copied.apk", WholeArchive("copied"));
    ArrivalsTakeWalk(watch, Walk(), 0);
    std::vector<SeenFile> taken = ArrivalsComplete(watch, 2000);
    ASSERT_EQ(taken.size(), 2u);
    std::vector<FileIdentity> identities(taken.size());
    for (size_t i = 0; i < taken.size(); ++i) {
        DWORD error = 0;
        ASSERT_TRUE(FileIdentityRead(taken[i].path, &identities[i], &error));
        ArrivalsRelease(watch, taken[i].path);
    }
    // The same identity stands at both paths: the moved one is forgotten all the same.
    ArrivalsForgetGone(watch, taken, identities, {temp / "In\\moved.apk"});
    ASSERT_EQ(watch.handled.size(), 1u);
    EXPECT_EQ(watch.handled.begin()->path, temp / "In\\copied.apk");
}

TEST_F(ArrivalBookTest, ABurstOfChangesIsWalkedOnceWhenQuietOrAtTheBurstLimit)
{
    EXPECT_FALSE(ArrivalsWalkDue(watch, 0));
    ArrivalsNoteChange(watch, 100);
    ArrivalsNoteChange(watch, 300);
    EXPECT_FALSE(ArrivalsWalkDue(watch, 300 + ArrivalQuietTime - 1));
    EXPECT_EQ(ArrivalsTimeout(watch, 500), ArrivalQuietTime - 200);
    EXPECT_TRUE(ArrivalsWalkDue(watch, 300 + ArrivalQuietTime));

    // Changes that never pause are still walked at the burst limit.
    for (unsigned long tick = 400; tick < 100 + ArrivalBurstLimit; tick += 100)
        ArrivalsNoteChange(watch, tick);
    EXPECT_TRUE(ArrivalsWalkDue(watch, 100 + ArrivalBurstLimit));
    ArrivalsTakeWalk(watch, {}, 100 + ArrivalBurstLimit);
    EXPECT_FALSE(ArrivalsWalkDue(watch, 5000));
}

class WatchStoppedTest : public WindowTest {
protected:
    TempFolder temp;
};

TEST_F(WatchStoppedTest, ASourceMissingOrRemovedWhileWatchedIsReportedAndTheWatchTurnsOff)
{
    app.ActiveSource = temp / "Missing\\";
    WatchStart(app);
    EXPECT_FALSE(app.Watch.on);
    std::vector<std::string> lines = StatusLines();
    ASSERT_EQ(lines.size(), 1u);
    std::string start = "Watch stopped|" + ActivityLineText(Activity::WatchStopped).explanation + temp / "Missing\\  ";
    EXPECT_EQ(lines[0].substr(0, start.size()), start);
    EXPECT_GT(lines[0].size(), start.size());

    MakeFolders(temp / "In\\");
    app.ActiveSource = temp / "In\\";
    WatchToggle(app);
    EXPECT_TRUE(app.Watch.on);
    // Wine refuses to remove a watched folder; a Unix tool removes it.
    std::string rmdir = "/bin/rmdir In";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(CreateProcessA("/bin/rmdir", &rmdir[0], nullptr, nullptr, FALSE, 0, nullptr, temp.path().c_str(),
                               &startup, &info));
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    for (int attempt = 0; attempt < 250 && FolderExists(temp / "In\\"); ++attempt)
        Sleep(20);
    ArrivalsNoteChange(app.Watch, GetTickCount() - ArrivalBurstLimit);
    WatchAttend(app);
    EXPECT_FALSE(app.Watch.on);
    EXPECT_EQ(StatusLines().size(), 2u);
    EXPECT_EQ(WatchHandle(app), nullptr);
    // The user's click is kept; the watch stopping itself changes nothing.
    EXPECT_TRUE(ProgramOptionOn(app, ProgramOption::WatchNewPackages));
}
