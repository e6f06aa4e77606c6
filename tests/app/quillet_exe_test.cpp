// The real Quillet.exe, started as its own process the way a user starts it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/quillet_process.h"
#include "support/temp_folder.h"
#include "version.h"
#include "window/controls.h"

namespace {

// Reads one resource of the exe without running it.
std::string ResourceBytes(HMODULE module, LPCSTR type, int id)
{
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!info)
        return std::string();
    HGLOBAL data = LoadResource(module, info);
    return std::string(static_cast<const char*>(LockResource(data)), SizeofResource(module, info));
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

struct IconFormat {
    int width, height, bits;
};

IconFormat IconGroupFormat(HMODULE module, int id)
{
    std::string group = ResourceBytes(module, MAKEINTRESOURCEA(14), id);  // RT_GROUP_ICON
    if (group.size() < 6 + sizeof(IconGroupEntry))
        return {0, 0, 0};
    const auto* entry = reinterpret_cast<const IconGroupEntry*>(group.data() + 6);
    EXPECT_EQ(*reinterpret_cast<const WORD*>(group.data() + 4), 1) << "images in icon " << id;
    return {entry->width ? entry->width : 256, entry->height ? entry->height : 256, entry->bitCount};
}

}  // namespace

TEST(QuilletExe, CarriesItsIconsAndManifest)
{
    HMODULE exe = LoadLibraryExA(QuilletExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr) << QuilletExePath();

    struct Expected {
        int resource, size, bits;
    };
    const Expected icons[] = {
        {1, 16, 8},                                             // the application icon
        {101, 16, 32}, {102, 16, 8}, {103, 16, 8},              // tabs
        {104, 32, 32}, {105, 32, 32}, {106, 32, 8},             // buttons
        {108, 16, 32}, {109, 16, 32}, {110, 16, 32},            // packages
    };
    for (const Expected& icon : icons) {
        IconFormat format = IconGroupFormat(exe, icon.resource);
        EXPECT_EQ(format.width, icon.size) << icon.resource;
        EXPECT_EQ(format.height, icon.size) << icon.resource;
        EXPECT_EQ(format.bits, icon.bits) << icon.resource;
    }
    EXPECT_EQ(FindResourceA(exe, MAKEINTRESOURCEA(107), MAKEINTRESOURCEA(14)), nullptr);

    std::string manifest = ResourceBytes(exe, MAKEINTRESOURCEA(24), 1);
    EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    FreeLibrary(exe);
}

TEST(QuilletExe, CarriesItsVersion)
{
    std::string exe = QuilletExePath();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::string info(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, &info[0]));
    auto value = [&info](const char* name) {
        char* text = nullptr;
        UINT length = 0;
        std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
        if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || !text)
            return std::string();
        return std::string(text);
    };
    EXPECT_EQ(value("ProductName"), "Quillet");
    EXPECT_EQ(value("ProductVersion"), QUILLET_VERSION_TEXT);
    EXPECT_EQ(value("OriginalFilename"), "Quillet.exe");
    EXPECT_NE(value("FileDescription").find("portable application packages"), std::string::npos);
}

TEST(QuilletExe, CloseRequestEndsItWithExitCodeZero)
{
    TempFolder work;
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    HWND window = quillet.WaitUntilReady();
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 99;
    ASSERT_TRUE(quillet.WaitForExit(20000, &code));
    EXPECT_EQ(code, 0u);
}

TEST(QuilletExe, QuitButtonEndsItWithExitCodeZero)
{
    TempFolder work;
    QuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(work.path()));
    ASSERT_NE(quillet.WaitUntilReady(), nullptr);
    HWND quit = quillet.Control(ButtonQuit);
    ASSERT_NE(quit, nullptr);
    PostMessageA(quit, BM_CLICK, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(quillet.WaitForExit(20000, &code));
    EXPECT_EQ(code, 0u);
}
