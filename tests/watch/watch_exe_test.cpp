// The real Quillet.exe started with /watch,
// fed a package by a slow writer of this (Windows) process, which shows
// Quillet how it shares the file.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>

#include "settings/settings_test_support.h"
#include "support/folder_link.h"
#include "support/answer_watch.h"
#include "support/made_up_package.h"
#include "support/quillet_process.h"
#include "support/temp_folder.h"
#include "util/file_facts.h"
#include "util/run_lock.h"
#include "window/controls.h"

namespace {

int LinesTitled(const QuilletProcess& quillet, const std::string& title)
{
    auto rows = quillet.Rows(ListStatus);
    return static_cast<int>(std::count_if(rows.begin(), rows.end(), [&](const std::vector<std::string>& row) {
        return !row.empty() && row[0] == title;
    }));
}

// The PortableApps collection in Move from PA\ to PASorted\.
void WritePortableAppsSettings(const TempFolder& work, const char* copyOrMove)
{
    Settings values;
    values.LastIndex = "PortableApps";
    values.CopyOrMove = copyOrMove;
    values.PortableAppsSourcePath = work / "PA\\";
    values.PortableAppsTargetPath = work / "PASorted\\";
    WriteFileBytes(work / "Quillet.Ini", SettingsFileText(values));
    MakeFolders(work / "PA\\");
}

// Writes the bytes at the offset of a file opened anew, then closes it.
void WriteAt(const std::string& path, DWORD disposition, uint64_t offset, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool Eventually(const std::function<bool()>& check, DWORD milliseconds)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(100)) {
        if (check())
            return true;
    }
    return check();
}

}  // namespace

TEST(WatchExe, APackageWrittenSlowlyIsSortedOnceWholeAfterItsWriterClosedItAndNotAgainFromTheTarget)
{
    TempFolder work;
    WriteLiberKeySettings(work.path(), "Copy", "In\\", "In\\Sorted\\");
    WriteFileBytes(work / "In\\VLC_media_player_0.9.lks", "listed by the fetch");
    // Links out of the source: one the fetch meets, one made while watched.
    WriteFileBytes(work / "Elsewhere\\VLC_media_player_3.0.lks", "not the source's");
    WriteFileBytes(work / "Later\\VLC_media_player_4.0.lks", "not the source's");
    FolderLink shared(work / "In", "Shared", "../Elsewhere");

    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path(), "/Watch"));
    ASSERT_TRUE(quillet.WaitForWindow());
    ASSERT_TRUE(quillet.WaitForStatusLine("Startup", 0, 30000));
    auto started = quillet.Rows(ListStatus);
    ASSERT_EQ(started.size(), 10u);
    EXPECT_TRUE(std::any_of(started.begin(), started.end(), [&](const std::vector<std::string>& row) {
        return row[0] + row[1].substr(10) == "Link not followed  " + work / "In\\Shared";
    }));
    EXPECT_EQ(started[9][0], "Startup");
    FolderLink later(work / "In", "Later", "../Later");

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
    EXPECT_TRUE(quillet.WaitForStatusLine("Sort finished", 9, 45000));
    EXPECT_EQ(ReadFileBytes(work / "In\\Sorted\\_Video\\_Player\\VLC_media_player_2.0.lks").size(), 5 * piece.size());
    EXPECT_TRUE(FileExists(work / "In\\Sorted\\_Office\\_Diagram_Editor\\VLC_media_player_2.0.lks"));

    // The copies in the target, inside the source, do not come back, nor
    // does the package the fetch listed go anywhere.
    Sleep(4000);
    EXPECT_EQ(LinesTitled(quillet, "Package arrived"), 1);
    EXPECT_EQ(LinesTitled(quillet, "Sort finished"), 1);
    EXPECT_EQ(LinesTitled(quillet, "Link not followed"), 2);
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

// Downloaders that close the file between segments, or set its size first
// and fill it later, end with one whole package placed and nothing left; the
// same package arriving again is sorted again; a source removed whole stops
// the watch.
TEST(WatchExe, DownloadsThatPauseArePlacedOnceWholeANameArrivingAgainIsSortedAgainAndARemovedSourceStopsTheWatch)
{
    TempFolder work;
    WritePortableAppsSettings(work, "Move");
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path(), "/watch"));
    ASSERT_TRUE(quillet.WaitUntilReady());

    const std::string package = MadeUpProgram(0, MadeUpInstaller(30000 - 1024));
    const std::string segmented = work / "PA\\FirefoxPortable_20.0_English.paf.exe";
    const std::string presized = work / "PA\\FirefoxPortable_21.0_English.paf.exe";
    WriteAt(segmented, CREATE_NEW, 0, package.substr(0, 10000));
    WriteAt(presized, CREATE_NEW, 0, std::string(package.size(), '\0'));
    Sleep(3000);
    WriteAt(segmented, OPEN_EXISTING, 10000, package.substr(10000));
    WriteAt(presized, OPEN_EXISTING, 0, package);
    for (const char* name : {"FirefoxPortable_20.0_English.paf.exe", "FirefoxPortable_21.0_English.paf.exe"}) {
        EXPECT_TRUE(Eventually([&] { return ReadFileBytes(work / "PASorted\\_Internet\\" + name) == package; }, 10000))
            << name;
    }
    EXPECT_TRUE(Eventually([&] { return DiskListing(work / "PA\\").empty(); }, 5000));
    EXPECT_EQ(LinesTitled(quillet, "Package arrived"), 2);

    // The same bytes and time again, as "cp -p" copies them, once the user took the first.
    const std::string again = work / "PA\\FirefoxPortable_22.0_English.paf.exe";
    const std::string placed = work / "PASorted\\_Internet\\FirefoxPortable_22.0_English.paf.exe";
    for (int arrival = 0; arrival < 2; ++arrival) {
        size_t from = quillet.Rows(ListStatus).size();
        WriteFileBytes(again + ".part", package);
        SetLastWriteTimeLongAgo(again + ".part");
        MoveFileA((again + ".part").c_str(), again.c_str());
        // The watch's sort of it ends before the user takes the copy away.
        EXPECT_TRUE(quillet.WaitForStatusLine("Sort finished", from, 20000)) << arrival;
        EXPECT_TRUE(Eventually([&] { return FileExists(placed) && !FileExists(again); }, 10000)) << arrival;
        DeleteFileA(placed.c_str());
        Sleep(1000);
    }
    EXPECT_EQ(LinesTitled(quillet, "Package arrived"), 4);

    WriteFileBytes(work / "PA\\Sub\\notes.txt", "kept by the user");
    Sleep(1000);
    // Removed whole and made again at once, as a script may do.
    std::string remove = "/bin/sh -c \"rm -rf PA && mkdir PA\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(CreateProcessA("/bin/sh", &remove[0], nullptr, nullptr, FALSE, 0, nullptr, work.path().c_str(),
                               &startup, &info));
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    EXPECT_TRUE(quillet.WaitForStatusLine("Watch stopped", 0, 10000));
    DWORD code = 99;
    ASSERT_TRUE(quillet.Quit(&code));
}

// The watch ticked at start by the stored option; an arrival of a gigabyte is
// copied on the worker thread: the window answers another program within a
// quarter of a second throughout.
TEST(WatchExe, AStoredWatchStartsTickedAndALargeArrivalKeepsTheWindowAnswering)
{
    TempFolder work;
    WritePortableAppsSettings(work, "Copy");
    std::string settings = ReadFileBytes(work / "Quillet.Ini");
    settings.insert(settings.find("[Program Options]\r\n") + 19, "Watch New Packages = Yes\r\n");
    WriteFileBytes(work / "Quillet.Ini", settings);
    const uint64_t large = 1ull << 30;
    const std::string staged = work / "FirefoxPortable_23.0_English.paf.exe";
    WriteZeroFile(staged, large);
    // An installer with its CRC: its check reads every byte, on a worker
    // thread, while the window keeps answering.
    WriteAt(staged, OPEN_EXISTING, 0, MadeUpProgram(0, MadeUpInstaller(large - 1024, 64)));
    WriteAt(staged, OPEN_EXISTING, large - 65536, std::string(65536, 'n'));
    ASSERT_TRUE(InstallerCrcWriteInFile(staged, 1024));
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    HWND window = quillet.WaitUntilReady();
    ASSERT_NE(window, nullptr);
    AnswerWatch answers(window);
    ASSERT_TRUE(MoveFileA(staged.c_str(), (work / "PA\\FirefoxPortable_23.0_English.paf.exe").c_str()));
    EXPECT_TRUE(quillet.WaitForStatusLine("Sort finished", 0, 110000));
    EXPECT_LT(answers.Stop(), 250u);
    DWORD code = 99;
    ASSERT_TRUE(quillet.Quit(&code));
    EXPECT_NE(ReadFileBytes(work / "Quillet.Ini").find("Watch New Packages = Yes\r\n"), std::string::npos);
}

namespace {

// Bytes no run of zeros or repeats makes look whole: a simple generator.
std::string NoiseBytes(size_t count, uint32_t seed)
{
    std::string bytes(count, '\0');
    for (size_t at = 0; at < count; ++at) {
        seed = seed * 1664525u + 1013904223u;
        bytes[at] = static_cast<char>(seed >> 24);
    }
    return bytes;
}

// A downloader that sets the file to its full size first, then fills it in
// segments of 1 MB in its own order, closing the file between them.
class SegmentedDownload {
public:
    SegmentedDownload(const std::string& path, const std::string& bytes) : path_(path), bytes_(bytes)
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, 0, nullptr);
        LARGE_INTEGER size;
        size.QuadPart = static_cast<LONGLONG>(bytes.size());
        SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        CloseHandle(file);
    }
    size_t Segments() const { return (bytes_.size() + Segment - 1) / Segment; }
    void Write(size_t segment) const
    {
        WriteAt(path_, OPEN_EXISTING, segment * Segment, bytes_.substr(segment * Segment, Segment));
    }

private:
    static const size_t Segment = 1 << 20;
    std::string path_, bytes_;
};

}  // namespace

// A download with holes (its full size set first, its last and first
// segments written, the rest later) is never placed while a hole remains:
// an .apk's entries and an installer's CRC cover every byte. Once the last
// hole is filled, the .apk is placed within three seconds.
TEST(WatchExe, ADownloadWithHolesIsNeverPlacedUntilItsLastHoleIsFilled)
{
    TempFolder work;
    WritePortableAppsSettings(work, "Move");
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path(), "/watch"));
    ASSERT_TRUE(quillet.WaitUntilReady());
    const std::string apk = MadeUpArchive(NoiseBytes(6 << 20, 7), "");
    // An installer with its CRC, signed: its certificate table follows the
    // installer's data.
    const std::string program = MadeUpProgram(1024 + (8 << 20), MadeUpInstaller(8 << 20)) + std::string(8, 'c');
    SegmentedDownload archive(work / "PA\\FirefoxPortable_30.0_English.apk", apk);
    SegmentedDownload installer(work / "PA\\FirefoxPortable_31.0_English.paf.exe", program);
    for (const SegmentedDownload* download : {&archive, &installer}) {
        download->Write(download->Segments() - 1);
        download->Write(0);
    }
    Sleep(5000);
    EXPECT_EQ(LinesTitled(quillet, "Package arrived"), 0);
    for (const SegmentedDownload* download : {&archive, &installer}) {
        for (size_t segment = 1; segment + 1 < download->Segments(); ++segment) {
            download->Write(segment);
            Sleep(300);
        }
    }
    EXPECT_TRUE(Eventually([&] { return FileExists(work / "PASorted\\_Internet\\FirefoxPortable_30.0_English.apk"); },
                           3000));
    EXPECT_TRUE(Eventually(
        [&] { return ReadFileBytes(work / "PASorted\\_Internet\\FirefoxPortable_31.0_English.paf.exe") == program; },
        10000));
    EXPECT_EQ(ReadFileBytes(work / "PASorted\\_Internet\\FirefoxPortable_30.0_English.apk"), apk);
    DWORD code = 99;
    ASSERT_TRUE(quillet.Quit(&code));
}

// The watch checks an arrival, keeps its handle, and waits for the folder's
// run lock (held here by this test, as another Quillet's run would). An
// arrival cut meanwhile (by a program that no sharing stops) is found
// changed through that handle after the wait, and waits again: it is not
// sorted as it was cut.
TEST(WatchExe, AnArrivalCutWhileTheWatchWaitsForTheLockIsNotSortedCut)
{
    TempFolder work;
    WritePortableAppsSettings(work, "Move");
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path(), "/watch"));
    ASSERT_TRUE(quillet.WaitUntilReady());
    RunLock lock;
    ASSERT_TRUE(lock.Take(work.path(), 1000, [](HANDLE mutex, DWORD wait) { return WaitForSingleObject(mutex, wait); }));
    const std::string apk = MadeUpArchive(NoiseBytes(4 << 20, 11), "");
    WriteFileBytes(work / "PA\\FirefoxPortable_32.0_English.apk", apk);
    // Checked whole and waiting for the lock: its sort has not begun.
    Sleep(5000);
    EXPECT_EQ(LinesTitled(quillet, "Package arrived"), 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::string cut = "/usr/bin/truncate -s 2097323 FirefoxPortable_32.0_English.apk";
    ASSERT_TRUE(CreateProcessA("/usr/bin/truncate", &cut[0], nullptr, nullptr, FALSE, 0, nullptr,
                               (work / "PA").c_str(), &startup, &info));
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    // Only the file's listing is read: the watch holds the file without
    // sharing its deletion, which any open by this process would ask to share.
    FileStamp stamp;
    ASSERT_TRUE(Eventually(
        [&] { return ReadFileStamp(work / "PA\\FirefoxPortable_32.0_English.apk", &stamp) && stamp.size == 2097323; },
        5000));
    lock.Release();
    Sleep(6000);
    EXPECT_FALSE(FileExists(work / "PASorted\\_Internet\\FirefoxPortable_32.0_English.apk"));
    DWORD code = 99;
    ASSERT_TRUE(quillet.Quit(&code));
    EXPECT_EQ(ReadFileBytes(work / "PA\\FirefoxPortable_32.0_English.apk").size(), 2097323u);
}
