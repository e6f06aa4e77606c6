// Folder links for tests of walks through linked folders. Under Wine a Unix
// symbolic link shows up as a folder (with the reparse-point attribute), and
// Wine's own link calls make nothing, so the links are made and removed by the
// Unix tools, which Wine starts like any program.
#pragma once

#include <string>

class FolderLink {
public:
    // Makes a link named name inside the folder, leading to target, a path
    // relative to that folder in Unix form ("..", "../Other").
    FolderLink(const std::string& folder, const std::string& name, const std::string& target);
    // Removes the link again, not what it leads to.
    ~FolderLink();
    FolderLink(const FolderLink&) = delete;
    FolderLink& operator=(const FolderLink&) = delete;

    // False when the link could not be made, as on a system without the Unix tools.
    bool made() const { return made_; }

private:
    std::string folder_;
    std::string name_;
    bool made_;
};

// Removes the file `name` of the folder by the Unix tool, which no Windows
// sharing stops (a file another handle holds goes too), and waits until it
// is gone. False when it could not be removed.
bool UnixRemoveFile(const std::string& folder, const std::string& name);

// Renames `from` to `to` (paths relative to the folder, "\\" between their
// names) inside the folder by the Unix tool, which no Windows
// sharing stops (a held folder is renamed too), and waits until it is done.
bool UnixRename(const std::string& folder, const std::string& from, const std::string& to);
