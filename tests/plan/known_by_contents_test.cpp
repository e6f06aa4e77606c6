// Packages known by what they carry: the names real packages give, the rule
// for text the code page lacks, a plan that asks for contents only where no
// file name places a package, the cache that reads a file once while its size
// and time stay, and sorts of renamed real Android builds in the real window.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "app/sort_steps.h"
#include "model/app_state.h"
#include "plan/known_by_contents.h"
#include "plan/name_match.h"
#include "plan/older_versions_plan.h"
#include "plan/package_facts.h"
#include "plan/sort_plan.h"
#include "plan/sort_preview.h"
#include "settings/settings_test_support.h"
#include "support/temp_folder.h"
#include "support/test_data.h"
#include "support/window_test.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/list_tips.h"
#include "window/list_views.h"
#include "window/main_window.h"
#include "window/status_list.h"

namespace {

// io.appium.settings as published: 8.0.10 is versionCode 192, 5.14.15 is 131,
// 7.0.22 is 163; its label is "Appium Settings".
const char Build8[] = "apk/io.appium.settings-8.0.10.apk";
const char Build5[] = "apk/io.appium.settings-5.14.15.apk";
const char Build7[] = "apk/io.appium.settings-7.0.22.apk";

using Names = std::vector<std::string>;

std::string KnownLine(const std::string& detail)
{
    ActivityText line = ActivityLineText(Activity::KnownByContents, detail);
    return StatusLine(line.title, line.explanation);
}

void SetWriteTime(const std::string& path, uint64_t time)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME at = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    SetFileTime(file, nullptr, nullptr, &at);
    CloseHandle(file);
}

}  // namespace

TEST(PackageFacts, RealPackagesGiveTheirNamesInTheOrderTheyAreTried)
{
    PackageFactsCache cache;
    PackageFacts apk = PackageFactsAtPath(cache, TestDataPath(Build8));
    EXPECT_TRUE(apk.said);
    EXPECT_EQ(KnownNamesOf(apk, PackageFormat::Apk),
              (Names{"Appium Settings 8.0.10", "Appium Settings_8.0.10", "io.appium.settings"}));
    // The installer's version resource as installer.nsi writes it.
    PackageFacts installer = PackageFactsAtPath(cache, TestDataPath("nsis/crc.paf.exe"));
    EXPECT_EQ(KnownNamesOf(installer, PackageFormat::PafExe),
              (Names{"QuilletTestPortable_4.5.6.paf.exe", "Quillet Test Portable"}));
    // A program that is no ".paf.exe" by its name is not read at all.
    EXPECT_FALSE(PackageFactsAtPath(cache, TestDataPath("version/probe.exe")).said);
    EXPECT_EQ(cache.files.size(), 2u);
}

TEST(PackageFacts, TextTheCodePageLacksIsShownAsAQuestionMarkAndMatchesNoRow)
{
    // U+0E01 (Thai) is in no code page these tests run under; "é" is in 1252.
    std::string text = PackageFactsText("\xE0\xB8\x81\xE0\xB8\x81 Caf\xC3\xA9\tMaps\n2");
    EXPECT_EQ(text, "\n\n Caf\xE9 Maps 2");
    EXPECT_EQ(PackageFactsShown(text), "?? Caf\xE9 Maps 2");
    IndexList rows = {{"_Question", "?"}, {"_Questions", "?? Caf"}, {"_Maps", "caf\xC9 maps"}};
    EXPECT_EQ(MatchingEntries(EntryNameKeys(rows), text), (std::vector<size_t>{2}));
    // A long label is cut at a character's end.
    std::string longText;
    for (int i = 0; i < 150; ++i)
        longText += "\xC3\xA9\xE0\xB8\x81";
    EXPECT_EQ(PackageFactsText(longText).size(), PackageFactsMaxText);
}

TEST(PackageFacts, AFileIsReadOnceWhileItsSizeAndTimeStayTheSame)
{
    TempFolder temp;
    std::string real = TestDataBytes(Build8);
    // The same size, the end record broken: no facts at all.
    std::string broken = real;
    broken.replace(broken.size() - 22, 4, "XXXX");
    std::string path = temp / "base.apk";
    WriteFileBytes(path, real);
    SetWriteTime(path, 130000000000000000ull);
    PackageFactsCache cache;
    EXPECT_EQ(PackageFactsAtPath(cache, path).label, "Appium Settings");

    WriteFileBytes(path, broken);
    SetWriteTime(path, 130000000000000000ull);
    EXPECT_EQ(PackageFactsAtPath(cache, path).label, "Appium Settings") << "read again at the same size and time";
    EXPECT_EQ(PackageFactsListed(cache, temp / "BASE.APK", real.size(), 130000000000000000ull).label,
              "Appium Settings");
    SetWriteTime(path, 130000000000000001ull);
    EXPECT_FALSE(PackageFactsAtPath(cache, path).said) << "not read again once its time changed";
}

TEST(PackageFacts, VersionsByContentsAreAnAppsPackageIdOrProductNameAndEdition)
{
    PackageFacts apk;
    apk.said = true;
    apk.packageId = "org.example.tool";
    apk.versionCode = (3ull << 32) | 7;
    apk.hasVersionCode = true;
    PackageVersion version;
    ASSERT_TRUE(PackageFactsVersion(apk, "base.apk", &version));
    EXPECT_EQ(version.app, "|apk|org.example.tool");
    EXPECT_EQ(version.version, "12884901895");
    apk.hasVersionCode = false;
    EXPECT_FALSE(PackageFactsVersion(apk, "base.apk", &version));

    PackageFacts installer;
    installer.said = true;
    installer.productName = "Tool Portable";
    installer.productVersion = "v2.10. beta 3";
    PackageVersion english, x64, renamed;
    ASSERT_TRUE(PackageFactsVersion(installer, "ToolPortable_2.1_English.paf.exe", &english));
    ASSERT_TRUE(PackageFactsVersion(installer, "ToolPortable_2.1_x64.paf.exe", &x64));
    ASSERT_TRUE(PackageFactsVersion(installer, "Setup_9_x64.paf.exe", &renamed));
    EXPECT_EQ(english.version, "2.10");
    EXPECT_NE(english.app, x64.app) << "two editions are two apps";
    EXPECT_EQ(renamed.app, x64.app) << "one product and edition, whatever the name says";
    installer.productVersion = "beta";
    EXPECT_FALSE(PackageFactsVersion(installer, "ToolPortable_2.1_x64.paf.exe", &x64));
    EXPECT_FALSE(PackageFactsVersion(apk, "Tool_1.0.lks", &version));
}

// The newest versions kept per folder answer as asking every pair would:
// contents decide where both packages have them, names elsewhere.
TEST(VersionedOlder, TheNewestVersionsOfAFolderAnswerAsEveryPairWould)
{
    std::mt19937 random(11);
    const char* const names[] = {"", "tool_|.apk", "other_|.apk"};
    const char* const ids[] = {"", "|apk|org.tool", "|apk|org.other"};
    for (int trial = 0; trial < 500; ++trial) {
        std::vector<VersionedPackage> folder(2 + random() % 6);
        for (VersionedPackage& package : folder) {
            package.version = {names[random() % 3], std::to_string(random() % 3)};
            package.contents = {ids[random() % 3], std::to_string(random() % 3)};
        }
        NewestVersions newest;
        for (const VersionedPackage& package : folder)
            NewestVersionsTake(newest, package);
        for (const VersionedPackage& package : folder) {
            bool older = std::any_of(folder.begin(), folder.end(),
                                     [&](const VersionedPackage& other) { return VersionedOlder(package, other); });
            EXPECT_EQ(!NewestVersionsNewerApp(newest, package).empty(), older) << "trial " << trial;
        }
    }
}

TEST(PlanSortOfRows, ContentsAreAskedForOnlyWhereNoFileNamePlacesAPackageAndTheirFirstMatchingNameDecides)
{
    PackageTable packages;
    for (const char* name : {"Firefox_133.0.apk", "base.apk", "app-release (1).apk", "third.apk", "other.apk"})
        packages.Insert(-1, "C:\\In\\", name, 0);
    IndexList entries = {{"_Internet", "Firefox_"},
                         {"_Tools", "Appium Settings"},
                         {"_Ids", "^io.appium", true},
                         {"_Underscore", "settings_"},
                         {"_Question", "?"},
                         {"_Tool", "Tool_"}};
    const Names given[] = {
        {"Firefox 133", "Firefox_133", "org.mozilla.firefox"},
        {"Appium Settings 8.0.10", "Appium Settings_8.0.10", "io.appium.settings"},
        {"\n\n Tool 1.0", "\n\n Tool_1.0", "org.example.tool"},
        {"X 1", "X_1", "io.appium.third"},
        {"Nothing 1", "Nothing_1", "org.nothing"},
    };
    std::vector<int> asked;
    SortPlan plan = PlanSortOfRows(packages, EveryRow(packages), entries, "C:\\Out\\", CopyMode::Copy, [&](int row) {
        asked.push_back(row);
        return given[row];
    });
    EXPECT_EQ(asked, (std::vector<int>{4, 3, 2, 1}));
    std::vector<std::string> placed;
    for (const Placement& placement : plan.placements) {
        const PlannedPackage& package = plan.packages[placement.package];
        placed.push_back(package.name + " > " + entries[placement.entry].category + " as " + package.knownAs);
    }
    EXPECT_EQ(placed, (Names{"third.apk > _Ids as io.appium.third", "app-release (1).apk > _Tool as ?? Tool_1.0",
                             "base.apk > _Tools as Appium Settings 8.0.10", "Firefox_133.0.apk > _Internet as "}));
}

class KnownByContentsSortTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        app.TitleBanner = "Quillet - ";
        app.LogFilePath = temp / "Quillet.Log";
        app.Settings.LastIndex = "Android";
        app.Settings.CopyOrMove = "Move";
        app.Settings.DumpLeftOvers = "No";
        app.IndexList = {{"_Tools", "Appium Settings"}};
        app.ActiveSource = temp / "In\\";
        app.ActiveTarget = temp / "Out\\";
    }

    void ListPackage(const std::string& fileName, const std::string& bytes)
    {
        WriteFileBytes(app.ActiveSource + fileName, bytes);
        ListAddRow(ListFiles, -1, app.ActiveSource + "\n" + fileName);
    }

    TempFolder temp;
};

TEST_F(KnownByContentsSortTest, RenamedRealBuildsArePlacedUnderTheirOwnNamesWithTheLineThatSaysWhy)
{
    std::string real = TestDataBytes(Build8);
    ListPackage("base.apk", real);
    ListPackage("app-release (1).apk", TestDataBytes(Build5));
    ListPackage("cut.apk", real.substr(0, real.size() / 2));
    ListPackage("Appium Settings_9.apk", "named, never read");
    const std::string base = KnownLine("base.apk  is Appium Settings 8.0.10");
    const std::string release = KnownLine("app-release (1).apk  is Appium Settings 5.14.15");

    PreviewSort(app);
    EXPECT_EQ(ListRows(ListSorted, 3), (Names{"_Tools|Appium Settings_9.apk|Move", "_Tools|app-release (1).apk|Move",
                                              "_Tools|base.apk|Move"}));
    std::vector<std::string> lines = StatusLines();
    EXPECT_EQ(Names(lines.begin(), lines.end() - 1), (Names{release, base}));
    EXPECT_EQ(app.Known.files.size(), 3u) << "the named package is not read";

    RunSort(app);
    EXPECT_EQ(ReadFileBytes(temp / "Out\\_Tools\\base.apk"), real);
    EXPECT_TRUE(FileExists(temp / "Out\\_Tools\\app-release (1).apk"));
    EXPECT_TRUE(FileExists(temp / "Out\\_Tools\\Appium Settings_9.apk"));
    EXPECT_EQ(ListRows(ListFiles, 2), (Names{app.ActiveSource + "|cut.apk"}));
    lines = StatusLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), base), 2);
    auto known = std::find(lines.begin() + 3, lines.end(), base);
    ASSERT_NE(known, lines.end());
    EXPECT_EQ(known[1], StatusLine("File moved okay", std::string(ActivityMarker) + "  base.apk"));
}

TEST_F(KnownByContentsSortTest, OnlyTheRowsOfItsOwnKindsCollectionKnowIt)
{
    ListPackage("base.apk", TestDataBytes(Build8));
    app.Settings.LastIndex = "LiberKey";
    RunSort(app);
    EXPECT_EQ(ListRows(ListFiles, 2), (Names{app.ActiveSource + "|base.apk"}));
    EXPECT_TRUE(app.Known.files.empty());

    // An installer is known by its original file name while PortableApps is loaded.
    app.Settings.LastIndex = "PortableApps";
    app.IndexList = {{"_Tools", "Appium Settings"}, {"_Tests", "QuilletTestPortable_"}};
    ListPackage("setup.paf.exe", TestDataBytes("nsis/crc.paf.exe"));
    RunSort(app);
    EXPECT_TRUE(FileExists(temp / "Out\\_Tests\\setup.paf.exe"));
    EXPECT_EQ(ListRows(ListFiles, 2), (Names{app.ActiveSource + "|base.apk"}));
    std::vector<std::string> lines = StatusLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), KnownLine("setup.paf.exe  is QuilletTestPortable_4.5.6.paf.exe")),
              lines.end());
}

// With older versions put aside after each sort, a build older by its
// versionCode than one in the folder goes aside, whatever the names say.
TEST_F(KnownByContentsSortTest, ABuildOlderByItsVersionCodeIsPutAsideByTheSort)
{
    app.Options[ProgramOption::OlderVersionsAside].value = true;
    WriteFileBytes(temp / "Out\\_Tools\\Appium Settings_1.0.apk", TestDataBytes(Build7));
    ListPackage("Appium Settings_9.0.apk", TestDataBytes(Build5));
    ListPackage("base.apk", TestDataBytes(Build8));
    RunSort(app);
    EXPECT_TRUE(FileExists(temp / "Out\\_Older versions\\_Tools\\Appium Settings_9.0.apk"));
    EXPECT_TRUE(FileExists(temp / "Out\\_Tools\\base.apk"));
    EXPECT_TRUE(FileExists(temp / "Out\\_Older versions\\_Tools\\Appium Settings_1.0.apk"));
}

// The packages list shows a leftover Android package's label as its row's
// tooltip; a package some row names by its file name, and other kinds, have
// none.
TEST_F(KnownByContentsSortTest, TheTooltipOfALeftoverAndroidPackageIsItsLabel)
{
    HWND list = ControlWindow(ListFiles);
    HWND tipWindow = ListTipWindow();
    ASSERT_NE(tipWindow, nullptr);
    ListViewsSetTip([this](int row) { return KnownLabelOfRow(app, row); });
    ListPackage("base.apk", TestDataBytes(Build8));
    ListPackage("Appium Settings_8.0.10.apk", TestDataBytes(Build8));
    ListPackage("Tool_1.0.lks", "a package");
    std::vector<std::string> tips;
    for (int row : {0, 1, 2, 0}) {
        // The mouse rests on the row; the tooltip then asks for its text.
        RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
        SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(bounds.left + 4, (bounds.top + bounds.bottom) / 2));
        NMTTDISPINFOA ask = {};
        ask.hdr = {tipWindow, 1, static_cast<UINT>(TTN_GETDISPINFOA)};
        SendMessageA(list, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&ask));
        tips.push_back(ask.lpszText ? ask.lpszText : "(none)");
    }
    ListViewsSetTip(nullptr);
    EXPECT_EQ(tips, (Names{"Appium Settings", "", "", "Appium Settings"}));
    EXPECT_EQ(ListRowText(ListFiles, 0, 1), "base.apk");
}
