// The settings file as the real Quillet.exe leaves it in its working folder.
#include <gtest/gtest.h>
#include <windows.h>

#include "settings/settings_test_support.h"
#include "support/eventually.h"
#include "support/quillet_process.h"
#include "support/temp_folder.h"
#include "window/controls.h"

namespace {

// Posts close requests until the program has ended: one that a drain of the
// start-up takes out of the queue is dropped, as a user's click would be.
bool CloseAndWait(QuilletProcess& quillet, HWND window, DWORD* exitCode)
{
    for (int attempt = 0; attempt < 40; ++attempt) {
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (quillet.WaitForExit(500, exitCode))
            return true;
    }
    return false;
}

// Starts the program in the folder, waits for the condition and closes it.
template <typename Condition>
void RunUntil(const std::string& workingFolder, Condition condition)
{
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(workingFolder));
    HWND window = quillet.WaitUntilReady();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Eventually([&] { return condition(quillet); }));
    DWORD code = 99;
    ASSERT_TRUE(CloseAndWait(quillet, window, &code));
    EXPECT_EQ(code, 0u);
}

std::string ExeFolder()
{
    std::string exe = QuilletExePath();
    return exe.substr(0, exe.find_last_of('\\') + 1);
}

}  // namespace

TEST(QuilletExeSettings, FirstRunWritesTheDefaultsAndOnlyTheIndexChangesAtExit)
{
    TempFolder work;
    std::string path = work / "Quillet.Ini";
    bool besideExe = FileExists(ExeFolder() + "Quillet.Ini");
    std::string defaults = JoinedLines(DefaultSettingsLines());

    RunUntil(work.path(), [&](QuilletProcess&) { return ReadFileBytes(path) == defaults; });

    std::vector<std::string> expected = DefaultSettingsLines();
    expected[5] = "Last Index = LiberKey";
    EXPECT_EQ(ReadFileBytes(path), JoinedLines(expected));
    // Beside the settings, only the history.
    EXPECT_EQ(FolderEntries(work.path()), (std::set<std::string>{"Quillet.History.Log", "Quillet.Ini"}));
    // The working folder counts, not the program's own.
    EXPECT_EQ(FileExists(ExeFolder() + "Quillet.Ini"), besideExe);
}

TEST(QuilletExeSettings, ValuesSurviveARestart)
{
    TempFolder work;
    std::string path = work / "Quillet.Ini";
    Settings stored;
    stored.LastIndex = "PortableApps";
    stored.CopyOrMove = "Move";
    stored.DumpLeftOvers = "No";
    stored.LiberkeySourcePath = work / "LK\\In\\";
    stored.PortableAppsSourcePath = work / "PA\\In\\";
    stored.PortableAppsTargetPath = work / "PA\\Out\\";
    stored.AndroidTargetPath = "D:\\Android\\";
    std::string text = "; my settings\r\n" + SettingsFileText(stored);
    WriteFileBytes(path, text);

    for (int run = 0; run < 2; ++run) {
        RunUntil(work.path(), [](QuilletProcess& quillet) {
            return SendMessageA(quillet.Control(OptionMove), BM_GETCHECK, 0, 0) == BST_CHECKED;
        });
        EXPECT_EQ(ReadFileBytes(path), text) << "run " << run;
    }
    // The index load made the selected index's target folder.
    EXPECT_TRUE(FolderExists(work / "PA\\Out"));

    // Held by another program with no sharing while the program starts, and
    // let go before it quits: the values it could not read are not written.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    RunUntil(work.path(), [&](QuilletProcess&) { return CloseHandle(held); });
    EXPECT_EQ(ReadFileBytes(path), text);
}

TEST(QuilletExeSettings, FolderNamedLikeTheSettingsFileIsLeftAlone)
{
    TempFolder work;
    MakeFolders(work / "Quillet.Ini");
    RunUntil(work.path(), [](QuilletProcess&) { return true; });
    EXPECT_TRUE(FolderExists(work / "Quillet.Ini"));
    EXPECT_EQ(FolderEntries(work.path()), (std::set<std::string>{"Quillet.History.Log", "Quillet.Ini"}));
}
