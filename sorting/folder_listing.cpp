#include "sorting/folder_listing.h"

#include <windows.h>

#include <cctype>

#include "util/ansi_text.h"
#include "util/file_identity.h"
#include "util/scoped_handle.h"
#include "window/status_list.h"

namespace {

uint64_t Join(DWORD high, DWORD low)
{
    return (static_cast<uint64_t>(high) << 32) | low;
}

// "qlt" and one to four hex digits, then ".tmp": the names GetTempFileNameA
// gave the copies over a file, in any letter case.
bool IsOldOwnTemporary(const std::string& lower)
{
    if (lower.size() < 8 || lower.size() > 11 || lower.compare(0, 3, "qlt") != 0
        || lower.compare(lower.size() - 4, 4, ".tmp") != 0)
        return false;
    for (size_t at = 3; at < lower.size() - 4; ++at) {
        if (!isxdigit(static_cast<unsigned char>(lower[at])))
            return false;
    }
    return true;
}

// Deleted as a file of Quillet's own (read-only cleared), unless another
// program holds it (a run still writing it) or it has other names.
bool RemoveOldTemporary(const std::string& path)
{
    ScopedHandle file(FileOpenOwn(path));
    FileIdentity identity;
    if (!file.Valid() || !FileIdentityOfHandle(file.Get(), &identity) || identity.links > 1
        || (identity.attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !FileDeleteThroughHandle(file.Get(), true))
        return false;
    file.Reset();
    ReportActivity(Activity::PieceRemoved, path);
    return true;
}

FolderListing List(const std::string& folder)
{
    FolderListing listing;
    WIN32_FIND_DATAA entry;
    ScopedFind find(FindFirstFileA((folder + "*").c_str(), &entry));
    for (bool more = find.Valid(); more; more = FindNextFileA(find.Get(), &entry) != 0) {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        std::string lower = LowerAnsiText(entry.cFileName);
        if (IsOldOwnTemporary(lower) && RemoveOldTemporary(folder + entry.cFileName))
            continue;
        listing[lower] = {entry.cFileName, Join(entry.nFileSizeHigh, entry.nFileSizeLow),
                          Join(entry.ftLastWriteTime.dwHighDateTime, entry.ftLastWriteTime.dwLowDateTime),
                          entry.dwFileAttributes};
    }
    return listing;
}

}  // namespace

const FolderListing& FolderListingOf(FolderListings& listings, const std::string& folder)
{
    std::string key = LowerAnsiText(folder);
    auto found = listings.folders.find(key);
    if (found == listings.folders.end())
        found = listings.folders.emplace(key, List(folder)).first;
    return found->second;
}

const ListedFile* FolderListingFind(FolderListings& listings, const std::string& folder, const std::string& name)
{
    const FolderListing& listing = FolderListingOf(listings, folder);
    auto found = listing.find(LowerAnsiText(name));
    return found == listing.end() ? nullptr : &found->second;
}

void FolderListingNote(FolderListings& listings, const std::string& folder, const ListedFile& file)
{
    FolderListingOf(listings, folder);
    listings.folders[LowerAnsiText(folder)][LowerAnsiText(file.name)] = file;
}
