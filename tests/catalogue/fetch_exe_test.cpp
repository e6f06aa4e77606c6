// The fetch of the real Quillet.exe at start-up, seen from outside.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/settings_test_support.h"
#include "support/folder_link.h"
#include "support/quillet_process.h"
#include "support/remote_list.h"
#include "support/temp_folder.h"
#include "window/controls.h"

TEST(QuilletExeFetch, StartUpListsEveryPackageOnceThroughALoopingLink)
{
    TempFolder work;
    Settings stored;
    stored.LastIndex = "LiberKey";
    stored.CopyOrMove = "Copy";
    stored.DumpLeftOvers = "No";
    stored.LiberkeySourcePath = work / "Downloads\\";
    stored.LiberkeyTargetPath = work / "Sorted\\Apps\\";
    WriteFileBytes(work / "Quillet.Ini", SettingsFileText(stored));
    std::vector<std::string> packages = {"Downloads\\AIMP_3.lks", "Downloads\\Apps\\Waze_2.APK",
                                         "Downloads\\Apps\\Old\\FirefoxPortable_10.paf.exe"};
    for (const std::string& package : packages)
        WriteFileBytes(work / package, "x");
    WriteFileBytes(work / "Downloads\\Apps\\readme.txt", "x");
    FolderLink back(work / "Downloads\\Apps\\Old", "back", "../..");
    if (!back.made())
        GTEST_SKIP() << "no folder links here";

    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    HWND window = quillet.WaitUntilReady();
    ASSERT_NE(window, nullptr);

    std::vector<std::string> listed;
    for (const std::vector<std::string>& row : RemoteListRows(quillet.Control(ListFiles)))
        listed.push_back(row.at(0) + row.at(1));
    std::vector<std::string> expected;
    for (const std::string& package : packages)
        expected.push_back(work / package);
    std::sort(listed.begin(), listed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);
    char title[256] = "";
    GetWindowTextA(window, title, sizeof(title));
    EXPECT_STREQ(title, "Quillet - 3  LiberKey Files found");
    EXPECT_TRUE(FolderExists(work / "Sorted\\Apps"));

    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 99;
    ASSERT_TRUE(quillet.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
}
