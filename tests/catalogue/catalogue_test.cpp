#include <gtest/gtest.h>

#include "catalogue/catalogue.h"

TEST(SplitCatalogueRow, CategoryBeforeTheFirstBarNameUpToTheNext)
{
    IndexEntry entry = SplitCatalogueRow("_Audio\\_Converter|Format_");
    EXPECT_EQ(entry.category, "_Audio\\_Converter");
    EXPECT_EQ(entry.name, "Format_");

    entry = SplitCatalogueRow("Cat|Name|ignored|too");
    EXPECT_EQ(entry.category, "Cat");
    EXPECT_EQ(entry.name, "Name");

    entry = SplitCatalogueRow("NoBarAtAll");
    EXPECT_EQ(entry.category, "NoBarAtAll");
    EXPECT_EQ(entry.name, "");

    entry = SplitCatalogueRow("Cat|");
    EXPECT_EQ(entry.name, "");
}

TEST(CatalogueFirstRow, OnlyTheExactIndexNamesHaveACatalogue)
{
    EXPECT_NE(CatalogueFirstRow("LiberKey"), nullptr);
    EXPECT_NE(CatalogueFirstRow("PortableApps"), nullptr);
    EXPECT_NE(CatalogueFirstRow("Android"), nullptr);
    EXPECT_EQ(CatalogueFirstRow("Liberkey"), nullptr);
    EXPECT_EQ(CatalogueFirstRow(""), nullptr);
}

TEST(CatalogueFirstRow, CataloguesFollowEachOtherInIndexOrder)
{
    const char* liberkey = CatalogueFirstRow("LiberKey");
    const char* portableApps = CatalogueFirstRow("PortableApps");
    const char* android = CatalogueFirstRow("Android");
    EXPECT_EQ(liberkey, CatalogueRows);
    EXPECT_LT(liberkey, portableApps);
    EXPECT_LT(portableApps, android);

    const char* row = liberkey;
    while (!CatalogueRowIsEnd(row))
        row = CatalogueNextRow(row);
    EXPECT_EQ(CatalogueNextRow(row), portableApps);
}
