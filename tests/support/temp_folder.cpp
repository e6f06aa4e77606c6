#include "support/temp_folder.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "util/ansi_text.h"

namespace {

std::atomic<int> g_counter{0};

}  // namespace

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, base);
    std::string root(base, length);
    if (!root.empty() && root.back() != '\\')
        root += '\\';
    for (;;) {
        char name[96];
        std::snprintf(name, sizeof(name), "quillet-test-%lu-%lu-%d", GetCurrentProcessId(), GetTickCount(),
                      g_counter++);
        std::string candidate = root + name;
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate + "\\";
            return;
        }
    }
}

TempFolder::~TempFolder()
{
    RemoveTree(path_);
}

void MakeFolders(const std::string& path)
{
    // By character: in a double-byte code page a second byte may be that of "\".
    for (size_t at = AnsiFindBackslash(path, 3); at != std::string::npos; at = AnsiFindBackslash(path, at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    size_t slash = AnsiFindLastBackslash(path);
    if (slash != std::string::npos)
        MakeFolders(path.substr(0, slash));
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void WriteZeroFile(const std::string& path, unsigned long long bytes)
{
    WriteFileBytes(path, std::string());
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(bytes);
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}

std::string ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    if (!bytes.empty())
        ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path)
{
    if (path.empty())
        return;
    std::string folder = WithTrailingBackslash(path);
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = folder + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(full);
            else if (!DeleteFileA(full.c_str()))
                RemoveDirectoryA(full.c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.substr(0, folder.size() - 1).c_str());
}

namespace {

void ListBelow(const std::string& root, const std::string& relative, std::vector<std::string>& listing)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((root + relative + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == ".." || name == TargetLockFileName)
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            listing.push_back(relative + name + "\\");
            ListBelow(root, relative + name + "\\", listing);
        } else {
            listing.push_back(relative + name + "=" + ReadFileBytes(root + relative + name));
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

}  // namespace

std::vector<std::string> DiskListing(const std::string& folder)
{
    std::vector<std::string> listing;
    ListBelow(folder, std::string(), listing);
    std::sort(listing.begin(), listing.end());
    return listing;
}
