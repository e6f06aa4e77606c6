#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/folder_queue.h"
#include "support/temp_folder.h"

namespace {

// Walks a made-up tree, given as the sub-folders of each folder in listing
// order, and returns the folders in the order the queue hands them out.
std::vector<std::string> WalkOrder(const std::vector<std::pair<std::string, std::vector<std::string>>>& tree)
{
    FolderQueue queue;
    FolderQueueStart(queue, "R");
    std::vector<std::string> order;
    QueuedFolder folder;
    while (FolderQueueTake(queue, &folder)) {
        order.push_back(folder.path);
        for (const auto& node : tree) {
            if (node.first != folder.path)
                continue;
            std::vector<QueuedFolder> subfolders;
            for (const std::string& path : node.second)
                subfolders.push_back({path, true, 7});
            FolderQueueAddSubfolders(queue, subfolders);
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
    FolderQueueAddSubfolders(queue, {{"Old\\A", true, 7}, {"Old\\B", true, 7}});
    EXPECT_TRUE(FolderQueueMarkListed(queue, {1, 3}));
    EXPECT_FALSE(FolderQueueMarkListed(queue, {1, 3}));

    FolderQueueStart(queue, "New");
    QueuedFolder folder;
    ASSERT_TRUE(FolderQueueTake(queue, &folder));
    EXPECT_EQ(folder.path, "New");
    EXPECT_FALSE(folder.onParentVolume);
    EXPECT_FALSE(FolderQueueTake(queue, &folder));
    EXPECT_TRUE(FolderQueueMarkListed(queue, {1, 3}));
}

TEST(FolderQueue, IndexZeroIsNoIdentityAndNeverARepeat)
{
    FolderQueue queue;
    FolderQueueStart(queue, "R");
    EXPECT_TRUE(FolderQueueMarkListed(queue, {1, 0}));
    EXPECT_TRUE(FolderQueueMarkListed(queue, {1, 0}));
}

namespace {

bool SameIdentity(const FolderIdentity& a, const FolderIdentity& b)
{
    return !(a < b) && !(b < a);
}

}  // namespace

TEST(FolderIdentityOf, OneFolderUnderTwoSpellingsIsOneIdentity)
{
    TempFolder temp;
    MakeFolders(temp / "A\\B");
    MakeFolders(temp / "C");
    FolderIdentity plain, slashed, dotted, other;
    ASSERT_TRUE(FolderIdentityOf({temp / "A\\B", false, 0}, &plain));
    ASSERT_TRUE(FolderIdentityOf({temp / "A\\B\\", false, 0}, &slashed));
    ASSERT_TRUE(FolderIdentityOf({temp / "C\\..\\A\\B", false, 0}, &dotted));
    ASSERT_TRUE(FolderIdentityOf({temp / "C", false, 0}, &other));
    EXPECT_TRUE(SameIdentity(plain, slashed));
    EXPECT_TRUE(SameIdentity(plain, dotted));
    EXPECT_FALSE(SameIdentity(plain, other));
}

TEST(FolderIdentityOf, PlainSubFolderTakesItsParentsVolume)
{
    TempFolder temp;
    MakeFolders(temp / "A\\B");
    FolderIdentity parent, asked, inherited;
    ASSERT_TRUE(FolderIdentityOf({temp / "A", false, 0}, &parent));
    ASSERT_TRUE(FolderIdentityOf({temp / "A\\B", false, 0}, &asked));
    ASSERT_TRUE(FolderIdentityOf({temp / "A\\B", true, parent.volume}, &inherited));
    EXPECT_TRUE(SameIdentity(asked, inherited));
    EXPECT_EQ(asked.volume, parent.volume);
}

TEST(FolderIdentityOf, MissingFolderHasNone)
{
    TempFolder temp;
    FolderIdentity identity;
    EXPECT_FALSE(FolderIdentityOf({temp / "Missing", false, 0}, &identity));
    WriteFileBytes(temp / "file.lks", "x");
    EXPECT_FALSE(FolderIdentityOf({temp / "file.lks\\Sub", true, 1}, &identity));
}
