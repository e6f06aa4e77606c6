#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/folder_queue.h"
#include "support/temp_folder.h"

namespace {

// Walks a made-up tree, given as the sub-folders of each folder in listing
// order, and returns the folders in the order the queue hands them out.
std::vector<std::string> WalkOrder(const std::vector<std::pair<std::string, std::vector<std::string>>>& tree)
{
    FolderQueue queue;
    FolderQueueStart(queue, "R");
    std::vector<std::string> order;
    std::string folder;
    while (FolderQueueTake(queue, &folder)) {
        order.push_back(folder);
        for (const auto& node : tree) {
            if (node.first == folder)
                FolderQueueAddSubfolders(queue, node.second);
        }
    }
    return order;
}

}  // namespace

TEST(FolderQueue, HandsOutFoldersDepthFirstInPreOrder)
{
    std::vector<std::string> order = WalkOrder({
        {"R", {"R\\B", "R\\A", "R\\C"}},
        {"R\\B", {"R\\B\\2", "R\\B\\1"}},
        {"R\\B\\1", {"R\\B\\1\\x"}},
        {"R\\A", {"R\\A\\1"}},
    });
    std::vector<std::string> expected = {"R", "R\\B", "R\\B\\2", "R\\B\\1", "R\\B\\1\\x", "R\\A", "R\\A\\1", "R\\C"};
    EXPECT_EQ(order, expected);
}

TEST(FolderQueue, StartForgetsTheLastScan)
{
    FolderQueue queue;
    FolderQueueStart(queue, "Old");
    FolderQueueAddSubfolders(queue, {"Old\\A", "Old\\B"});
    EXPECT_TRUE(FolderQueueMarkListed(queue, {1, 2, 3}));
    EXPECT_FALSE(FolderQueueMarkListed(queue, {1, 2, 3}));

    FolderQueueStart(queue, "New");
    std::string folder;
    ASSERT_TRUE(FolderQueueTake(queue, &folder));
    EXPECT_EQ(folder, "New");
    EXPECT_FALSE(FolderQueueTake(queue, &folder));
    EXPECT_TRUE(FolderQueueMarkListed(queue, {1, 2, 3}));
}

TEST(FolderQueue, IdentitiesDifferInEveryPart)
{
    FolderQueue queue;
    FolderQueueStart(queue, "R");
    EXPECT_TRUE(FolderQueueMarkListed(queue, {1, 0, 5}));
    EXPECT_TRUE(FolderQueueMarkListed(queue, {2, 0, 5}));
    EXPECT_TRUE(FolderQueueMarkListed(queue, {1, 1, 5}));
    EXPECT_TRUE(FolderQueueMarkListed(queue, {1, 0, 6}));
    EXPECT_FALSE(FolderQueueMarkListed(queue, {1, 1, 5}));
}

TEST(FolderIdentityOf, OneFolderUnderTwoSpellingsIsOneIdentity)
{
    TempFolder temp;
    MakeFolders(temp / "A\\B");
    MakeFolders(temp / "C");
    FolderIdentity plain, slashed, dotted, other;
    ASSERT_TRUE(FolderIdentityOf(temp / "A\\B", &plain));
    ASSERT_TRUE(FolderIdentityOf(temp / "A\\B\\", &slashed));
    ASSERT_TRUE(FolderIdentityOf(temp / "C\\..\\A\\B", &dotted));
    ASSERT_TRUE(FolderIdentityOf(temp / "C", &other));
    EXPECT_FALSE(plain < slashed || slashed < plain);
    EXPECT_FALSE(plain < dotted || dotted < plain);
    EXPECT_TRUE(plain < other || other < plain);
}

TEST(FolderIdentityOf, MissingFolderHasNone)
{
    TempFolder temp;
    FolderIdentity identity;
    EXPECT_FALSE(FolderIdentityOf(temp / "Missing", &identity));
    WriteFileBytes(temp / "file.lks", "x");
    EXPECT_FALSE(FolderIdentityOf(temp / "file.lks\\Sub", &identity));
}
