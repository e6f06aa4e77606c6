#include "util/file_replacement.h"

namespace {

bool WriteWhole(HANDLE file, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        if (!WriteFile(file, text.data() + done, static_cast<DWORD>(text.size() - done), &written, nullptr)
            || written == 0)
            return false;
        done += written;
    }
    return true;
}

// The temporary file that stands in for the file until the rename.
std::string ReplacementPath(const std::string& path)
{
    return path + ".tmp";
}

}  // namespace

HANDLE ReplacementBegin(const std::string& path)
{
    // A temporary file left by a run that was killed is simply overwritten.
    return CreateFileA(ReplacementPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool ReplacementCommit(HANDLE replacement, const std::string& path, const std::string& text)
{
    std::string temporary = ReplacementPath(path);
    bool written = WriteWhole(replacement, text) && FlushFileBuffers(replacement);
    CloseHandle(replacement);
    if (written
        && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}
