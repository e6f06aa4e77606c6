#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "app/command_line.h"

namespace {

using Words = std::vector<std::wstring>;

CommandLine Read(const std::wstring& text)
{
    return CommandLineRead(CommandLineSplit(L"Quillet.exe " + text));
}

// The words the system's own CommandLineToArgvW gives.
Words SystemSplit(const std::wstring& whole)
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(whole.c_str(), &count);
    Words words(argv, argv + (argv ? count : 0));
    LocalFree(argv);
    return words;
}

// Command lines whose words Microsoft's documented rules for arguments give,
// with those words.
const struct {
    const wchar_t* whole;
    Words words;
} Documented[] = {
    // The table of examples of the rules, each after a program's name.
    {L"p \"a b c\" d e", {L"p", L"a b c", L"d", L"e"}},
    {L"p \"ab\\\"c\" \"\\\\\" d", {L"p", L"ab\"c", L"\\", L"d"}},
    {L"p a\\\\\\b d\"e f\"g h", {L"p", L"a\\\\\\b", L"de fg", L"h"}},
    {L"p a\\\\\\\"b c d", {L"p", L"a\\\"b", L"c", L"d"}},
    {L"p a\\\\\\\\\"b c\" d e", {L"p", L"a\\\\b c", L"d", L"e"}},
    // Backslashes before anything but a quote, a trailing one, a quote run
    // left open, an empty quoted word, a quote escaped inside a quoted run.
    {L"p a\\\\b c\\", {L"p", L"a\\\\b", L"c\\"}},
    {L"p \"C:\\My Downloads\\\\\" -x", {L"p", L"C:\\My Downloads\\", L"-x"}},
    {L"p \"a b", {L"p", L"a b"}},
    {L"p \"a\\\"", {L"p", L"a\""}},
    {L"p  \"\"\t\"\" x ", {L"p", L"", L"", L"x"}},
    {L"p \"/sort:\\\"Liber Key\\\"\"", {L"p", L"/sort:\"Liber Key\""}},
    // The program's name ends at its closing quote, or at the first blank,
    // and takes no backslash rule.
    {L"\"C:\\Quillet 2\\Quillet.exe\"/sort  -x", {L"C:\\Quillet 2\\Quillet.exe", L"/sort", L"-x"}},
    {L"C:\\Q\\\"uillet.exe /watch", {L"C:\\Q\\\"uillet.exe", L"/watch"}},
    {L"\"C:\\Q\\\"Quillet.exe\" /watch", {L"C:\\Q\\", L"Quillet.exe /watch"}},
    {L"\"Quillet.exe", {L"Quillet.exe"}},
    {L" /sort", {L"", L"/sort"}},
};

// Two double quotes inside a quoted run give one, by the rule the C runtime
// documents since 2008. The system's CommandLineToArgvW (Wine's at least)
// follows an older, undocumented rule in some of these, so they are not
// compared with it.
const struct {
    const wchar_t* whole;
    Words words;
} DoubledQuotes[] = {
    {L"p a\"b\"\" c d", {L"p", L"ab\" c d"}},
    {L"p \"a\"\"b\" c", {L"p", L"a\"b", L"c"}},
    {L"p \"\"\"\" x", {L"p", L"\"", L"x"}},
};

}  // namespace

TEST(CommandLine, WordsAreSplitByTheDocumentedRules)
{
    for (const auto& line : Documented)
        EXPECT_EQ(CommandLineSplit(line.whole), line.words) << line.whole;
    for (const auto& line : DoubledQuotes)
        EXPECT_EQ(CommandLineSplit(line.whole), line.words) << line.whole;
    EXPECT_EQ(CommandLineSplit(L""), (Words{L""}));
}

// The rules where the system documents them for CommandLineToArgvW: the
// split agrees with the system's own.
TEST(CommandLine, WordsAreSplitAsTheSystemSplitsThem)
{
    for (const auto& line : Documented)
        EXPECT_EQ(CommandLineSplit(line.whole), SystemSplit(line.whole)) << line.whole;
}

TEST(CommandLine, OptionsAndIndexNamesIgnoreLetterCaseAndTakeTheIndexesOwnSpelling)
{
    CommandLine line = Read(L"-SORT:portableAPPS");
    EXPECT_EQ(line.mode, RunMode::Sort);
    EXPECT_EQ(line.indexName, "PortableApps");
    EXPECT_TRUE(line.unknown.empty());
    EXPECT_TRUE(CommandLineRunsOnce(line));

    line = Read(L"/Preview");
    EXPECT_EQ(line.mode, RunMode::Preview);
    EXPECT_EQ(line.indexName, "");

    line = Read(L"/watch:android");
    EXPECT_EQ(line.mode, RunMode::Watch);
    EXPECT_EQ(line.indexName, "Android");
    EXPECT_FALSE(CommandLineRunsOnce(line));

    // The program's name is no option, whatever it is called.
    EXPECT_EQ(CommandLineRead(CommandLineSplit(L"/sort")).mode, RunMode::Interactive);
    EXPECT_EQ(CommandLineRead({}).mode, RunMode::Interactive);
}

TEST(CommandLine, AFolderDraggedOntoTheProgramStartsItAsToday)
{
    CommandLine line = Read(L"\"C:\\Users\\Me\\Downloads\\App_1.lks\" C:\\Other Android C:\\Down\u2013loads");
    EXPECT_EQ(line.mode, RunMode::Interactive);
    EXPECT_TRUE(line.unknown.empty());
}

TEST(CommandLine, UnknownOptionsIndexesAndASecondModeAreListedAsGiven)
{
    CommandLine line = Read(L"/fast /sort:Nowhere -watch /sort:");
    EXPECT_EQ(line.mode, RunMode::Sort);
    EXPECT_EQ(line.indexName, "");
    EXPECT_EQ(line.unknown, (std::vector<std::string>{"/fast", "/sort:Nowhere", "-watch", "/sort:"}));

    line = Read(L"/watch /preview:LiberKey");
    EXPECT_EQ(line.unknown, (std::vector<std::string>{"/preview:LiberKey"}));

    for (const std::string mistyped : {"/sort=PortableApps", "--sort:PortableApps", "/", "/watch:Andriod"})
        EXPECT_EQ(Read(std::wstring(mistyped.begin(), mistyped.end())).unknown, (std::vector<std::string>{mistyped}))
            << mistyped;
    EXPECT_EQ(Read(L"/s\u00F6rt").unknown, (std::vector<std::string>{"/s\xF6rt"}));

    // A blank for the colon, where an index's name follows.
    line = Read(L"/sort portableapps Elsewhere");
    EXPECT_EQ(line.indexName, "PortableApps");
    EXPECT_TRUE(line.unknown.empty());
    EXPECT_EQ(Read(L"/fast LiberKey").unknown, (std::vector<std::string>{"/fast"}));
}

// A dash or slash the keyboard did not type starts an option that is not
// understood. It is named in the ANSI code page (1252 here), where a
// character it lacks is "?", never the ASCII look-alike.
TEST(CommandLine, WordsStartingWithOtherDashesOrSlashesAreUnknownOptions)
{
    const struct {
        const wchar_t* given;
        const char* named;
    } words[] = {
        {L"\u2013sort", "\x96sort"},
        {L"\u2014sort:LiberKey", "\x97sort:LiberKey"},
        {L"\u2212sort", "?sort"},
        {L"\uFF0Fsort", "?sort"},
        {L"\uFF0Dsort", "?sort"},
        {L"\u2044watch", "?watch"},
        {L"\u2215tidy", "?tidy"},
        {L"\u00ADsort", "\xADsort"},
    };
    for (const auto& word : words) {
        CommandLine line = Read(word.given);
        EXPECT_EQ(line.mode, RunMode::Interactive) << word.named;
        EXPECT_EQ(line.unknown, (std::vector<std::string>{word.named}));
    }
    for (const wchar_t* dash : {L"\u2010", L"\u2011", L"\u2012", L"\u2015", L"\uFE58", L"\uFE63", L"\u2043", L"\u29F8",
                               L"\U00010EAD"})
        EXPECT_EQ(Read(std::wstring(dash) + L"preview").unknown.size(), 1u) << int(dash[0]);

    // Beside a good option they still end the run.
    CommandLine line = Read(L"/sort \u2013watch");
    EXPECT_EQ(line.mode, RunMode::Sort);
    EXPECT_EQ(line.unknown, (std::vector<std::string>{"\x96watch"}));
}

// Option words compare in UTF-16 with ASCII letter case aside, index names in
// the code page without look-alikes: no other character stands for a letter.
TEST(CommandLine, OnlyTheLettersThemselvesSpellAnOptionOrAnIndex)
{
    // U+017F (long s) upper-cases to "S"; U+FF2C U+FF49 are full-width "L" and "i".
    EXPECT_EQ(Read(L"/\u017Fort").unknown, (std::vector<std::string>{"/?ort"}));
    EXPECT_EQ(Read(L"/sort:\uFF2C\uFF49berKey").unknown, (std::vector<std::string>{"/sort:??berKey"}));
    CommandLine line = Read(L"/SoRt LIBERKEY");
    EXPECT_EQ(line.indexName, "LiberKey");
    EXPECT_TRUE(line.unknown.empty());
}
