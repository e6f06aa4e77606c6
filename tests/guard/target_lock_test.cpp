#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "guard/target_lock.h"
#include "support/folder_link.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "util/this_process.h"
#include "window/status_list.h"

namespace {

const char FirstLine[] = "Quillet lock file\r\n";

class TargetLockTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        CreateDirectoryA((temp / "Sorted").c_str(), nullptr);
        app.ActiveTarget = temp / "Sorted\\";
    }

    std::string LockPath() { return temp / "Sorted\\~Quillet.lock"; }

    std::string Refusal() { return "its ~Quillet.lock is not a lock file of Quillet's"; }

    TempFolder temp;
};

}  // namespace

TEST_F(TargetLockTest, ALockTakenNamesThisComputerAndItsFileStaysForTheNextRun)
{
    {
        TargetLock lock;
        ASSERT_TRUE(TargetLockTake(lock, app));
        EXPECT_TRUE(lock.held);
        std::string text = ReadFileBytes(LockPath());
        EXPECT_EQ(text.rfind(FirstLine, 0), 0u);
        EXPECT_NE(text.find(ThisComputerName() + "\r\n"), std::string::npos);
    }
    EXPECT_EQ(GetFileAttributesA(LockPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    TargetLock again;
    EXPECT_TRUE(TargetLockTake(again, app));
    EXPECT_TRUE(StatusLines().empty());
}

TEST_F(TargetLockTest, ATargetNotThereTakesNoLockAndMakesNothing)
{
    app.ActiveTarget = temp / "Missing\\";
    TargetLock lock;
    EXPECT_TRUE(TargetLockTake(lock, app));
    EXPECT_FALSE(lock.held);
    EXPECT_EQ(GetFileAttributesA((temp / "Missing").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(StatusLines().empty());
}

// A file of the lock's name that another program put there keeps every run
// out, and is left as it was: a file of someone else's, a second name of an
// outside file, or a link to one.
TEST_F(TargetLockTest, AFileOfItsNameThatIsNotQuilletsKeepsTheRunOutAndStaysAsItWas)
{
    WriteFileBytes(LockPath(), "my notes\r\n");
    {
        TargetLock lock;
        EXPECT_FALSE(TargetLockTake(lock, app));
    }
    EXPECT_EQ(ReadFileBytes(LockPath()), "my notes\r\n");

    DeleteFileA(LockPath().c_str());
    std::string outside = std::string(FirstLine) + "outside\r\n";
    WriteFileBytes(temp / "outside.txt", outside);
    ASSERT_TRUE(CreateHardLinkA(LockPath().c_str(), (temp / "outside.txt").c_str(), nullptr));
    {
        TargetLock lock;
        EXPECT_FALSE(TargetLockTake(lock, app));
    }
    EXPECT_EQ(ReadFileBytes(temp / "outside.txt"), outside);

    DeleteFileA(LockPath().c_str());
    FolderLink link(temp / "Sorted", "~Quillet.lock", "../outside.txt");
    ASSERT_TRUE(link.made());
    {
        TargetLock lock;
        EXPECT_FALSE(TargetLockTake(lock, app));
    }
    EXPECT_EQ(ReadFileBytes(temp / "outside.txt"), outside);
    std::string line = StatusLine("Another Quillet is busy", ActivityMarker + ("  " + (temp / "Sorted\\")) + "  " + Refusal());
    EXPECT_EQ(StatusLines(), std::vector<std::string>(3, line));
}
