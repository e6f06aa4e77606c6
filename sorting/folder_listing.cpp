#include "sorting/folder_listing.h"

#include <windows.h>

#include "file_acts/act_folder.h"
#include "util/ansi_text.h"

namespace {

FolderListing List(const ActFolder* folder)
{
    FolderListing listing;
    if (!folder)
        return listing;
    ActFolderList(*folder, [&](const ActListed& entry) {
        if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY))
            listing[LowerAnsiText(entry.name)] = {entry.name, entry.size, entry.lastWriteTime, entry.attributes};
    });
    return listing;
}

}  // namespace

const FolderListing& FolderListingOf(FolderListings& listings, const std::string& folder, const ActFolder* held)
{
    std::string key = LowerAnsiText(folder);
    auto found = listings.folders.find(key);
    if (found == listings.folders.end())
        found = listings.folders.emplace(key, List(held)).first;
    return found->second;
}

const ListedFile* FolderListingFind(FolderListings& listings, const std::string& folder, const std::string& name)
{
    auto listed = listings.folders.find(LowerAnsiText(folder));
    if (listed == listings.folders.end())
        return nullptr;
    auto found = listed->second.find(LowerAnsiText(name));
    return found == listed->second.end() ? nullptr : &found->second;
}

void FolderListingNote(FolderListings& listings, const std::string& folder, const ListedFile& file)
{
    listings.folders[LowerAnsiText(folder)][LowerAnsiText(file.name)] = file;
}
