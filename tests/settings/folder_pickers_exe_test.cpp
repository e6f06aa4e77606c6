// A folder chosen with a "..." button of the real Quillet.exe.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "settings/browse_dialog_driver.h"
#include "settings/settings_test_support.h"
#include "support/eventually.h"
#include "support/quillet_process.h"
#include "support/remote_list.h"
#include "support/temp_folder.h"
#include "window/controls.h"

namespace {

// Chooses the folder in the program's open folder dialog, as the tree's
// selection (what Wine's dialog takes) and as the typed path (what Windows'
// takes), then presses OK.
bool ChooseInDialog(QuilletProcess& quillet, const std::string& folder)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        HWND dialog = FindBrowseDialog(quillet.id());
        if (!dialog) {
            Sleep(50);
            continue;
        }
        RemoteSendText(dialog, BFFM_SETSELECTIONA, TRUE, folder);
        HWND tree = FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
        LRESULT root = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
        LRESULT selected = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
        if (!tree || selected == 0 || selected == root) {
            Sleep(50);  // Wine's tree now and then misses a selection; try again
            continue;
        }
        if (HWND edit = FindWindowExA(dialog, nullptr, "Edit", nullptr))
            SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

}  // namespace

TEST(QuilletExeFolderPickers, ChosenTargetWaitsForTheNextLoadAndIsSavedAtExit)
{
    TempFolder work;
    WriteFileBytes(work / "Downloads\\FirefoxPortable_10.0.paf.exe", "firefox");
    MakeFolders(work / "Chosen");
    Settings values;
    values.LastIndex = "PortableApps";
    values.CopyOrMove = "Copy";
    values.DumpLeftOvers = "No";
    values.PortableAppsSourcePath = work / "Downloads\\";
    values.PortableAppsTargetPath = work / "Old\\";
    WriteFileBytes(work / "Quillet.Ini", SettingsFileText(values));

    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    ASSERT_NE(quillet.WaitUntilReady(), nullptr);
    PostMessageA(quillet.Control(ButtonPortableAppsTarget), BM_CLICK, 0, 0);
    ASSERT_TRUE(ChooseInDialog(quillet, work / "Chosen"));
    ASSERT_TRUE(Eventually([&] { return quillet.Text(FieldPortableAppsTarget) == work / "Chosen\\"; }));

    // The active target is still the old one: a sort now places there.
    EXPECT_EQ(quillet.Text(FieldActiveTarget), work / "Old\\");
    size_t before = quillet.Rows(ListStatus).size();
    PostMessageA(quillet.Control(ButtonSort), BM_CLICK, 0, 0);
    ASSERT_TRUE(quillet.WaitForStatusLine("Sort finished", before));
    EXPECT_TRUE(FileExists(work / "Old\\_Internet\\FirefoxPortable_10.0.paf.exe"));
    EXPECT_FALSE(FolderExists(work / "Chosen\\_Internet"));

    // Loading the index again makes the chosen folder the active target.
    before = quillet.Rows(ListStatus).size();
    PostMessageA(quillet.Control(ButtonLoadIndex), BM_CLICK, 0, 0);
    ASSERT_TRUE(quillet.WaitForStatusLine("Finished fetching", before));
    EXPECT_EQ(quillet.Text(FieldActiveTarget), work / "Chosen\\");

    DWORD code = 99;
    ASSERT_TRUE(quillet.Quit(&code));
    EXPECT_EQ(code, 0u);
    std::string settings = ReadFileBytes(work / "Quillet.Ini");
    EXPECT_NE(settings.find("PortableApps Target Path = " + (work / "Chosen\\") + "\r\n"), std::string::npos) << settings;
}
