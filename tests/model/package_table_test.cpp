#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/package_table.h"

namespace {

std::vector<std::string> Names(const PackageTable& table)
{
    std::vector<std::string> names;
    for (int row = 0; row < table.Count(); ++row)
        names.push_back(table.FolderOf(row) + table.At(row).name);
    return names;
}

}  // namespace

TEST(PackageTable, RemovalsBottomUpAndElsewhereKeepTheOrderOfTheRest)
{
    PackageTable table;
    for (int i = 0; i < 8; ++i)
        table.Insert(-1, i < 4 ? "A\\" : "B\\", std::to_string(i), 8);
    // Bottom-up, as the sort removes, with rows kept between the removed ones.
    for (int row : {7, 5, 4, 1})
        table.Remove(row);
    EXPECT_EQ(Names(table), (std::vector<std::string>{"A\\0", "A\\2", "A\\3", "B\\6"}));
    // Then anywhere, and an append after the gap has moved.
    table.Remove(2);
    table.Insert(-1, "C\\", "8", 9);
    table.Insert(0, "D\\", "first", 10);
    EXPECT_EQ(Names(table), (std::vector<std::string>{"D\\first", "A\\0", "A\\2", "B\\6", "C\\8"}));
    EXPECT_EQ(table.At(4).imageSlot, 9);
    table.Remove(table.Count());
    table.Remove(-1);
    EXPECT_EQ(table.Count(), 5);
}
