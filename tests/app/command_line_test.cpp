#include <gtest/gtest.h>

#include "app/command_line.h"

namespace {

CommandLine Read(const std::string& text)
{
    return CommandLineRead(CommandLineSplit(text));
}

}  // namespace

TEST(CommandLine, QuotesKeepBlanksInsideOneArgumentAndBlanksPartThem)
{
    EXPECT_EQ(CommandLineSplit("  /sort   \"C:\\My Downloads\\x\"\t-watch \"\" "),
              (std::vector<std::string>{"/sort", "C:\\My Downloads\\x", "-watch", ""}));
    EXPECT_TRUE(CommandLineSplit("").empty());

    // The program's name ends at its closing quote, or else at a blank.
    EXPECT_EQ(CommandLineAfterProgramName("\"C:\\Quillet 2\\Quillet.exe\"/sort  -x"), "/sort  -x");
    EXPECT_EQ(CommandLineAfterProgramName("Quillet.exe  /watch"), "/watch");
    EXPECT_EQ(CommandLineAfterProgramName("\"Quillet.exe"), "");
}

TEST(CommandLine, OptionsAndIndexNamesIgnoreLetterCaseAndTakeTheIndexesOwnSpelling)
{
    CommandLine line = Read("-SORT:portableAPPS");
    EXPECT_EQ(line.mode, RunMode::Sort);
    EXPECT_EQ(line.indexName, "PortableApps");
    EXPECT_TRUE(line.unknown.empty());
    EXPECT_TRUE(CommandLineRunsOnce(line));

    line = Read("/Preview");
    EXPECT_EQ(line.mode, RunMode::Preview);
    EXPECT_EQ(line.indexName, "");

    line = Read("/watch:android");
    EXPECT_EQ(line.mode, RunMode::Watch);
    EXPECT_EQ(line.indexName, "Android");
    EXPECT_FALSE(CommandLineRunsOnce(line));
}

TEST(CommandLine, AFolderDraggedOntoTheProgramStartsItAsToday)
{
    CommandLine line = Read("\"C:\\Users\\Me\\Downloads\\App_1.lks\" C:\\Other Android");
    EXPECT_EQ(line.mode, RunMode::Interactive);
    EXPECT_TRUE(line.unknown.empty());
}

TEST(CommandLine, UnknownOptionsIndexesAndASecondModeAreListedAsGiven)
{
    CommandLine line = Read("/fast /sort:Nowhere -watch /sort:");
    EXPECT_EQ(line.mode, RunMode::Sort);
    EXPECT_EQ(line.indexName, "");
    EXPECT_EQ(line.unknown, (std::vector<std::string>{"/fast", "/sort:Nowhere", "-watch", "/sort:"}));

    line = Read("/watch /preview:LiberKey");
    EXPECT_EQ(line.unknown, (std::vector<std::string>{"/preview:LiberKey"}));

    for (const char* mistyped : {"/sort=PortableApps", "--sort:PortableApps", "/s\xF6rt", "/", "/watch:Andriod"})
        EXPECT_EQ(Read(mistyped).unknown, (std::vector<std::string>{mistyped})) << mistyped;

    // A blank for the colon, where an index's name follows.
    line = Read("/sort portableapps Elsewhere");
    EXPECT_EQ(line.indexName, "PortableApps");
    EXPECT_TRUE(line.unknown.empty());
    EXPECT_EQ(Read("/fast LiberKey").unknown, (std::vector<std::string>{"/fast"}));
}
