#include <gtest/gtest.h>

#include "app/control_ops.h"
#include "app/controls.h"
#include "app/status_list.h"
#include "catalogue/index_load.h"
#include "support/temp_folder.h"
#include "support/window_test.h"

class LoadIndexTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        for (const char* name : {"LiberKey", "PortableApps", "Android"})
            CtlAddItem(ComboIndex, name);
        Settings& s = app.Settings;
        s.LiberkeySourcePath = temp / "LK\\In\\";
        s.LiberkeyTargetPath = temp / "LK\\Out\\";
        s.PortableAppsSourcePath = temp / "PA\\In\\";
        s.PortableAppsTargetPath = temp / "PA\\Out\\Deep\\";
        s.AndroidSourcePath = temp / "AN\\In\\";
        s.AndroidTargetPath = temp / "AN\\Out\\";
    }

    TempFolder temp;
};

TEST_F(LoadIndexTest, SelectedIndexBecomesActive)
{
    CtlSetText(ComboIndex, "PortableApps");
    LoadIndex(app);
    EXPECT_EQ(app.Settings.LastIndex, "PortableApps");
    EXPECT_EQ(CtlGetText(FieldActiveSource), temp / "PA\\In\\");
    EXPECT_EQ(CtlGetText(FieldActiveTarget), temp / "PA\\Out\\Deep\\");
    EXPECT_EQ(CtlGetText(FieldPortableAppsSource), temp / "PA\\In\\");
    EXPECT_EQ(CtlGetText(FieldPortableAppsTarget), temp / "PA\\Out\\Deep\\");
    EXPECT_EQ(CtlGetText(FieldLiberkeySource), "");
    EXPECT_TRUE(FolderExists(temp / "PA\\Out\\Deep"));
    ASSERT_EQ(ListCountRows(ListStatus), 1);
    EXPECT_EQ(StatusLines()[0],
              StatusLine("Index load", std::string(ActivityMarker) + "  PortableApps file sort index list loaded"));
}

TEST_F(LoadIndexTest, NoSelectionEmptiesEverythingAndReportsNothing)
{
    app.Settings.LastIndex = "Liberkey";
    app.IndexList.push_back({"Old", "Entry_"});
    CtlSetText(FieldActiveSource, "C:\\Was\\");
    LoadIndex(app);
    EXPECT_EQ(app.Settings.LastIndex, "");
    EXPECT_TRUE(app.IndexList.empty());
    EXPECT_EQ(CtlGetText(FieldActiveSource), "C:\\Was\\");
    EXPECT_EQ(ListCountRows(ListStatus), 0);
    EXPECT_FALSE(FolderExists(temp / "LK"));
}

TEST_F(LoadIndexTest, EmptyTargetIsPassedOverSilently)
{
    app.Settings.AndroidTargetPath = "";
    CtlSetText(ComboIndex, "Android");
    LoadIndex(app);
    EXPECT_EQ(app.Settings.LastIndex, "Android");
    EXPECT_EQ(CtlGetText(FieldActiveTarget), "");
    EXPECT_EQ(ListCountRows(ListStatus), 1);
}
