#include <gtest/gtest.h>
#include <windows.h>

#include "support/temp_folder.h"
#include "util/system_error.h"

namespace {

std::string SystemText(DWORD code)
{
    char* buffer = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0,
                                  reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string text(buffer ? buffer : "", length);
    LocalFree(buffer);
    return text;
}

}  // namespace

TEST(SystemErrorText, CodeZeroIsTheLastErrorOfAFailedMove)
{
    TempFolder temp;
    WriteFileBytes(temp / "a.lks", "a");
    WriteFileBytes(temp / "b.lks", "b");
    ASSERT_FALSE(MoveFileA((temp / "a.lks").c_str(), (temp / "b.lks").c_str()));
    std::string text = SystemErrorText(0);
    EXPECT_EQ(text, SystemText(ERROR_ALREADY_EXISTS));
    ASSERT_GE(text.size(), 3u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(SystemErrorText, KnownCodeGivesTheSystemsWordsWithTheirLineEnd)
{
    std::string text = SystemErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(text, SystemText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(SystemErrorText, TextWithInsertsComesWithItsPlaceholders)
{
    std::string text = SystemErrorText(ERROR_BAD_EXE_FORMAT);
    EXPECT_NE(text.find("%1"), std::string::npos) << text;
}

TEST(SystemErrorText, UnknownCodeGivesEmptyText)
{
    EXPECT_EQ(SystemErrorText(0x2FFFFFFF), "");
}

TEST(ErrorTextOrCode, SystemsWordsWithoutTheLineEndOrTheNumber)
{
    std::string text = SystemErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ErrorTextOrCode(ERROR_FILE_NOT_FOUND), text.substr(0, text.size() - 2));
    EXPECT_EQ(ErrorTextOrCode(0x2FFFFFFF), "error 805306367");
}
