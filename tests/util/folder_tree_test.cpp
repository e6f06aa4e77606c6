#include <gtest/gtest.h>
#include <windows.h>

#include "support/temp_folder.h"
#include "file_acts/folder_tree.h"

TEST(CreateFolderTree, CreatesEveryMissingLevel)
{
    TempFolder temp;
    MakeFolders(temp / "A");
    EXPECT_EQ(CreateFolderTree(temp / "A\\B\\C\\"), 1);
    EXPECT_TRUE(FolderExists(temp / "A\\B\\C"));
}

TEST(CreateFolderTree, TakesAPathWithoutTheFinalBackslash)
{
    TempFolder temp;
    EXPECT_EQ(CreateFolderTree(temp / "_Audio\\_Converter"), 1);
    EXPECT_TRUE(FolderExists(temp / "_Audio\\_Converter"));
}

TEST(CreateFolderTree, ExistingFolderGivesZeroAndStays)
{
    TempFolder temp;
    WriteFileBytes(temp / "Here\\keep.lks", "x");
    EXPECT_EQ(CreateFolderTree(temp / "Here\\"), 0);
    EXPECT_EQ(ReadFileBytes(temp / "Here\\keep.lks"), "x");
}

TEST(CreateFolderTree, EmptyOrRelativePathGivesZero)
{
    EXPECT_EQ(CreateFolderTree(""), 0);
    TempFolder temp;
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(temp.path().c_str());
    EXPECT_EQ(CreateFolderTree("Relative\\Folder\\"), 0);
    EXPECT_FALSE(FolderExists(temp / "Relative"));
    SetCurrentDirectoryA(previous);
}

TEST(CreateFolderTree, FileInTheWayGivesZero)
{
    TempFolder temp;
    WriteFileBytes(temp / "Taken", "file");
    EXPECT_EQ(CreateFolderTree(temp / "Taken\\Sub\\"), 0);
    EXPECT_EQ(ReadFileBytes(temp / "Taken"), "file");
}

TEST(CreateFolderTree, AnsiNamesKeepTheirCharacters)
{
    TempFolder temp;
    EXPECT_EQ(CreateFolderTree(temp / "Mus\xE9" "e\\\xC4pfel\\"), 1);
    EXPECT_TRUE(FolderExists(temp / "Mus\xE9" "e\\\xC4pfel"));
}

TEST(CreateFolderTree, FolderPathOf248CharactersIsRefusedWholeAndMakesNothing)
{
    TempFolder temp;
    std::string parent = temp / "P\\";
    // Two new levels, the last padded to the length asked for.
    auto pathOf = [&](size_t length) { return parent + "Deep\\" + std::string(length - parent.size() - 5, 'x'); };
    MakeFolders(parent);
    EXPECT_EQ(CreateFolderTree(pathOf(248) + "\\"), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    // Only an empty folder can be removed.
    EXPECT_TRUE(RemoveDirectoryA(parent.c_str()));

    EXPECT_EQ(CreateFolderTree(pathOf(247) + "\\"), 1);
    EXPECT_TRUE(FolderExists(pathOf(247)));
}
