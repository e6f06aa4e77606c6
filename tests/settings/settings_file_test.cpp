#include <gtest/gtest.h>
#include <windows.h>

#include "settings/settings_file.h"
#include "settings/settings_test_support.h"
#include "support/temp_folder.h"

namespace {

const char Original[] = "; mine\r\n[Program Options]\r\nLast Index = Android\r\n";

HANDLE OpenAsAnotherProgram(const std::string& path, DWORD access, DWORD sharing)
{
    return CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFileBytes(path, Original); }

    // Opens the file and changes "Last Index".
    void OpenAndChange(SettingsFile& file, const std::string& value)
    {
        EXPECT_TRUE(file.Open(path));
        file.SelectGroup("Program Options");
        file.WriteKey("Last Index", value);
    }

    // Opens the file, changes "Last Index" and closes it again.
    bool ChangeLastIndex(const std::string& value)
    {
        SettingsFile file;
        OpenAndChange(file, value);
        return file.Close();
    }

    // Another program marks the file read-only while we hold it: it can be
    // written in place no more than replaced.
    void MarkReadOnlyMeanwhile() { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); }

    TempFolder temp;
    std::string path = temp / "Quillet.Ini";
};

}  // namespace

using SettingsFileOpen = SettingsFileTest;
using SettingsFileClose = SettingsFileTest;
using SettingsFileCreate = SettingsFileTest;

TEST_F(SettingsFileOpen, FailsOnAMissingFileOrAFolder)
{
    SettingsFile file;
    EXPECT_FALSE(file.Open(temp / "Missing.Ini"));
    EXPECT_FALSE(file.IsOpen());
    MakeFolders(temp / "Folder.Ini");
    EXPECT_FALSE(file.Open(temp / "Folder.Ini"));
    EXPECT_EQ(file.ReadKey("Last Index", "fallback"), "fallback");
}

TEST_F(SettingsFileOpen, FileFarTooLargeForSettingsIsNotRead)
{
    WriteFileBytes(path, std::string(16 * 1024 * 1024, ';') + "\r\n[Program Options]\r\nLast Index = x\r\n");
    SettingsFile file;
    EXPECT_FALSE(file.Open(path));
    WriteFileBytes(path, std::string(16 * 1024 * 1024 - 40, ';') + "\r\n[Program Options]\r\nLast Index = x\r\n");
    ASSERT_TRUE(file.Open(path));
    file.SelectGroup("Program Options");
    EXPECT_EQ(file.ReadKey("Last Index", ""), "x");
}

TEST_F(SettingsFileOpen, OthersMayReadButNotWriteWhileTheDocumentIsOpen)
{
    SettingsFile file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_FALSE(file.IsReadOnly());
    HANDLE writer = OpenAsAnotherProgram(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    HANDLE reader = OpenAsAnotherProgram(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);
    file.Close();

    writer = OpenAsAnotherProgram(path, GENERIC_WRITE, FILE_SHARE_READ);
    EXPECT_NE(writer, INVALID_HANDLE_VALUE);
    CloseHandle(writer);
}

TEST_F(SettingsFileOpen, ReadOnlyFileIsReadAndItsChangesAreDropped)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    SetLastWriteTimeLongAgo(path);
    ULONGLONG before = LastWriteTime(path);
    SettingsFile file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_TRUE(file.IsReadOnly());
    ASSERT_TRUE(file.SelectGroup("Program Options"));
    EXPECT_EQ(file.ReadKey("Last Index", ""), "Android");
    file.WriteKey("Last Index", "LiberKey");
    EXPECT_EQ(file.ReadKey("Last Index", ""), "LiberKey");
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(ReadFileBytes(path), Original);
    EXPECT_EQ(LastWriteTime(path), before);
    EXPECT_EQ(FolderEntries(temp.path()), std::set<std::string>{"Quillet.Ini"});
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SettingsFileOpen, FileAnotherProgramWritesIsOpenedReadOnlyByTheLastWay)
{
    HANDLE writer = OpenAsAnotherProgram(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    SettingsFile file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_TRUE(file.IsReadOnly());
    file.SelectGroup("Program Options");
    EXPECT_EQ(file.ReadKey("Last Index", ""), "Android");
    file.WriteKey("Last Index", "LiberKey");
    file.Close();
    CloseHandle(writer);
    EXPECT_EQ(ReadFileBytes(path), Original);
}

TEST_F(SettingsFileOpen, FileLockedAgainstReadingFails)
{
    HANDLE locker = OpenAsAnotherProgram(path, GENERIC_READ, 0);
    ASSERT_NE(locker, INVALID_HANDLE_VALUE);
    SettingsFile file;
    EXPECT_FALSE(file.Open(path));
    CloseHandle(locker);
    EXPECT_TRUE(file.Open(path));
}

TEST_F(SettingsFileOpen, ClosesTheCurrentDocumentFirstWritingItBack)
{
    std::string other = temp / "Other.Ini";
    WriteFileBytes(other, "[G]\r\n");
    SettingsFile file;
    ASSERT_TRUE(file.Open(path));
    file.SelectGroup("Program Options");
    file.WriteKey("Last Index", "PortableApps");
    ASSERT_TRUE(file.Open(other));
    EXPECT_EQ(ReadFileBytes(path), "; mine\r\n[Program Options]\r\nLast Index = PortableApps\r\n");
    // The new document starts with no group selected.
    EXPECT_EQ(file.ReadKey("Last Index", "none"), "none");
}

TEST_F(SettingsFileClose, UnchangedDocumentWritesNothing)
{
    SetLastWriteTimeLongAgo(path);
    ULONGLONG before = LastWriteTime(path);
    SettingsFile file;
    ASSERT_TRUE(file.Open(path));
    file.SelectGroup("Program Options");
    EXPECT_EQ(file.ReadKey("Last Index", ""), "Android");
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(ReadFileBytes(path), Original);
    EXPECT_EQ(LastWriteTime(path), before);
}

TEST_F(SettingsFileClose, ChangedDocumentReplacesTheWholeTextAndLeavesNoTemporaryFile)
{
    WriteFileBytes(path, "[Program Options]\nLast Index = a much longer value than the new one\n\n\n; tail\n");
    EXPECT_TRUE(ChangeLastIndex("x"));
    EXPECT_EQ(ReadFileBytes(path), "[Program Options]\r\nLast Index = x\r\n; tail\r\n");
    EXPECT_EQ(FolderEntries(temp.path()), std::set<std::string>{"Quillet.Ini"});
}

TEST_F(SettingsFileClose, ReplacementThatCannotHappenLeavesTheOldBytes)
{
    SettingsFile file;
    ASSERT_TRUE(file.Open(path));
    file.SelectGroup("Program Options");
    file.WriteKey("Last Index", "LiberKey");
    // Another program reads the file while we write: it cannot be renamed over.
    HANDLE reader = OpenAsAnotherProgram(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    MarkReadOnlyMeanwhile();
    EXPECT_FALSE(file.Close());
    CloseHandle(reader);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(path), Original);
    EXPECT_EQ(FolderEntries(temp.path()), std::set<std::string>{"Quillet.Ini"});
}

TEST_F(SettingsFileClose, TemporaryFileThatCannotBeMadeLeavesTheOldBytes)
{
    MakeFolders(temp / "Quillet.Ini.tmp");
    SettingsFile file;
    OpenAndChange(file, "LiberKey");
    MarkReadOnlyMeanwhile();
    EXPECT_FALSE(file.Close());
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(path), Original);
}

TEST_F(SettingsFileClose, TemporaryFileThatCannotBeMadeGivesWayToAWriteInPlace)
{
    MakeFolders(temp / "Quillet.Ini.tmp");
    EXPECT_TRUE(ChangeLastIndex("LiberKey"));
    EXPECT_EQ(ReadFileBytes(path), "; mine\r\n[Program Options]\r\nLast Index = LiberKey\r\n");
}

TEST_F(SettingsFileClose, HardLinkedFileIsWrittenThroughSoTheOtherNameSeesTheChange)
{
    std::string other = temp / "Shared.Ini";
    ASSERT_TRUE(CreateHardLinkA(other.c_str(), path.c_str(), nullptr));
    EXPECT_TRUE(ChangeLastIndex("PortableApps"));
    EXPECT_EQ(ReadFileBytes(other), "; mine\r\n[Program Options]\r\nLast Index = PortableApps\r\n");
    EXPECT_EQ(FolderEntries(temp.path()), (std::set<std::string>{"Quillet.Ini", "Shared.Ini"}));
}

TEST_F(SettingsFileClose, ReplacementKeepsTheFilesAttributes)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(ChangeLastIndex("LiberKey"));
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
}

TEST_F(SettingsFileClose, TemporaryFileOfAKilledRunIsReplaced)
{
    WriteFileBytes(temp / "Quillet.Ini.tmp", "half of an older text");
    EXPECT_TRUE(ChangeLastIndex("LiberKey"));
    EXPECT_EQ(ReadFileBytes(path), "; mine\r\n[Program Options]\r\nLast Index = LiberKey\r\n");
    EXPECT_EQ(FolderEntries(temp.path()), std::set<std::string>{"Quillet.Ini"});
}

TEST_F(SettingsFileCreate, ReplacesAnyFileOfThatNameWhenClosed)
{
    WriteFileBytes(path, "\xEF\xBB\xBF[Old]\r\n");
    SettingsFile file;
    file.Create(path);
    EXPECT_TRUE(file.IsOpen());
    // Nothing on disk changes before the whole text is there.
    EXPECT_EQ(ReadFileBytes(path), "\xEF\xBB\xBF[Old]\r\n");
    EXPECT_FALSE(file.SelectGroup("Old"));
    file.WriteKey("k", "\xE9");
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(ReadFileBytes(path), "[Old]\r\nk = \xE9\r\n");
    EXPECT_EQ(FolderEntries(temp.path()), std::set<std::string>{"Quillet.Ini"});
}

TEST_F(SettingsFileCreate, EmptyDocumentStillMakesAnEmptyFile)
{
    std::string fresh = temp / "Fresh.Ini";
    SettingsFile file;
    file.Create(fresh);
    file.Close();
    EXPECT_TRUE(FileExists(fresh));
    EXPECT_EQ(ReadFileBytes(fresh), "");
}

TEST_F(SettingsFileCreate, FileThatCannotBeMadeTurnsEveryOperationIntoNothing)
{
    std::string nowhere = temp / "No Such Folder\\Quillet.Ini";
    SettingsFile file;
    file.Create(nowhere);
    EXPECT_FALSE(file.IsOpen());
    file.AddComment("x");
    EXPECT_FALSE(file.SelectGroup("G"));
    file.WriteKey("k", "v");
    EXPECT_EQ(file.ReadKey("k", "fallback"), "fallback");
    file.Close();
    EXPECT_FALSE(FolderExists(temp / "No Such Folder"));
}
