#include <gtest/gtest.h>

#include "place/duplicate_file.h"
#include "support/temp_folder.h"

TEST(IsSeparateIdenticalCopy, SameBytesInAnotherFile)
{
    TempFolder temp;
    std::string bytes(200000, 'x');
    bytes[150000] = 'y';
    WriteFileBytes(temp / "In\\a.lks", bytes);
    WriteFileBytes(temp / "Out\\a.lks", bytes);
    EXPECT_TRUE(IsSeparateIdenticalCopy(temp / "Out\\a.lks", temp / "In\\a.lks"));
    WriteFileBytes(temp / "In\\empty.lks", "");
    WriteFileBytes(temp / "Out\\empty.lks", "");
    EXPECT_TRUE(IsSeparateIdenticalCopy(temp / "Out\\empty.lks", temp / "In\\empty.lks"));
}

TEST(IsSeparateIdenticalCopy, ShorterCopyOrOtherBytesAreNoCopy)
{
    TempFolder temp;
    std::string bytes(200000, 'x');
    WriteFileBytes(temp / "In\\a.lks", bytes);
    WriteFileBytes(temp / "Cut\\a.lks", bytes.substr(0, 65536));
    EXPECT_FALSE(IsSeparateIdenticalCopy(temp / "Cut\\a.lks", temp / "In\\a.lks"));
    bytes[199999] = 'z';
    WriteFileBytes(temp / "Other\\a.lks", bytes);
    EXPECT_FALSE(IsSeparateIdenticalCopy(temp / "Other\\a.lks", temp / "In\\a.lks"));
}

TEST(IsSeparateIdenticalCopy, MissingFileOrFolderIsNoCopy)
{
    TempFolder temp;
    WriteFileBytes(temp / "In\\a.lks", "package");
    EXPECT_FALSE(IsSeparateIdenticalCopy(temp / "Out\\a.lks", temp / "In\\a.lks"));
    EXPECT_FALSE(IsSeparateIdenticalCopy(temp / "In\\a.lks", temp / "Gone\\a.lks"));
    MakeFolders(temp / "Folder\\a.lks");
    EXPECT_FALSE(IsSeparateIdenticalCopy(temp / "Folder\\a.lks", temp / "In\\a.lks"));
}

TEST(IsSeparateIdenticalCopy, OneFileSpelledTwiceIsNoCopy)
{
    TempFolder temp;
    WriteFileBytes(temp / "In\\Package.lks", "package");
    EXPECT_FALSE(IsSeparateIdenticalCopy(temp / "In\\Package.lks", temp / "In\\Package.lks"));
    EXPECT_FALSE(IsSeparateIdenticalCopy(temp / "IN\\package.LKS", temp / "In\\Package.lks"));
    EXPECT_FALSE(IsSeparateIdenticalCopy(temp / "In\\.\\Package.lks", temp / "In\\Package.lks"));
}
