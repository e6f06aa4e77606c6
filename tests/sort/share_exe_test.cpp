// A collection on a network share: the source and the target as
// \\quillet\share\..., which Wine reaches through a link in the prefix's
// dosdevices\unc folder. The real Quillet.exe loads the collection, previews,
// sorts by Copy and by Move, undoes, puts older versions aside and watches,
// all through the share's paths.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "settings/settings_test_support.h"
#include "support/folder_link.h"
#include "support/quillet_process.h"
#include "support/temp_folder.h"
#include "window/controls.h"

namespace {

// The Unix path of a Windows path, as Wine has it.
std::string UnixPathOf(const std::string& path)
{
    typedef char*(CDECL * UnixName)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    std::wstring wide(path.begin(), path.end());
    char* name = unixName ? unixName(wide.c_str()) : nullptr;
    std::string text = name ? name : "";
    if (name)
        HeapFree(GetProcessHeap(), 0, name);
    return text;
}

// \\quillet\share made to lead to the folder, for as long as it lives.
class Share {
public:
    explicit Share(const std::string& folder)
    {
        const char* prefix = std::getenv("WINEPREFIX");
        std::string unc = prefix ? "Z:" + std::string(prefix) + "\\dosdevices\\unc\\quillet" : "";
        std::replace(unc.begin(), unc.end(), '/', '\\');
        if (unc.empty() || UnixPathOf(folder).empty())
            return;
        MakeFolders(unc);
        link_.reset(new FolderLink(unc, "share", UnixPathOf(folder)));
    }
    bool made() const { return link_ && link_->made(); }

private:
    std::unique_ptr<FolderLink> link_;
};

int Titled(const QuilletProcess& quillet, const std::string& title)
{
    auto rows = quillet.Rows(ListStatus);
    return static_cast<int>(std::count_if(rows.begin(), rows.end(),
                                          [&](const std::vector<std::string>& row) { return row[0] == title; }));
}

}  // namespace

TEST(ShareExeTest, EveryRunWorksThroughAShareName)
{
    TempFolder work;
    Share share(work.path());
    if (!share.made())
        GTEST_SKIP() << "no share can be made here (WINEPREFIX unknown, or no link)";
    const std::string shared = "\\\\quillet\\share\\";
    for (const char* package : {"Format_Factory_2.90.lks", "Speccy_1.16.lks", "Speccy_1.15.lks"})
        WriteFileBytes(work / ("Downloads\\" + std::string(package)), package);
    Settings values;
    values.LastIndex = "LiberKey";
    values.CopyOrMove = "Copy";
    values.DumpLeftOvers = "No";
    values.LiberkeySourcePath = shared + "Downloads\\";
    values.LiberkeyTargetPath = shared + "Sorted\\";
    WriteFileBytes(work / "Quillet.Ini", SettingsFileText(values));
    {
        QuilletProcess quillet;
        ASSERT_TRUE(quillet.Start(work.path()));
        ASSERT_NE(quillet.WaitUntilReady(), nullptr);
        EXPECT_EQ(quillet.Rows(ListFiles).size(), 3u);
        ASSERT_TRUE(quillet.Command(CommandPreviewSort, "Sort preview"));
        size_t from = quillet.Rows(ListStatus).size();
        PostMessageA(quillet.Control(ButtonSort), BM_CLICK, 0, 0);
        ASSERT_TRUE(quillet.WaitForStatusLine("Sort finished", from));
        EXPECT_EQ(ReadFileBytes(work / "Sorted\\_Audio\\_Converter\\Format_Factory_2.90.lks"), "Format_Factory_2.90.lks");
        ASSERT_TRUE(quillet.Command(CommandUndoSort, "Finished fetching"));
        EXPECT_FALSE(FileExists(work / "Sorted\\_Audio\\_Converter\\Format_Factory_2.90.lks"));
        DWORD code = 99;
        ASSERT_TRUE(quillet.Quit(&code));
    }
    // A Move by the command line, then older versions put aside by it.
    std::string settings = ReadFileBytes(work / "Quillet.Ini");
    settings.replace(settings.find("Copy Or Move = Copy"), 19, "Copy Or Move = Move");
    WriteFileBytes(work / "Quillet.Ini", settings);
    for (const char* run : {"/sort", "/tidy"}) {
        QuilletProcess quillet;
        ASSERT_TRUE(quillet.Start(work.path(), run));
        DWORD code = 99;
        EXPECT_TRUE(quillet.WaitForExit(60000, &code));
        EXPECT_EQ(code, 0u) << run;
    }
    const std::string inventory = "Sorted\\_System utilities\\_Information\\_Inventory\\";
    EXPECT_TRUE(FileExists(work / (inventory + "Speccy_1.16.lks")));
    EXPECT_TRUE(FileExists(work / ("Sorted_Older versions\\_System utilities\\_Information\\_Inventory\\Speccy_1.15.lks"))
                || FileExists(work / ("Sorted\\_Older versions\\_System utilities\\_Information\\_Inventory\\Speccy_1.15.lks")));
    // The watch of the share: an arrival is sorted.
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path(), "/watch"));
    ASSERT_NE(quillet.WaitUntilReady(), nullptr);
    size_t from = quillet.Rows(ListStatus).size();
    WriteFileBytes(work / "Downloads\\Format_Factory_3.0.lks", "format 3");
    EXPECT_TRUE(quillet.WaitForStatusLine("Sort finished", from, 30000));
    EXPECT_EQ(ReadFileBytes(work / "Sorted\\_Audio\\_Converter\\Format_Factory_3.0.lks"), "format 3");
    EXPECT_EQ(Titled(quillet, "Watch stopped"), 0);
    DWORD code = 99;
    ASSERT_TRUE(quillet.Quit(&code));
}
