#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/event_loop.h"
#include "app/startup.h"
#include "settings/browse_dialog_driver.h"
#include "support/quillet_process.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/main_window.h"
#include "window/status_list.h"

namespace {

struct Picker {
    int button;
    const char* prompt;
    int field;
    std::string Settings::*setting;
};

const Picker Pickers[] = {
    {ButtonLiberkeySource, "Where to gather LiberKey files from?", FieldLiberkeySource, &Settings::LiberkeySourcePath},
    {ButtonLiberkeyTarget, "Where to sort Liberkey files to?", FieldLiberkeyTarget, &Settings::LiberkeyTargetPath},
    {ButtonPortableAppsSource, "Where to gather PortableApps files from?", FieldPortableAppsSource,
     &Settings::PortableAppsSourcePath},
    {ButtonPortableAppsTarget, "Where to sort PortableApps files to?", FieldPortableAppsTarget,
     &Settings::PortableAppsTargetPath},
    {ButtonAndroidSource, "Where to gather Android files from?", FieldAndroidSource, &Settings::AndroidSourcePath},
    {ButtonAndroidTarget, "Where to sort Android files to?", FieldAndroidTarget, &Settings::AndroidTargetPath},
};

}  // namespace

class FolderPickerTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        StartupSetPaths(app, work.path());
        SetForegroundWindow(MainWindowHandle());
        PumpPending();
    }

    // Clicks the button as the user does and runs what the event loop runs.
    void Click(int button)
    {
        // Setting a path field's text raises events the loop ignores.
        PumpPending();
        EventQueueClear();
        SendMessageA(ControlWindow(button), BM_CLICK, 0, 0);
        AppEvent event;
        ASSERT_TRUE(EventWait(&event));
        ASSERT_EQ(event.control, button);
        DispatchEvent(app, event);
    }

    // Gives every folder setting and its field a value of its own.
    void FillAllFolders()
    {
        for (const Picker& picker : Pickers) {
            std::string folder = std::string("C:\\Old\\") + std::to_string(picker.field) + "\\";
            app.Settings.*picker.setting = folder;
            CtlSetText(picker.field, folder);
        }
    }

    TempFolder work;
    TempFolder folders;
};

TEST_F(FolderPickerTest, EachButtonAsksWithItsPromptAndStoresTheChosenFolder)
{
    FillAllFolders();
    Settings before = app.Settings;
    for (const Picker& picker : Pickers) {
        SCOPED_TRACE(picker.prompt);
        std::string chosen = folders / std::to_string(picker.button);
        MakeFolders(chosen);
        BrowseDialogDriver driver(BrowseDialogDriver::ChooseFolder, chosen);
        Click(picker.button);

        ASSERT_EQ(driver.dialogsSeen, 1);
        EXPECT_TRUE(driver.ShowedText(picker.prompt));
        EXPECT_EQ(app.Settings.*picker.setting, chosen + "\\");
        EXPECT_EQ(CtlGetText(picker.field), chosen + "\\");
        before.*picker.setting = chosen + "\\";
    }
    // No picker touched another's setting or field.
    for (const Picker& picker : Pickers) {
        EXPECT_EQ(app.Settings.*picker.setting, before.*picker.setting);
        EXPECT_EQ(CtlGetText(picker.field), before.*picker.setting);
    }
}

TEST_F(FolderPickerTest, CancellingOrClosingChangesNothing)
{
    // A filled field stays as it was, an empty one stays empty.
    app.Settings.LiberkeySourcePath = "C:\\Old\\";
    CtlSetText(FieldLiberkeySource, "C:\\Old\\");
    BrowseDialogDriver driver(BrowseDialogDriver::PressCancel);
    for (BrowseDialogDriver::Action action : {BrowseDialogDriver::PressCancel, BrowseDialogDriver::CloseDialog}) {
        driver.Then(action);
        Click(ButtonLiberkeySource);
        Click(ButtonAndroidTarget);
    }
    EXPECT_EQ(driver.dialogsSeen, 4);
    EXPECT_EQ(ListCountRows(ListStatus), 0);
    EXPECT_EQ(app.Settings.LiberkeySourcePath, "C:\\Old\\");
    EXPECT_EQ(CtlGetText(FieldLiberkeySource), "C:\\Old\\");
    EXPECT_EQ(app.Settings.AndroidTargetPath, "");
    EXPECT_EQ(CtlGetText(FieldAndroidTarget), "");
}

TEST_F(FolderPickerTest, TheDialogStartsWithNoFolderPreselected)
{
    MakeFolders(folders / "Current");
    app.Settings.AndroidSourcePath = folders / "Current\\";
    CtlSetText(FieldAndroidSource, app.Settings.AndroidSourcePath);
    BrowseDialogDriver driver(BrowseDialogDriver::PressCancel);
    Click(ButtonAndroidSource);
    ASSERT_EQ(driver.dialogsSeen, 1);
    EXPECT_TRUE(driver.startedAtRoot);
}

TEST_F(FolderPickerTest, ActiveFieldsStatusListAndSettingsFileAreLeftAlone)
{
    // The new folder takes effect when the index is next loaded, and reaches
    // the settings file when the program ends.
    app.Settings.LastIndex = "LiberKey";
    CtlSetText(FieldActiveSource, "C:\\Old\\In\\");
    CtlSetText(FieldActiveTarget, "C:\\Old\\Out\\");
    MakeFolders(folders / "New");
    BrowseDialogDriver driver(BrowseDialogDriver::ChooseFolder, folders / "New");
    Click(ButtonLiberkeySource);
    driver.Then(BrowseDialogDriver::ChooseFolder, folders / "New");
    Click(ButtonLiberkeyTarget);

    EXPECT_EQ(app.Settings.LiberkeyTargetPath, folders / "New\\");
    EXPECT_EQ(CtlGetText(FieldActiveSource), "C:\\Old\\In\\");
    EXPECT_EQ(CtlGetText(FieldActiveTarget), "C:\\Old\\Out\\");
    EXPECT_EQ(ListCountRows(ListStatus), 0);
    EXPECT_FALSE(FileExists(app.SettingsFilePath));
}

TEST_F(FolderPickerTest, AFolderNamedOutsideTheCodePageIsNotTakenWithAStatusLine)
{
    FillAllFolders();
    Settings before = app.Settings;
    BrowseDialogDriver driver(BrowseDialogDriver::ChooseWideFolder);
    driver.wideFolder = std::wstring(folders.path().begin(), folders.path().end()) + L"\u041F\u0430\u043F\u043A\u0430";
    ASSERT_TRUE(CreateDirectoryW(driver.wideFolder.c_str(), nullptr));
    Click(ButtonAndroidTarget);

    EXPECT_EQ(StatusLines(), std::vector<std::string>{StatusLine(
                                 "Folder not taken",
                                 std::string(ActivityMarker) + "  name holds characters outside the code page")});
    for (const Picker& picker : Pickers) {
        EXPECT_EQ(app.Settings.*picker.setting, before.*picker.setting);
        EXPECT_EQ(CtlGetText(picker.field), before.*picker.setting);
    }
}

namespace {

HWND WaitForDialogOf(const QuilletProcess& process)
{
    for (int tries = 0; tries < 400; ++tries) {
        if (HWND dialog = FindBrowseDialog(process.id()))
            return dialog;
        Sleep(25);
    }
    return nullptr;
}

}  // namespace

TEST(QuilletExe, AFolderButtonOpensTheDialogWithItsPrompt)
{
    TempFolder work;
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    ASSERT_NE(quillet.WaitUntilReady(), nullptr);
    PostMessageA(quillet.Control(ButtonLiberkeyTarget), BM_CLICK, 0, 0);

    HWND dialog = WaitForDialogOf(quillet);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Contains(VisibleControlTexts(dialog), "Where to sort Liberkey files to?"));

    PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    PostMessageA(quillet.Control(ButtonQuit), BM_CLICK, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(quillet.WaitForExit(20000, &code));
    EXPECT_EQ(code, 0u);
}
