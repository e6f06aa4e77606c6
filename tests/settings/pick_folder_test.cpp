#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "settings/browse_dialog_driver.h"
#include "settings/pick_folder.h"
#include "support/quillet_process.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "window/main_window.h"

TEST(FolderTextFromPath, AppendsOneBackslashUnlessThereIsOne)
{
    EXPECT_EQ(FolderTextFromPath(L"D:\\Downloads"), "D:\\Downloads\\");
    EXPECT_EQ(FolderTextFromPath(L"D:\\Downloads\\"), "D:\\Downloads\\");
    EXPECT_EQ(FolderTextFromPath(L"E:\\"), "E:\\");
    EXPECT_EQ(FolderTextFromPath(L"\\\\server\\share"), "\\\\server\\share\\");
    EXPECT_EQ(FolderTextFromPath(L""), "");
}

TEST(FolderTextFromPath, KeepsAPathThatFillsThe260ByteBuffer)
{
    // 259 characters and the terminator fill the buffer exactly.
    std::wstring path = L"C:\\" + std::wstring(256, L'a');
    std::string folder = FolderTextFromPath(path.c_str());
    EXPECT_EQ(folder, "C:\\" + std::string(256, 'a') + "\\");
}

TEST(FolderTextFromPath, APathLongerThanTheBufferYieldsNothing)
{
    for (size_t length : {260u, 261u, 4000u}) {
        std::wstring path = L"C:\\" + std::wstring(length - 3, L'a');
        EXPECT_EQ(FolderTextFromPath(path.c_str()), "") << length;
        FolderRefusal refusal = FolderRefusal::None;
        FolderTextFromPath(path.c_str(), &refusal);
        EXPECT_EQ(refusal, FolderRefusal::PathTooLong) << length;
    }
}

TEST(FolderTextFromPath, CharactersOutsideTheCodePageYieldNothing)
{
    ASSERT_EQ(GetACP(), 1252u);
    EXPECT_EQ(FolderTextFromPath(L"C:\\Caf\u00E9"), "C:\\Caf\xE9\\");
    // Neither "?" nor a look-alike letter: either would name another folder.
    EXPECT_EQ(FolderTextFromPath(L"C:\\\u041F\u0430\u043F\u043A\u0430"), "");
    EXPECT_EQ(FolderTextFromPath(L"C:\\\u0100pps"), "");
}

namespace {

PIDLIST_ABSOLUTE ItemOf(const std::string& path)
{
    return ILCreateFromPathA(path.c_str());
}

// Stands in for the shell: hands out a path that fills every character of the
// buffer it is given.
BOOL WINAPI LongestPathFromItemList(PCIDLIST_ABSOLUTE, PWSTR path, DWORD pathSize, GPFIDL_FLAGS)
{
    for (DWORD at = 0; at < pathSize; ++at)
        path[at] = L'a';
    path[0] = L'C';
    path[1] = L':';
    path[2] = L'\\';
    return TRUE;
}

}  // namespace

TEST(FolderTextFromItemList, AFolderGivesItsPathWithABackslash)
{
    TempFolder temp;
    MakeFolders(temp / "Down loads");
    PIDLIST_ABSOLUTE item = ItemOf(temp / "Down loads");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(FolderTextFromItemList(item, SHGetPathFromIDListEx), temp / "Down loads\\");
    CoTaskMemFree(item);
}

TEST(FolderTextFromItemList, TheComputerHasNoFileSystemPath)
{
    PIDLIST_ABSOLUTE computer = nullptr;
    ASSERT_EQ(SHGetFolderLocation(nullptr, CSIDL_DRIVES, nullptr, 0, &computer), S_OK);
    EXPECT_EQ(FolderTextFromItemList(computer, SHGetPathFromIDListEx), "");
    CoTaskMemFree(computer);
}

TEST(FolderTextFromItemList, APathTooLongForTheBufferYieldsNothing)
{
    PIDLIST_ABSOLUTE item = ItemOf("C:\\");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(FolderTextFromItemList(item, LongestPathFromItemList), "");
    CoTaskMemFree(item);
}

class PickFolderTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        SetForegroundWindow(MainWindowHandle());
        PumpPending();
    }

    TempFolder temp;
};

TEST_F(PickFolderTest, AChosenFolderComesBackWithOneBackslash)
{
    MakeFolders(temp / "Down loads");
    BrowseDialogDriver driver(BrowseDialogDriver::ChooseFolder, temp / "Down loads");
    EXPECT_EQ(PickFolder("Where to?"), temp / "Down loads\\");
    EXPECT_EQ(driver.dialogsSeen, 1);
}

TEST_F(PickFolderTest, ADriveRootKeepsItsSingleBackslash)
{
    BrowseDialogDriver driver(BrowseDialogDriver::ChooseFolder, "C:\\");
    EXPECT_EQ(PickFolder("Where to?"), "C:\\");
}

TEST_F(PickFolderTest, CancelCloseAndAChoiceWithoutPathGiveEmptyText)
{
    BrowseDialogDriver driver(BrowseDialogDriver::PressCancel);
    EXPECT_EQ(PickFolder("Where to?"), "");
    driver.Then(BrowseDialogDriver::CloseDialog);
    EXPECT_EQ(PickFolder("Where to?"), "");
    driver.Then(BrowseDialogDriver::ChooseComputer);
    EXPECT_EQ(PickFolder("Where to?"), "");
    EXPECT_EQ(driver.dialogsSeen, 3);
}

TEST_F(PickFolderTest, ShowsThePromptOverTheMainWindowWhichTakesNoInput)
{
    bool mainEnabledWhileOpen = true;
    BrowseDialogDriver driver(BrowseDialogDriver::PressCancel);
    driver.whileOpen = [&](HWND) { mainEnabledWhileOpen = IsWindowEnabled(MainWindowHandle()); };
    PickFolder("Where to gather LiberKey files from?");
    ASSERT_EQ(driver.dialogsSeen, 1);
    EXPECT_TRUE(driver.ShowedText("Where to gather LiberKey files from?"));
    // The resizable dialog, which offers a new folder, with a field for a path.
    EXPECT_TRUE(driver.ShowedText("&Make New Folder"));
    EXPECT_TRUE(driver.hadEditBox);
    EXPECT_TRUE(driver.startedAtRoot);
    EXPECT_EQ(driver.owner, MainWindowHandle());
    EXPECT_FALSE(mainEnabledWhileOpen);
    EXPECT_TRUE(IsWindowEnabled(MainWindowHandle()));
}


namespace {

HWND MakeTopLevelWindow(DWORD exStyle, DWORD style)
{
    return CreateWindowExA(exStyle, "STATIC", "other", WS_POPUP | style, 0, 0, 50, 50, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

bool IsTopmost(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

}  // namespace

TEST_F(PickFolderTest, OtherWindowsOfTheThreadTakeNoInputWhileItIsOpen)
{
    HWND topmost = MakeTopLevelWindow(WS_EX_TOPMOST | WS_EX_NOACTIVATE, WS_VISIBLE);
    HWND disabled = MakeTopLevelWindow(WS_EX_NOACTIVATE, WS_VISIBLE | WS_DISABLED);
    HWND hidden = MakeTopLevelWindow(0, 0);
    SetForegroundWindow(MainWindowHandle());

    bool topmostEnabled = true, topmostStayedOnTop = true, hiddenEnabled = false;
    BrowseDialogDriver driver(BrowseDialogDriver::PressCancel);
    driver.whileOpen = [&](HWND) {
        topmostEnabled = IsWindowEnabled(topmost);
        topmostStayedOnTop = IsTopmost(topmost);
        hiddenEnabled = IsWindowEnabled(hidden);
    };
    PickFolder("Where to?");

    ASSERT_EQ(driver.dialogsSeen, 1);
    EXPECT_FALSE(topmostEnabled);
    EXPECT_FALSE(topmostStayedOnTop);
    EXPECT_TRUE(hiddenEnabled);
    // Afterwards each is as it was.
    EXPECT_TRUE(IsWindowEnabled(topmost));
    EXPECT_TRUE(IsTopmost(topmost));
    EXPECT_FALSE(IsWindowEnabled(disabled));
    EXPECT_TRUE(IsWindowEnabled(hidden));
    EXPECT_TRUE(IsWindowEnabled(MainWindowHandle()));
    for (HWND window : {topmost, disabled, hidden})
        DestroyWindow(window);
}

TEST_F(PickFolderTest, WithAnotherProgramInFrontTheDialogHasNoOwner)
{
    TempFolder work;
    QuilletProcess other;
    ASSERT_TRUE(other.Start(work.path()));
    HWND otherWindow = other.WaitForWindow();
    ASSERT_NE(otherWindow, nullptr);
    SetForegroundWindow(otherWindow);
    ASSERT_EQ(GetForegroundWindow(), otherWindow);

    bool mainEnabledWhileOpen = true;
    BrowseDialogDriver driver(BrowseDialogDriver::PressCancel);
    driver.whileOpen = [&](HWND) { mainEnabledWhileOpen = IsWindowEnabled(MainWindowHandle()); };
    PickFolder("Where to?");

    ASSERT_EQ(driver.dialogsSeen, 1);
    EXPECT_EQ(driver.owner, nullptr);
    // Our own windows are kept from input all the same.
    EXPECT_FALSE(mainEnabledWhileOpen);
    EXPECT_TRUE(IsWindowEnabled(MainWindowHandle()));
}
