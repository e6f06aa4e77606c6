// The shipped catalogues, checked against their own table of categories and
// row counts kept here.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"

namespace {

struct CategoryCount {
    const char* category;
    int rows;
};

const CategoryCount LiberKeyCategories[] = {
    {"_Audio\\_Converter", 2},
    {"_Audio\\_Editor", 4},
    {"_Audio\\_Ipod_Manager", 3},
    {"_Audio\\_Player", 4},
    {"_Audio\\_Radio", 3},
    {"_Audio\\_Ripper", 2},
    {"_Audio\\_Tagger", 2},
    {"_Audio\\_Text_To_Speech", 2},
    {"_Audio\\_Tools", 2},
    {"_Cd and dvd\\_Burning_Tools", 4},
    {"_Cd and dvd\\_Cover_Printer", 1},
    {"_Cd and dvd\\_Image_Tools", 4},
    {"_Education\\_Astronomy", 2},
    {"_Education\\_Geography", 1},
    {"_Education\\_Typing", 1},
    {"_Education\\_Drawing", 1},
    {"_Education\\_Children", 2},
    {"_Education\\_Music", 1},
    {"_File manager\\_Backup", 2},
    {"_File manager\\_Cataloguer", 1},
    {"_File manager\\_Comparison", 2},
    {"_File manager\\_Compression", 4},
    {"_File manager\\_Copy", 1},
    {"_File manager\\_Defragmenter", 3},
    {"_File manager\\_Directory_Lister", 1},
    {"_File manager\\_Disk_Space_Tool", 3},
    {"_File manager\\_Duplicate_Killer", 1},
    {"_File manager\\_Manager", 2},
    {"_File manager\\_Recovery", 4},
    {"_File manager\\_Renamer", 3},
    {"_File manager\\_Search", 2},
    {"_File manager\\_Splitter", 2},
    {"_File manager\\_Synchronization", 2},
    {"_File manager\\_Tools", 1},
    {"_File manager\\_Universal_Viewer", 1},
    {"_Game\\_Action", 2},
    {"_Game\\_FPS", 1},
    {"_Game\\_Card", 1},
    {"_Game\\_Puzzle", 5},
    {"_Game\\_Racing", 1},
    {"_Game\\_Reflexion", 5},
    {"_Game\\_Strategy", 1},
    {"_Graphics\\_3D", 2},
    {"_Graphics\\_Colour_Picker", 2},
    {"_Graphics\\_Editor", 5},
    {"_Graphics\\_Effect_And_Filter", 1},
    {"_Graphics\\_Icon_Editor", 2},
    {"_Graphics\\_Screen_Capture", 3},
    {"_Graphics\\_Tools", 3},
    {"_Graphics\\_Vector_Converter", 1},
    {"_Graphics\\_Viewer", 3},
    {"_Internet\\_Bookmark_Manager", 1},
    {"_Internet\\_Browser", 5},
    {"_Internet\\_Download", 3},
    {"_Internet\\_Email", 3},
    {"_Internet\\_Ftp", 1},
    {"_Internet\\_Instant_Messenger", 3},
    {"_Internet\\_Internet_Relay_Chat", 1},
    {"_Internet\\_Rss_Reader", 1},
    {"_Internet\\_Website_Authoring", 3},
    {"_Internet\\_Webste_Copier", 1},
    {"_Networking - server\\_Bandwidth_Monitor", 2},
    {"_Networking - server\\_Configuration", 3},
    {"_Networking - server\\_Network_Analyser", 2},
    {"_Networking - server\\_Remote_Control", 3},
    {"_Networking - server\\_Scanner", 2},
    {"_Networking - server\\_Server", 1},
    {"_Networking - server\\_Settings_Manager", 2},
    {"_Networking - server\\_Telnet-SSH client", 1},
    {"_Networking - server\\_Telnet_Ssh_Client", 3},
    {"_Networking - server\\_Tools", 6},
    {"_Office\\_Calculator", 3},
    {"_Office\\_Calendar", 3},
    {"_Office\\_Chrono", 1},
    {"_Office\\_Desktop_Tools\\_Application_Launcher", 2},
    {"_Office\\_Desktop_Tools\\_Automation", 2},
    {"_Office\\_Desktop_Tools\\_Clipboard_Manager", 2},
    {"_Office\\_Desktop_Tools\\_Clock", 2},
    {"_Office\\_Desktop_Tools\\_Customisation", 2},
    {"_Office\\_Desktop_Tools\\_Notes", 2},
    {"_Office\\_Desktop_Tools\\_Keyboard_And_Mouse", 1},
    {"_Office\\_Desktop_Tools\\_Save_Desktop_Icon", 2},
    {"_Office\\_Desktop_Tools\\_Virtual_Desktop", 1},
    {"_Office\\_Desktop_Tools\\_Zoom", 2},
    {"_Office\\_Diagram_Editor", 2},
    {"_Office\\_E-Book", 1},
    {"_Office\\_Finance_Manager", 2},
    {"_Office\\_Font_Manager", 3},
    {"_Office\\_Note_Manager", 1},
    {"_Office\\_Office_Suite", 4},
    {"_Office\\_Pdf", 4},
    {"_Office\\_Presentation", 1},
    {"_Office\\_Task_Manager", 1},
    {"_Office\\_Text_Editor", 4},
    {"_Office\\_Tutorial_Creator", 2},
    {"_Office\\_Unit_Converter", 2},
    {"_Office\\_Universal_Viewer", 2},
    {"_Platform", 2},
    {"_Removed", 3},
    {"_Security\\_AntiVirus_And_Spyware", 3},
    {"_Security\\_Encryption", 3},
    {"_Security\\_Integrity_Checker", 2},
    {"_Security\\_Password_Manager", 3},
    {"_Security\\_Privacy_Tool", 1},
    {"_Security\\_Secure_Deletion", 3},
    {"_Security\\_Tools", 1},
    {"_System utilities\\_Benchmark\\_HardDisk", 2},
    {"_System utilities\\_Benchmark\\_Universal", 1},
    {"_System utilities\\_Cleaner_Uninstaller", 13},
    {"_System utilities\\_Emulator", 1},
    {"_System utilities\\_Hex_Editor", 1},
    {"_System utilities\\_Information\\_File_Monitoring", 1},
    {"_System utilities\\_Information\\_Hardware_Monitoring", 1},
    {"_System utilities\\_Information\\_Inventory", 8},
    {"_System utilities\\_Information\\_Process", 4},
    {"_System utilities\\_Information\\_Processor", 3},
    {"_System utilities\\_Information\\_Service", 1},
    {"_System utilities\\_Information\\_Startup_Manager", 2},
    {"_System utilities\\_Information\\_Usb_Device", 1},
    {"_System utilities\\_Information\\_Video_Card", 2},
    {"_System utilities\\_Registry\\_Backup", 1},
    {"_System utilities\\_Registry\\_Comparison", 1},
    {"_System utilities\\_Registry\\_Compression", 2},
    {"_System utilities\\_Registry\\_Monitoring", 2},
    {"_System utilities\\_Registry\\_Repair", 2},
    {"_System utilities\\_Registry\\_Search", 1},
    {"_System utilities\\_Repair", 1},
    {"_System utilities\\_Tests\\_Burning_Test", 2},
    {"_System utilities\\_Tests\\_Hard_Disk", 2},
    {"_System utilities\\_Tests\\_Monitor", 2},
    {"_System utilities\\_Tests\\_Ram", 1},
    {"_System utilities\\_Tools", 16},
    {"_System utilities\\_Tweaker", 3},
    {"_System utilities\\_Update_Checker", 1},
    {"_Video\\_Authoring", 1},
    {"_Video\\_Capture", 3},
    {"_Video\\_Cataloguer", 2},
    {"_Video\\_Converter", 1},
    {"_Video\\_Editor", 2},
    {"_Video\\_Player", 4},
    {"_Video\\_Repair", 1},
    {"_Video\\_Tools", 7},
};
const CategoryCount PortableAppsCategories[] = {
    {"_Accessibility", 2},
    {"_Development", 13},
    {"_Education", 10},
    {"_Games", 49},
    {"_Graphics And Pictures", 14},
    {"_Internet", 37},
    {"_Music And Video", 17},
    {"_Office", 21},
    {"_Security", 6},
    {"_Utilities", 57},
};
const CategoryCount AndroidCategories[] = {
    {"AppMarket\\AppBrain", 2},
    {"AppMarket\\Tablified", 4},
    {"Books & Reference", 7},
    {"Comics", 1},
    {"Cooking", 6},
    {"Ebooks", 4},
    {"Educational", 2},
    {"Entertainment", 3},
    {"File Manager", 5},
    {"File Manager\\Themes", 2},
    {"Fun", 3},
    {"Games", 52},
    {"Games\\Cards", 3},
    {"Games\\Solvers", 4},
    {"Games\\Tools", 2},
    {"Gps", 8},
    {"Graphics", 8},
    {"Graphics\\Backgrounds", 7},
    {"Health & Fitness", 4},
    {"Internet", 11},
    {"Internet\\Radio", 1},
    {"Medical", 6},
    {"Mobile", 7},
    {"Mobile\\Handset Managers", 2},
    {"Mobile\\Data Control", 2},
    {"Mobile\\Usage Neters", 3},
    {"Music", 8},
    {"Music\\Ringtones", 7},
    {"Music\\Artists", 1},
    {"Navigation", 10},
    {"News & Magazines", 3},
    {"Office", 9},
    {"Office\\Suites", 4},
    {"Office\\Printer Tools", 3},
    {"Reference", 1},
    {"Remote Control", 4},
    {"Security", 3},
    {"Shopping", 13},
    {"Social", 1},
    {"System", 4},
    {"System\\Keyboard", 1},
    {"System\\Backup", 2},
    {"System\\Sync & Store", 3},
    {"Tools", 9},
    {"Travel", 2},
    {"Video", 3},
    {"Video\\Players", 4},
    {"Weather", 3},
    {"Widgets", 12},
    {"Wifi", 3},
};

std::vector<IndexEntry> CatalogueEntries(const char* indexName)
{
    std::vector<IndexEntry> entries;
    const char* row = CatalogueFirstRow(indexName);
    if (!row)
        return entries;
    for (; !CatalogueRowIsEnd(row); row = CatalogueNextRow(row))
        entries.push_back(SplitCatalogueRow(row));
    return entries;
}

// Consecutive rows of one category, as (category, count) in row order.
std::vector<std::pair<std::string, int>> CategoryRuns(const std::vector<IndexEntry>& entries)
{
    std::vector<std::pair<std::string, int>> runs;
    for (const IndexEntry& entry : entries) {
        if (runs.empty() || runs.back().first != entry.category)
            runs.emplace_back(entry.category, 0);
        ++runs.back().second;
    }
    return runs;
}

template <size_t N>
void ExpectCategories(const char* indexName, const CategoryCount (&expected)[N], size_t rows)
{
    std::vector<IndexEntry> entries = CatalogueEntries(indexName);
    EXPECT_EQ(entries.size(), rows) << indexName;
    std::vector<std::pair<std::string, int>> runs = CategoryRuns(entries);
    ASSERT_EQ(runs.size(), N) << indexName;
    for (size_t i = 0; i < N; ++i) {
        EXPECT_EQ(runs[i].first, expected[i].category) << indexName << " category " << i;
        EXPECT_EQ(runs[i].second, expected[i].rows) << indexName << " " << expected[i].category;
    }
}

int NamesEndingWithUnderscore(const std::vector<IndexEntry>& entries)
{
    int count = 0;
    for (const IndexEntry& entry : entries)
        count += !entry.name.empty() && entry.name.back() == '_';
    return count;
}

bool SegmentsStartWithUnderscore(const std::string& category)
{
    for (size_t start = 0; start <= category.size();) {
        if (start == category.size() || category[start] != '_')
            return false;
        size_t end = category.find('\\', start);
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

TEST(CatalogueRows, EveryCategoryHoldsItsRowsTogetherInOrder)
{
    ExpectCategories("LiberKey", LiberKeyCategories, 335);
    ExpectCategories("PortableApps", PortableAppsCategories, 226);
    ExpectCategories("Android", AndroidCategories, 272);
    EXPECT_EQ(std::size(LiberKeyCategories), 142u);
    EXPECT_EQ(std::size(PortableAppsCategories), 10u);
    EXPECT_EQ(std::size(AndroidCategories), 50u);
}

TEST(CatalogueRows, FirstAndLastEntries)
{
    struct Ends {
        const char* index;
        IndexEntry first, last;
    };
    const Ends ends[] = {
        {"LiberKey", {"_Audio\\_Converter", "Format_"}, {"_Video\\_Tools", "VideoCalc_"}},
        {"PortableApps", {"_Accessibility", "On-ScreenKeyboardPortable_"}, {"_Utilities", "ZintPortable_"}},
        {"Android", {"AppMarket\\AppBrain", "AppBrain App Market"}, {"Wifi", "WiFinder"}},
    };
    for (const Ends& e : ends) {
        std::vector<IndexEntry> entries = CatalogueEntries(e.index);
        ASSERT_FALSE(entries.empty()) << e.index;
        EXPECT_EQ(entries.front().category, e.first.category) << e.index;
        EXPECT_EQ(entries.front().name, e.first.name) << e.index;
        EXPECT_EQ(entries.back().category, e.last.category) << e.index;
        EXPECT_EQ(entries.back().name, e.last.name) << e.index;
    }
}

TEST(CatalogueRows, EveryRowHasExactlyOneBarAndANonEmptyName)
{
    for (const char* index : {"LiberKey", "PortableApps", "Android"}) {
        for (const char* row = CatalogueFirstRow(index); !CatalogueRowIsEnd(row); row = CatalogueNextRow(row)) {
            std::string text = row;
            EXPECT_EQ(std::count(text.begin(), text.end(), '|'), 1) << text;
            EXPECT_FALSE(SplitCatalogueRow(row).name.empty()) << text;
            EXPECT_EQ(text.find('\n'), std::string::npos) << text;
        }
    }
}

TEST(CatalogueRows, NamingConventionsOfEachCollection)
{
    std::vector<IndexEntry> liberkey = CatalogueEntries("LiberKey");
    std::vector<IndexEntry> portableApps = CatalogueEntries("PortableApps");
    std::vector<IndexEntry> android = CatalogueEntries("Android");
    EXPECT_EQ(NamesEndingWithUnderscore(liberkey), 335);
    EXPECT_EQ(NamesEndingWithUnderscore(portableApps), 226);
    EXPECT_EQ(NamesEndingWithUnderscore(android), 97);
    for (const IndexEntry& entry : liberkey) {
        EXPECT_TRUE(SegmentsStartWithUnderscore(entry.category)) << entry.category;
        EXPECT_EQ(entry.name.find(' '), std::string::npos) << entry.name;
    }
    for (const IndexEntry& entry : portableApps) {
        EXPECT_TRUE(SegmentsStartWithUnderscore(entry.category)) << entry.category;
        EXPECT_EQ(entry.category.find('\\'), std::string::npos) << entry.category;
    }
    for (const IndexEntry& entry : android)
        EXPECT_NE(entry.category[0], '_') << entry.category;
}

TEST(CatalogueRows, RowsNamedLikeWebDomainsKeepTheirPlaces)
{
    auto nameAfter = [](const char* index, const std::string& before) {
        std::vector<IndexEntry> entries = CatalogueEntries(index);
        for (size_t i = 0; i + 1 < entries.size(); ++i) {
            if (entries[i].name == before)
                return entries[i + 1];
        }
        return IndexEntry{};
    };
    IndexEntry imageEditor = nameAfter("LiberKey", "MyPaint_");
    EXPECT_EQ(imageEditor.category, "_Graphics\\_Editor");
    EXPECT_NE(imageEditor.name.find('.'), std::string::npos);
    EXPECT_EQ(nameAfter("LiberKey", imageEditor.name).name, "Photo_Filtre_");

    IndexEntry officeSuite = nameAfter("LiberKey", "LibreOffice_");
    EXPECT_EQ(officeSuite.category, "_Office\\_Office_Suite");
    EXPECT_NE(officeSuite.name.find('.'), std::string::npos);
    EXPECT_EQ(nameAfter("LiberKey", officeSuite.name).name, "Scribus_");

    IndexEntry taskList = nameAfter("Android", "Antipaper Notes_");
    EXPECT_EQ(taskList.category, "Office");
    EXPECT_NE(taskList.name.find('.'), std::string::npos);
    EXPECT_NE(taskList.name.back(), '_');
    EXPECT_EQ(nameAfter("Android", taskList.name).name, "Aus Map");

    IndexEntry installer = nameAfter("PortableApps", "NSISPortable_");
    IndexEntry launcher = nameAfter("PortableApps", installer.name);
    EXPECT_EQ(installer.category, "_Development");
    EXPECT_EQ(launcher.category, "_Development");
    EXPECT_EQ(nameAfter("PortableApps", launcher.name).name, "SQLiteDatabaseBrowserPortable_");
    IndexEntry compactor = nameAfter("PortableApps", "PeaZipPortable_");
    EXPECT_EQ(compactor.category, "_Utilities");
    EXPECT_EQ(nameAfter("PortableApps", compactor.name).name, "RegshotPortable_");
}
