// The packages of the last fetch, in the order the fetch found them.
//
// A fetch appends up to a hundred thousand packages and a sort then removes
// the placed ones from the bottom up. The rows are kept as a gap buffer: a
// removal just below the last one removed moves nothing, so removing rows
// bottom-up costs one pass over the table however many rows go. Folders are
// kept once each, since a folder's packages are found one after another.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Package {
    uint32_t folder;       // position in the table's folders
    uint8_t imageSlot;     // icon of the package's kind, 0 for none
    uint32_t colour;       // row background with PackageColourSet, or 0 for the list's own
    uint64_t size;         // bytes, as the fetch found them (0 when not known)
    std::string name;      // file name as the file system reports it
};

// Marks a colour as set, so that black stays apart from "no colour".
constexpr uint32_t PackageColourSet = 0x01000000;

class PackageTable {
public:
    int Count() const { return static_cast<int>(rows_.size() - gapSize_); }
    const Package& At(int row) const { return rows_[Physical(row)]; }
    const std::string& FolderOf(int row) const { return folders_[At(row).folder]; }
    // The package's full path: its folder (ending with "\") and its name.
    std::string PathOf(int row) const { return FolderOf(row) + At(row).name; }

    // Inserts a package at the row (-1 or Count(): after the last row).
    void Insert(int row, const std::string& folder, const std::string& name, int imageSlot, uint64_t size = 0);
    void Remove(int row);
    void Clear();
    // colour is an RGB value; it is stored with PackageColourSet.
    void SetColour(int row, uint32_t colour);

    // Heap bytes held, for measuring.
    size_t HeapBytes() const;

private:
    size_t Physical(int row) const;
    void MoveGap(size_t to);
    uint32_t FolderId(const std::string& folder);

    std::vector<std::string> folders_;
    std::vector<Package> rows_;
    size_t gapBegin_ = 0;  // physical position of the first unused slot
    size_t gapSize_ = 0;
};
