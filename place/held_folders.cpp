#include "place/held_folders.h"

#include <windows.h>

#include <list>

#include "file_acts/act_names.h"
#include "file_acts/folder_tree.h"
#include "file_acts/nt_calls.h"
#include "model/sort_plan.h"
#include "util/ansi_text.h"
#include "util/file_facts.h"
#include "util/scoped_handle.h"

namespace {

// Opens the folder by its path: the folders the user chose, and package
// folders, which the fetch found below the source.
HeldFolder& OpenByPath(HeldFolders& folders, const std::string& path)
{
    std::unique_ptr<HeldFolder>& slot = folders.held[path];
    if (!slot) {
        slot.reset(new HeldFolder);
        ActFolderOpen(slot->folder, path);
    }
    return *slot;
}

// 0 when the folder is held and lies below the root; else the code to fail
// with. Both stay held for the run, so the answer is taken once per root.
unsigned long Verdict(HeldFolder& folder, const HeldFolder& root)
{
    if (root.folder.error)
        return root.folder.error;
    if (folder.folder.error)
        return folder.folder.error;
    if (folder.judgedAgainst != &root) {
        folder.verdict = ActFolderWithin(root.folder, folder.folder) ? 0 : FolderLeadsOut;
        folder.judgedAgainst = &root;
    }
    return folder.verdict;
}

// The level of `folder` that ends at `end`, held inside its held parent.
HeldFolder& HeldLevel(HeldFolders& folders, const HeldFolder& parent, const std::string& folder, size_t start,
                      size_t end, std::vector<std::string>* made)
{
    std::string path = folder.substr(0, end + 1);
    std::unique_ptr<HeldFolder>& slot = folders.held[path];
    if (!slot) {
        bool created = false;
        slot.reset(new HeldFolder);
        ActFolderOpenIn(slot->folder, parent.folder, folder.substr(start, end - start), made != nullptr, &created);
        // A level that cannot be opened or made (a read-only volume, a file
        // in its place) leaves no folder to place into: what follows fails as
        // a copy or move into a missing folder fails.
        if (slot->folder.error && slot->folder.error != FolderLeadsOut)
            slot->folder.error = ERROR_PATH_NOT_FOUND;
        if (created)
            made->push_back(path);
    }
    return *slot;
}

}  // namespace

void HeldFoldersBegin(HeldFolders& folders, const std::string& source, const std::string& target, bool makeTarget)
{
    folders.sourceRoot = WithTrailingBackslash(source);
    size_t slash = AnsiFindLastBackslash(target);
    folders.targetRoot = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    OpenByPath(folders, folders.sourceRoot);
    // The target is the user's choice: made as the index load makes it.
    if (makeTarget && !folders.targetRoot.empty() && !PathExists(folders.targetRoot))
        CreateFolderTree(folders.targetRoot);
    OpenByPath(folders, folders.targetRoot);
}

unsigned long HeldFoldersSource(HeldFolders& folders, const std::string& folder)
{
    return Verdict(OpenByPath(folders, folder), OpenByPath(folders, folders.sourceRoot));
}

unsigned long HeldFoldersTarget(HeldFolders& folders, const std::string& folder, std::vector<std::string>* made)
{
    const HeldFolder& root = OpenByPath(folders, folders.targetRoot);
    auto known = folders.held.find(folder);
    if (known != folders.held.end())
        return Verdict(*known->second, root);
    if (folder.compare(0, folders.targetRoot.size(), folders.targetRoot) != 0 || root.folder.error)
        return Verdict(OpenByPath(folders, folder), root);
    // Level by level down from the target's folder, each below the one held
    // before it; a level that leads out ends the walk.
    const HeldFolder* parent = &root;
    for (size_t start = folders.targetRoot.size(); start < folder.size();) {
        size_t end = AnsiFindBackslash(folder, start);
        if (end == std::string::npos)
            end = folder.size();
        HeldFolder& level = HeldLevel(folders, *parent, folder, start, end, made);
        if (unsigned long refusal = Verdict(level, root))
            return refusal;
        parent = &level;
        start = end + 1;
    }
    return 0;
}

const ActFolder* HeldFolderOf(const HeldFolders& folders, const std::string& folder)
{
    auto known = folders.held.find(folder);
    return known == folders.held.end() || known->second->folder.error ? nullptr : &known->second->folder;
}

namespace {

// Removes the made folder (ending with "\") inside its parent, walked down
// to level by level from the target's folder, each level held for the walk.
void RemoveMadeFolder(const ActFolder& root, const std::string& rootPath, const std::string& folder)
{
    std::list<ActFolder> levels;
    const ActFolder* parent = &root;
    std::string last;
    for (size_t start = rootPath.size(); start < folder.size();) {
        size_t end = AnsiFindBackslash(folder, start);
        if (end == std::string::npos)
            end = folder.size();
        std::string name = folder.substr(start, end - start);
        start = end + 1;
        if (start >= folder.size()) {
            last = name;
            break;
        }
        levels.emplace_back();
        ActFolderOpenIn(levels.back(), *parent, name, false);
        if (!ActFolderIsLevel(levels.back(), *parent, name))
            return;
        parent = &levels.back();
    }
    if (!last.empty())
        ActFolderRemoveIn(*parent, last);
}

}  // namespace

void HeldFoldersRemoveMade(HeldFolders& folders, const std::vector<std::string>& made)
{
    std::unique_ptr<HeldFolder> root = std::move(folders.held[folders.targetRoot]);
    folders.held.clear();
    if (!root || root->folder.error)
        return;
    for (auto folder = made.rbegin(); folder != made.rend(); ++folder) {
        if (folder->size() > folders.targetRoot.size()
            && folder->compare(0, folders.targetRoot.size(), folders.targetRoot) == 0)
            RemoveMadeFolder(root->folder, folders.targetRoot, *folder);
    }
    folders.held[folders.targetRoot] = std::move(root);
}

unsigned long SortPlanHoldFolders(HeldFolders& held, SortPlan& plan, Placement& placement,
                                  const PlannedPackage& package)
{
    std::vector<std::string> made;
    unsigned long refusal = HeldFoldersSource(held, package.folder);
    if (!refusal)
        refusal = HeldFoldersTarget(held, placement.folder, &made);
    if (made.empty())
        return refusal;
    placement.firstCreatedFolder = static_cast<uint32_t>(plan.createdFolders.size());
    placement.createdFolderCount = static_cast<uint32_t>(made.size());
    plan.createdFolders.insert(plan.createdFolders.end(), made.begin(), made.end());
    return refusal;
}
