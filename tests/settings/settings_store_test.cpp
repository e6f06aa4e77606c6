#include <gtest/gtest.h>
#include <windows.h>

#include "app/event_loop.h"
#include "app/startup.h"
#include "catalogue/index_load.h"
#include "settings/program_options.h"
#include "settings/settings.h"
#include "settings/settings_test_support.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/status_list.h"

TEST(CreateDefaultSettingsFile, WritesTheNineteenDefaultLines)
{
    TempFolder temp;
    CreateDefaultSettingsFile(temp / "Quillet.Ini");
    EXPECT_EQ(ReadFileBytes(temp / "Quillet.Ini"), JoinedLines(DefaultSettingsLines()));

    // Whatever stood there before is replaced.
    WriteFileBytes(temp / "Quillet.Ini", "\xEF\xBB\xBF[Program Options]\r\nLast Index = Android\r\n");
    CreateDefaultSettingsFile(temp / "Quillet.Ini");
    EXPECT_EQ(ReadFileBytes(temp / "Quillet.Ini"), JoinedLines(DefaultSettingsLines()));
    EXPECT_EQ(FolderEntries(temp.path()), std::set<std::string>{"Quillet.Ini"});
}

TEST(ReadSetting, TrimsTheValueAndNeverTouchesTheFile)
{
    TempFolder temp;
    std::string path = temp / "Quillet.Ini";
    const char text[] = "[File Sort Paths]\r\n  Android Source Path\t=  \tC:\\In\\ \t \r\n";
    WriteFileBytes(path, text);
    SetLastWriteTimeLongAgo(path);
    ULONGLONG before = LastWriteTime(path);
    EXPECT_EQ(ReadSetting(path, "File Sort Paths", "Android Source Path"), "C:\\In\\");
    EXPECT_EQ(ReadSetting(path, "file sort paths", "android source path"), "C:\\In\\");
    EXPECT_EQ(ReadSetting(path, "File Sort Paths", "Android Target Path"), "");
    EXPECT_EQ(ReadSetting(path, "Program Options", "Android Source Path"), "");
    EXPECT_EQ(ReadFileBytes(path), text);
    EXPECT_EQ(LastWriteTime(path), before);
}

TEST(ReadSetting, ValueEndsAtItsFirstNulByte)
{
    TempFolder temp;
    std::string path = temp / "Quillet.Ini";
    WriteFileBytes(path, std::string("[File Sort Paths]\r\nLiberkey Source Path = D:\\w\\s ") + '\0' + "x\\src\\\r\n");
    EXPECT_EQ(ReadSetting(path, "File Sort Paths", "Liberkey Source Path"), "D:\\w\\s");
}

TEST(WriteSetting, RewritesTheWholeFileEvenForTheSameValue)
{
    TempFolder temp;
    std::string path = temp / "Quillet.Ini";
    WriteFileBytes(path, "; kept\n\n[Program Options]\n\n  copy or move=Copy\n[Other]\nx=1\n");
    WriteSetting(path, "Program Options", "Copy Or Move", "Copy");
    EXPECT_EQ(ReadFileBytes(path), "; kept\r\n[Program Options]\r\nCopy Or Move = Copy\r\n[Other]\r\nx = 1\r\n");
}

class LoadSettingsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        StartupSetPaths(app, temp.path());
    }

    // The start-up steps that follow the window's creation, up to the index load.
    void StartUp()
    {
        LoadSettings(app);
        StartupApplySettings(app);
        LoadIndex(app);
    }

    std::string CannotOpenLine() const
    {
        return StatusLine("Cannot open", std::string(ActivityMarker) + "  " + app.SettingsFilePath + "!!!");
    }

    std::string IniBytes() const { return ReadFileBytes(app.SettingsFilePath); }

    TempFolder temp;
};

using SaveSettingsTest = LoadSettingsTest;

TEST_F(LoadSettingsTest, FirstRunCreatesTheDefaultsAndShowsThem)
{
    LoadSettings(app);
    EXPECT_EQ(IniBytes(), JoinedLines(DefaultSettingsLines()));
    EXPECT_EQ(app.Settings.LastIndex, "Liberkey");
    EXPECT_EQ(app.Settings.CopyOrMove, "Copy");
    EXPECT_EQ(app.Settings.DumpLeftOvers, "Yes");
    EXPECT_EQ(app.Settings.PortableAppsSourcePath,
              "C:\\Users\\Obrell\\Downloads\\FlashGet Downloads\\_Portable Software Collections\\PortableApps.com\\");
    EXPECT_EQ(ListCountRows(ListStatus), 0);

    StartupApplySettings(app);
    EXPECT_EQ(CtlGetText(ComboIndex), "LiberKey");
    EXPECT_EQ(CtlGetText(FieldActiveSource), "");
    EXPECT_EQ(CtlGetState(OptionCopy), 1);
    EXPECT_EQ(CtlGetState(OptionMove), 0);
    EXPECT_EQ(CtlGetState(CheckDumpLeftovers), 1);
    EXPECT_EQ(CtlGetText(FieldAndroidTarget), "C:\\Users\\Obrell\\Downloads\\Quillet\\Android\\");

    LoadIndex(app);
    EXPECT_EQ(app.Settings.LastIndex, "LiberKey");
    EXPECT_EQ(CtlGetText(FieldActiveTarget), "C:\\Users\\Obrell\\Downloads\\Quillet\\LiberKey\\");

    SaveSettings(app);
    std::vector<std::string> expected = DefaultSettingsLines();
    expected[5] = "Last Index = LiberKey";
    EXPECT_EQ(IniBytes(), JoinedLines(expected));
}

TEST_F(LoadSettingsTest, OtherSpacingAndLettersAreReadAndRewrittenInTheProgramsLayout)
{
    WriteFileBytes(app.SettingsFilePath,
                   "; my notes\n"
                   "\n"
                   "[program options]\n"
                   "\tlast index=PortableApps\n"
                   "COPY OR MOVE   =   Move   \n"
                   "dump leftovers=No\n"
                   "Theme = dark\n"
                   "\n"
                   "[Window]\n"
                   "Left = 10\n"
                   "[File Sort Paths]\n"
                   "portableapps source path=" + temp.path() + "PA\\In\\\n"
                   "portableapps target path=" + temp.path() + "PA\\Out\\\n");
    StartUp();
    EXPECT_EQ(app.Settings.CopyOrMove, "Move");
    EXPECT_EQ(CtlGetState(OptionMove), 1);
    EXPECT_EQ(CtlGetState(CheckDumpLeftovers), 0);
    EXPECT_EQ(CtlGetText(ComboIndex), "PortableApps");
    EXPECT_EQ(CtlGetText(FieldActiveSource), temp / "PA\\In\\");
    EXPECT_EQ(CtlGetText(FieldLiberkeySource), "");

    SaveSettings(app);
    EXPECT_EQ(IniBytes(), JoinedLines({
                                  "; my notes",
                                  "[program options]",
                                  "Last Index = PortableApps",
                                  "Copy Or Move = Move",
                                  "Dump LeftOvers = No",
                                  "Theme = dark",
                                  "[Window]",
                                  "Left = 10",
                                  "[File Sort Paths]",
                                  "PortableApps Source Path = " + temp.path() + "PA\\In\\",
                                  "PortableApps Target Path = " + temp.path() + "PA\\Out\\",
                                  "Liberkey Source Path = ",
                                  "Liberkey Target Path = ",
                                  "Android Source Path = ",
                                  "Android Target Path = ",
                              }));
}

TEST_F(LoadSettingsTest, EmptyFileGivesEmptyValuesAndGetsBothGroupsAtExit)
{
    WriteFileBytes(app.SettingsFilePath, "");
    StartUp();
    EXPECT_EQ(CtlGetText(ComboIndex), "");
    EXPECT_EQ(CtlGetState(OptionCopy), 0);
    EXPECT_EQ(CtlGetState(OptionMove), 0);
    EXPECT_EQ(CtlGetState(CheckDumpLeftovers), 0);
    EXPECT_EQ(IniBytes(), "");

    SaveSettings(app);
    EXPECT_EQ(IniBytes(), SettingsFileText(Settings()));
}

TEST_F(LoadSettingsTest, UnknownIndexSelectsNothingAndIsSavedEmpty)
{
    Settings stored;
    stored.LastIndex = "Nonesuch";
    stored.CopyOrMove = "copy";
    stored.DumpLeftOvers = "yes";
    stored.AndroidSourcePath = temp / "In\\";
    WriteFileBytes(app.SettingsFilePath, SettingsFileText(stored));
    StartUp();
    EXPECT_EQ(CtlGetText(ComboIndex), "");
    EXPECT_EQ(CtlGetState(OptionCopy), 0);
    EXPECT_EQ(CtlGetState(CheckDumpLeftovers), 0);
    // The five settings lines, and the index load adds nothing.
    EXPECT_EQ(ListCountRows(ListStatus), 5);

    // Unrecognised values go back as they came; the index load emptied the name.
    SaveSettings(app);
    stored.LastIndex = "";
    EXPECT_EQ(IniBytes(), SettingsFileText(stored));
}

TEST_F(LoadSettingsTest, FolderOfThatNameGivesOneCannotOpenLinePerKey)
{
    MakeFolders(app.SettingsFilePath);
    LoadSettings(app);
    EXPECT_EQ(StatusLines(), std::vector<std::string>(9, CannotOpenLine()));
    for (const SettingKey& setting : SettingKeys)
        EXPECT_EQ(app.Settings.*setting.field, "") << setting.key;

    app.Settings.CopyOrMove = "Move";
    SaveSettings(app);
    EXPECT_EQ(StatusLines(), std::vector<std::string>(18, CannotOpenLine()));
    EXPECT_TRUE(FolderExists(app.SettingsFilePath));
    EXPECT_EQ(FolderEntries(temp.path()), std::set<std::string>{"Quillet.Ini"});
}

TEST_F(LoadSettingsTest, DefaultFileThatCannotBeMadeGivesNineLinesOnLoadAndOnSave)
{
    StartupSetPaths(app, temp / "Gone");
    LoadSettings(app);
    EXPECT_EQ(StatusLines(), std::vector<std::string>(9, CannotOpenLine()));
    EXPECT_EQ(app.Settings.LastIndex, "");
    SaveSettings(app);
    EXPECT_EQ(StatusLines(), std::vector<std::string>(18, CannotOpenLine()));
    EXPECT_FALSE(FolderExists(temp / "Gone"));
}

TEST_F(LoadSettingsTest, ReadOnlyFileLoadsAndIsLeftAloneAtExit)
{
    Settings stored;
    stored.LastIndex = "Android";
    stored.CopyOrMove = "Copy";
    WriteFileBytes(app.SettingsFilePath, SettingsFileText(stored));
    SetFileAttributesA(app.SettingsFilePath.c_str(), FILE_ATTRIBUTE_READONLY);
    LoadSettings(app);
    EXPECT_EQ(app.Settings.LastIndex, "Android");
    app.Settings.CopyOrMove = "Move";
    SaveSettings(app);
    EXPECT_EQ(IniBytes(), SettingsFileText(stored));
    EXPECT_EQ(ListCountRows(ListStatus), 0);
    SetFileAttributesA(app.SettingsFilePath.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SaveSettingsTest, ClickOnMoveIsSavedAtExit)
{
    CreateDefaultSettingsFile(app.SettingsFilePath);
    LoadSettings(app);
    StartupApplySettings(app);
    DispatchEvent(app, {AppEvent::ControlEvent, OptionMove, BN_CLICKED});
    EXPECT_EQ(ListCountRows(ListStatus), 5);
    SaveSettings(app);
    std::vector<std::string> expected = DefaultSettingsLines();
    expected[6] = "Copy Or Move = Move";
    EXPECT_EQ(IniBytes(), JoinedLines(expected));
}

TEST_F(SaveSettingsTest, FileDeletedWhileRunningComesBackWithTheCurrentValues)
{
    CreateDefaultSettingsFile(app.SettingsFilePath);
    LoadSettings(app);
    DeleteFileA(app.SettingsFilePath.c_str());
    app.Settings.LastIndex = "Android";
    app.Settings.DumpLeftOvers = "No";
    SaveSettings(app);
    std::vector<std::string> expected = DefaultSettingsLines();
    expected[5] = "Last Index = Android";
    expected[7] = "Dump LeftOvers = No";
    EXPECT_EQ(IniBytes(), JoinedLines(expected));
}

TEST_F(SaveSettingsTest, FileAnotherProgramReadsThroughTheSaveGetsTheNewValues)
{
    Settings stored;
    stored.LastIndex = "Android";
    WriteFileBytes(app.SettingsFilePath, SettingsFileText(stored));
    LoadSettings(app);
    app.Settings.LastIndex = "LiberKey";
    // Another program keeps the file open for reading through the save.
    HANDLE reader = CreateFileA(app.SettingsFilePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    SaveSettings(app);
    CloseHandle(reader);
    // The file cannot be renamed over, so it is written in place.
    stored.LastIndex = "LiberKey";
    EXPECT_EQ(IniBytes(), SettingsFileText(stored));
    EXPECT_EQ(ListCountRows(ListStatus), 0);
    EXPECT_EQ(FolderEntries(temp.path()), std::set<std::string>{"Quillet.Ini"});
}

TEST_F(SaveSettingsTest, Utf8CharactersBeyondLatin1SurviveAStartAndQuit)
{
    Settings stored;
    stored.LastIndex = "Android";
    stored.CopyOrMove = "Copy";
    stored.AndroidSourcePath = "C:\\Users\\\xC5\x81ukasz\\\xE2\x82\xAC\\";
    WriteFileBytes(app.SettingsFilePath, "\xEF\xBB\xBF\r\n" + SettingsFileText(stored));
    LoadSettings(app);
    EXPECT_EQ(app.Settings.AndroidSourcePath, "C:\\Users\\?ukasz\\?\\");
    app.Settings.CopyOrMove = "Move";
    SaveSettings(app);
    stored.CopyOrMove = "Move";
    EXPECT_EQ(IniBytes(), "\xEF\xBB\xBF\r\n" + SettingsFileText(stored));
}

TEST_F(SaveSettingsTest, ProgramOptionsAreKeptOnlyOnceClickedOrNamedByTheFile)
{
    CreateDefaultSettingsFile(app.SettingsFilePath);
    LoadSettings(app);
    ProgramOptionsLoad(app);
    EXPECT_FALSE(ProgramOptionOn(app, ProgramOption::OwnKindOnly));
    SaveSettings(app);
    ProgramOptionsSave(app);
    EXPECT_EQ(IniBytes(), JoinedLines(DefaultSettingsLines()));

    // A click is kept, and the next start reads it back.
    ProgramOptionClick(app, ProgramOption::OwnKindOnly, true);
    ProgramOptionsSave(app);
    std::vector<std::string> expected = DefaultSettingsLines();
    expected.insert(expected.begin() + 10, "Own Kind Only = Yes");  // a new key ends its group
    EXPECT_EQ(IniBytes(), JoinedLines(expected));
    AppState next;
    next.SettingsFilePath = app.SettingsFilePath;
    ProgramOptionsLoad(next);
    EXPECT_TRUE(ProgramOptionOn(next, ProgramOption::OwnKindOnly));
    EXPECT_FALSE(ProgramOptionOn(next, ProgramOption::WatchNewPackages));

    // A file held without sharing counts as No, without a line.
    HANDLE holder = CreateFileA(app.SettingsFilePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    AppState held;
    held.SettingsFilePath = app.SettingsFilePath;
    ProgramOptionsLoad(held);
    CloseHandle(holder);
    EXPECT_FALSE(ProgramOptionOn(held, ProgramOption::OwnKindOnly));
    EXPECT_EQ(ListCountRows(ListStatus), 0);
}
