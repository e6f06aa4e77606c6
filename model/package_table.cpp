#include "model/package_table.h"

#include <utility>

size_t PackageTable::Physical(int row) const
{
    size_t at = static_cast<size_t>(row);
    return at < gapBegin_ ? at : at + gapSize_;
}

// Moves the gap so that it starts before logical row `to`. Each row moved
// crosses the gap once; removals from the bottom up never move a row twice.
void PackageTable::MoveGap(size_t to)
{
    if (gapSize_ == 0) {
        gapBegin_ = to;
        return;
    }
    while (gapBegin_ > to) {
        --gapBegin_;
        rows_[gapBegin_ + gapSize_] = std::move(rows_[gapBegin_]);
    }
    while (gapBegin_ < to) {
        rows_[gapBegin_] = std::move(rows_[gapBegin_ + gapSize_]);
        ++gapBegin_;
    }
}

uint32_t PackageTable::FolderId(const std::string& folder)
{
    if (folders_.empty() || folders_.back() != folder)
        folders_.push_back(folder);
    return static_cast<uint32_t>(folders_.size() - 1);
}

void PackageTable::Insert(int row, const std::string& folder, const std::string& name, int imageSlot, uint64_t size)
{
    int count = Count();
    size_t at = row < 0 || row > count ? static_cast<size_t>(count) : static_cast<size_t>(row);
    // Close the gap at the end, where appends go, then insert.
    MoveGap(static_cast<size_t>(count));
    rows_.resize(rows_.size() - gapSize_);
    gapSize_ = 0;
    Package package{FolderId(folder), static_cast<uint8_t>(imageSlot), 0, size, name};
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), std::move(package));
}

void PackageTable::Remove(int row)
{
    if (row < 0 || row >= Count())
        return;
    MoveGap(static_cast<size_t>(row) + 1);
    --gapBegin_;
    ++gapSize_;
    rows_[gapBegin_].name = std::string();
}

void PackageTable::Clear()
{
    std::vector<Package>().swap(rows_);
    std::vector<std::string>().swap(folders_);
    gapBegin_ = 0;
    gapSize_ = 0;
}

void PackageTable::SetColour(int row, uint32_t colour)
{
    if (row >= 0 && row < Count())
        rows_[Physical(row)].colour = PackageColourSet | (colour & 0x00FFFFFF);
}

size_t PackageTable::HeapBytes() const
{
    size_t bytes = rows_.capacity() * sizeof(Package) + folders_.capacity() * sizeof(std::string);
    for (const Package& package : rows_)
        bytes += package.name.capacity() > 15 ? package.name.capacity() + 1 : 0;
    for (const std::string& folder : folders_)
        bytes += folder.capacity() > 15 ? folder.capacity() + 1 : 0;
    return bytes;
}
