#include <gtest/gtest.h>

#include "app/startup.h"
#include "support/window_test.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/main_window.h"
#include "window/status_list.h"

TEST(StartupSetPaths, FilesLieInTheWorkingFolder)
{
    AppState app;
    StartupSetPaths(app, "C:\\Users\\Me\\Work");
    EXPECT_EQ(app.BaseFolder, "C:\\Users\\Me\\Work\\");
    EXPECT_EQ(app.SettingsFilePath, "C:\\Users\\Me\\Work\\Quillet.Ini");
    EXPECT_EQ(app.LogFilePath, "C:\\Users\\Me\\Work\\Quillet.Log");

    StartupSetPaths(app, "D:\\");
    EXPECT_EQ(app.BaseFolder, "D:\\");
    EXPECT_EQ(app.SettingsFilePath, "D:\\Quillet.Ini");
}

TEST(CurrentWorkingFolder, IsTheProcessWorkingDirectoryWithABackslash)
{
    char buffer[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    std::string expected(buffer, length);
    if (expected.back() != '\\')
        expected += '\\';
    EXPECT_EQ(CurrentWorkingFolder(), expected);
}

TEST(TitleBanner, EndsWithABlank)
{
    std::string banner = TitleBannerText;
    ASSERT_FALSE(banner.empty());
    EXPECT_EQ(banner.back(), ' ');
}

class StartupApplySettingsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        StartupSetPaths(app, "C:\\Work\\");
        Settings& s = app.Settings;
        s.LiberkeySourcePath = "C:\\LK\\In\\";
        s.LiberkeyTargetPath = "C:\\LK\\Out\\";
        s.PortableAppsSourcePath = "C:\\PA\\In\\";
        s.PortableAppsTargetPath = "C:\\PA\\Out\\";
        s.AndroidSourcePath = "C:\\AN\\In\\";
        s.AndroidTargetPath = "C:\\AN\\Out\\";
    }
};

TEST_F(StartupApplySettingsTest, FillsTheControlsAndReportsEachStep)
{
    app.Settings.LastIndex = "PortableApps";
    app.Settings.CopyOrMove = "Move";
    app.Settings.DumpLeftOvers = "Yes";
    StartupApplySettings(app);

    EXPECT_EQ(CtlGetText(ComboIndex), "PortableApps");
    EXPECT_EQ(SendMessageA(ControlWindow(ComboIndex), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(CtlGetText(FieldActiveSource), "C:\\PA\\In\\");
    EXPECT_EQ(CtlGetText(FieldActiveTarget), "C:\\PA\\Out\\");
    EXPECT_EQ(CtlGetText(FieldLiberkeySource), "C:\\LK\\In\\");
    EXPECT_EQ(CtlGetText(FieldLiberkeyTarget), "C:\\LK\\Out\\");
    EXPECT_EQ(CtlGetText(FieldPortableAppsSource), "C:\\PA\\In\\");
    EXPECT_EQ(CtlGetText(FieldPortableAppsTarget), "C:\\PA\\Out\\");
    EXPECT_EQ(CtlGetText(FieldAndroidSource), "C:\\AN\\In\\");
    EXPECT_EQ(CtlGetText(FieldAndroidTarget), "C:\\AN\\Out\\");
    EXPECT_EQ(CtlGetState(OptionMove), 1);
    EXPECT_EQ(CtlGetState(OptionCopy), 0);
    EXPECT_EQ(CtlGetState(CheckDumpLeftovers), 1);
    EXPECT_EQ(app.TitleBanner, TitleBannerText);
    EXPECT_EQ(GetWindowTitle(), "");

    std::string marker = std::string(ActivityMarker) + "  C:\\Work\\Quillet.Ini";
    std::vector<std::string> expected = {
        StatusLine("Read config file", marker),
        StatusLine("Last index used loaded", marker),
        StatusLine("Last index source and target set", marker),
        StatusLine("Config screen paths loaded", marker),
        StatusLine("File copy mode set", marker),
    };
    EXPECT_EQ(StatusLines(), expected);
}

TEST_F(StartupApplySettingsTest, SelectorIgnoresCaseButActivePathsNeedTheExactName)
{
    app.Settings.LastIndex = "Liberkey";
    StartupApplySettings(app);
    EXPECT_EQ(CtlGetText(ComboIndex), "LiberKey");
    EXPECT_EQ(CtlGetText(FieldActiveSource), "");
    EXPECT_EQ(CtlGetText(FieldActiveTarget), "");
    EXPECT_EQ(CtlGetText(FieldLiberkeySource), "C:\\LK\\In\\");
}

TEST_F(StartupApplySettingsTest, UnknownIndexSelectsNothing)
{
    app.Settings.LastIndex = "Nonesuch";
    StartupApplySettings(app);
    EXPECT_EQ(CtlGetText(ComboIndex), "");
    EXPECT_EQ(CtlGetText(FieldActiveSource), "");
}

TEST_F(StartupApplySettingsTest, CopyModeValuesAreComparedExactly)
{
    app.Settings.CopyOrMove = "copy";
    app.Settings.DumpLeftOvers = "yes";
    StartupApplySettings(app);
    EXPECT_EQ(CtlGetState(OptionMove), 0);
    EXPECT_EQ(CtlGetState(OptionCopy), 0);
    EXPECT_EQ(CtlGetState(CheckDumpLeftovers), 0);
    // The values stay as read until the user picks something.
    EXPECT_EQ(app.Settings.CopyOrMove, "copy");
    EXPECT_EQ(app.Settings.DumpLeftOvers, "yes");
}

TEST_F(StartupApplySettingsTest, CopyChecksOptionCopyAndNoClearsTheBox)
{
    app.Settings.CopyOrMove = "Copy";
    app.Settings.DumpLeftOvers = "No";
    StartupApplySettings(app);
    EXPECT_EQ(CtlGetState(OptionCopy), 1);
    EXPECT_EQ(CtlGetState(OptionMove), 0);
    EXPECT_EQ(CtlGetState(CheckDumpLeftovers), 0);
}
