// The real Quillet.exe started with /watch,
// fed a package by a slow writer of this (Windows) process, which shows
// Quillet how it shares the file.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "settings/settings_test_support.h"
#include "support/quillet_process.h"
#include "support/temp_folder.h"
#include "window/controls.h"

namespace {

int LinesTitled(const QuilletProcess& quillet, const std::string& title)
{
    auto rows = quillet.Rows(ListStatus);
    return static_cast<int>(std::count_if(rows.begin(), rows.end(), [&](const std::vector<std::string>& row) {
        return !row.empty() && row[0] == title;
    }));
}

}  // namespace

TEST(WatchExe, APackageWrittenSlowlyIsSortedOnceWholeAfterItsWriterClosedItAndNotAgainFromTheTarget)
{
    TempFolder work;
    WriteLiberKeySettings(work.path(), "Copy", "In\\", "In\\Sorted\\");
    WriteFileBytes(work / "In\\VLC_media_player_0.9.lks", "listed by the fetch");

    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path(), "/Watch"));
    ASSERT_TRUE(quillet.WaitForWindow());
    ASSERT_TRUE(quillet.WaitForStatusLine("Startup", 0, 30000));
    EXPECT_EQ(quillet.Rows(ListStatus).size(), 9u);

    // A downloader writes the package in pieces, then keeps it open a while.
    MakeFolders(work / "In\\Sub\\");
    const std::string package = work / "In\\Sub\\VLC_media_player_2.0.lks";
    HANDLE writer = CreateFileA(package.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    const std::string piece(4096, 'v');
    for (int i = 0; i < 5; ++i) {
        DWORD written = 0;
        WriteFile(writer, piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr);
        Sleep(400);
    }
    Sleep(3000);
    EXPECT_EQ(LinesTitled(quillet, "Package arrived"), 0);
    EXPECT_FALSE(FileExists(work / "In\\Sorted\\_Video\\_Player\\VLC_media_player_2.0.lks"));

    CloseHandle(writer);
    EXPECT_TRUE(quillet.WaitForStatusLine("Sort finished", 10, 10000));
    EXPECT_EQ(ReadFileBytes(work / "In\\Sorted\\_Video\\_Player\\VLC_media_player_2.0.lks").size(), 5 * piece.size());
    EXPECT_TRUE(FileExists(work / "In\\Sorted\\_Office\\_Diagram_Editor\\VLC_media_player_2.0.lks"));

    // The copies in the target, inside the source, do not come back, nor
    // does the package the fetch listed go anywhere.
    Sleep(4000);
    EXPECT_EQ(LinesTitled(quillet, "Package arrived"), 1);
    EXPECT_EQ(LinesTitled(quillet, "Sort finished"), 1);
    EXPECT_FALSE(FileExists(work / "In\\Sorted\\_Video\\_Player\\VLC_media_player_0.9.lks"));
    auto rows = quillet.Rows(ListStatus);
    auto arrived = std::find_if(rows.begin(), rows.end(), [](const std::vector<std::string>& row) {
        return row[0] == "Package arrived";
    });
    ASSERT_NE(arrived, rows.end());
    EXPECT_EQ((*arrived)[1].substr((*arrived)[1].find("  ") + 2), package);

    DWORD code = 99;
    ASSERT_TRUE(quillet.Quit(&code));
    EXPECT_EQ(code, 0u);
}
