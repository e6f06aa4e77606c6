// A fresh folder per test, removed with everything in it afterwards, and small
// file helpers for arranging and checking what lies on disk.
#pragma once

#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's full path, ending with "\".
    const std::string& path() const { return path_; }
    // path() + relative.
    std::string operator/(const std::string& relative) const { return path_ + relative; }

private:
    std::string path_;
};

// Writes the bytes into the file, creating its folders first.
void WriteFileBytes(const std::string& path, const std::string& bytes);
// Makes a file of that many zero bytes by setting its end, creating its
// folders first. Under Wine on Linux the file takes no room (it is sparse),
// yet a copy of it reads and writes every byte.
void WriteZeroFile(const std::string& path, unsigned long long bytes);
// The file's whole content, or empty text when it cannot be read.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
void MakeFolders(const std::string& path);
void RemoveTree(const std::string& path);
// The lock file a run keeps in its target's folder: listings of what a run
// placed pass over it.
constexpr char TargetLockFileName[] = "~Quillet.lock";

// Everything below the folder (ending with "\"), sorted: each folder as its
// path relative to it ending with "\", each file as its path, "=" and its bytes
// (the target's lock file left out).
std::vector<std::string> DiskListing(const std::string& folder);
