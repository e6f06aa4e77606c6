// What stands in the category folders a run places into: each folder is
// listed once per run, through the handle the run holds on it, at its first
// placement, and the run notes what it places there afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

struct ActFolder;

struct ListedFile {
    std::string name;  // the long name, as the folder spells it
    uint64_t size = 0;
    uint64_t lastWriteTime = 0;
    uint32_t attributes = 0;
};

// Lower-cased file name to what stands there.
using FolderListing = std::unordered_map<std::string, ListedFile>;

// Lower-cased folder path (ending with "\") to its listing; and each path
// as a placement spells it to the same listing, which spares lowering the
// path at every look (a run looks up a folder several times a file).
struct FolderListings {
    std::unordered_map<std::string, FolderListing> folders;
    std::unordered_map<std::string, FolderListing*> spelt;
};

// The folder's listing, made at the first call of the run through the held
// folder. A folder not held (it could not be made) lists empty.
const FolderListing& FolderListingOf(FolderListings& listings, const std::string& folder, const ActFolder* held);

// What stands under that name in the folder, as far as the run knows; null
// when nothing does, or when the folder has not been listed.
const ListedFile* FolderListingFind(FolderListings& listings, const std::string& folder, const std::string& name);

// A file the run has put in the folder.
void FolderListingNote(FolderListings& listings, const std::string& folder, const ListedFile& file);
