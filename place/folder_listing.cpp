#include "place/folder_listing.h"

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

// The folder's listing as the run knows it (null: not listed yet), found by
// the path as spelt, else letter case aside. A map's values stay where they
// are as it grows.
FolderListing* Known(FolderListings& listings, const std::string& folder)
{
    auto spelt = listings.spelt.find(folder);
    if (spelt != listings.spelt.end())
        return spelt->second;
    auto found = listings.folders.find(LowerAnsiText(folder));
    if (found == listings.folders.end())
        return nullptr;
    listings.spelt.emplace(folder, &found->second);
    return &found->second;
}

FolderListing& Make(FolderListings& listings, const std::string& folder, const ActFolder* held)
{
    if (FolderListing* known = Known(listings, folder))
        return *known;
    FolderListing& made = listings.folders.emplace(LowerAnsiText(folder), List(held)).first->second;
    listings.spelt.emplace(folder, &made);
    return made;
}

}  // namespace

const FolderListing& FolderListingOf(FolderListings& listings, const std::string& folder, const ActFolder* held)
{
    return Make(listings, folder, held);
}

const ListedFile* FolderListingFind(FolderListings& listings, const std::string& folder, const std::string& name)
{
    FolderListing* listed = Known(listings, folder);
    if (!listed)
        return nullptr;
    auto found = listed->find(LowerAnsiText(name));
    return found == listed->end() ? nullptr : &found->second;
}

void FolderListingNote(FolderListings& listings, const std::string& folder, const ListedFile& file)
{
    Make(listings, folder, nullptr)[LowerAnsiText(file.name)] = file;
}
