#include "sorting/held_folders.h"

#include <winternl.h>

#include "util/ansi_text.h"
#include "util/file_facts.h"
#include "util/final_path.h"
#include "util/folder_tree.h"

namespace {

// Enough to list the folder and to open and create names in it. Reading and
// writing are shared, so that files come and go in a held folder as ever
// (a rename into it opens it for writing); deleting is not, so that the
// folder can be neither renamed nor removed while it is held.
const DWORD HeldAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
const DWORD HeldSharing = FILE_SHARE_READ | FILE_SHARE_WRITE;

// Takes the opened folder's final path; the error when there is none.
void Resolve(HeldFolder& folder)
{
    if (folder.handle.Valid() && !FinalPathOfHandle(folder.handle.Get(), &folder.finalPath))
        folder.error = GetLastError() ? GetLastError() : ERROR_PATH_NOT_FOUND;
}

// Opens the folder by its path: the folders the user chose, and package
// folders, which the fetch found below the source.
HeldFolder& OpenByPath(HeldFolders& folders, const std::string& path)
{
    std::unique_ptr<HeldFolder>& slot = folders.held[path];
    if (slot)
        return *slot;
    slot.reset(new HeldFolder);
    slot->handle.Reset(CreateFileA(path.c_str(), HeldAccess, HeldSharing, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    // A folder that is not there is a path not found, as a file operation
    // into it would say.
    if (!slot->handle.Valid())
        slot->error = GetLastError() == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : GetLastError();
    Resolve(*slot);
    return *slot;
}

// 0 when the folder is held and lies below the root; else the code to fail
// with. Both stay held for the run, so the answer is taken once per root.
unsigned long Verdict(HeldFolder& folder, const HeldFolder& root)
{
    if (root.error)
        return root.error;
    if (folder.error)
        return folder.error;
    if (folder.judgedAgainst != &root) {
        folder.verdict = PathLiesBelow(root.finalPath, folder.finalPath) ? 0 : FolderLeadsOut;
        folder.judgedAgainst = &root;
    }
    return folder.verdict;
}

// Opens, or with make creates, the one level named inside the held parent,
// relative to the parent's handle: whatever happens to paths meanwhile, the
// name is looked up in that very folder. A name the Win32 paths would read
// otherwise (".", "..", trailing dots or blanks) is refused: the file
// operations that follow go by path.
void OpenLevel(HeldFolder& level, HANDLE parent, const std::string& name, bool make, bool* created)
{
    wchar_t wide[MAX_PATH];
    int length = MultiByteToWideChar(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), wide, MAX_PATH);
    if (length <= 0 || name == "." || name == ".." || name.back() == '.' || name.back() == ' ') {
        level.error = length <= 0 ? ERROR_INVALID_NAME : FolderLeadsOut;
        return;
    }
    UNICODE_STRING text = {static_cast<USHORT>(length * sizeof(wchar_t)), static_cast<USHORT>(length * sizeof(wchar_t)),
                           wide};
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, parent, nullptr);
    IO_STATUS_BLOCK status = {};
    HANDLE handle = nullptr;
    NTSTATUS result = NtCreateFile(&handle, HeldAccess, &attributes, &status, nullptr, FILE_ATTRIBUTE_NORMAL,
                                   HeldSharing, make ? FILE_OPEN_IF : FILE_OPEN,
                                   FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_FOR_BACKUP_INTENT,
                                   nullptr, 0);
    // A level that cannot be opened or made (a read-only volume, a file in
    // its place) leaves no folder to place into: the placement fails as a
    // copy or move into a missing folder fails.
    if (!NT_SUCCESS(result)) {
        level.error = ERROR_PATH_NOT_FOUND;
        return;
    }
    level.handle.Reset(handle);
    *created = status.Information == FILE_CREATED;
    Resolve(level);
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
    if (folder.compare(0, folders.targetRoot.size(), folders.targetRoot) != 0 || root.error)
        return Verdict(OpenByPath(folders, folder), root);
    // Level by level down from the target's folder, each below the one held
    // before it; a level that leads out ends the walk.
    const HeldFolder* parent = &root;
    std::string path = folders.targetRoot;
    for (size_t start = path.size(); start < folder.size();) {
        size_t end = AnsiFindBackslash(folder, start);
        if (end == std::string::npos)
            end = folder.size();
        path = folder.substr(0, end + 1);
        std::unique_ptr<HeldFolder>& slot = folders.held[path];
        if (!slot) {
            bool created = false;
            slot.reset(new HeldFolder);
            OpenLevel(*slot, parent->handle.Get(), folder.substr(start, end - start), made != nullptr, &created);
            if (created)
                made->push_back(path);
        }
        if (unsigned long refusal = Verdict(*slot, root))
            return refusal;
        parent = slot.get();
        start = end + 1;
    }
    return 0;
}

HANDLE HeldFolderHandle(const HeldFolders& folders, const std::string& folder)
{
    auto known = folders.held.find(folder);
    return known == folders.held.end() || known->second->error ? nullptr : known->second->handle.Get();
}

bool HeldFoldersForeseeOutside(const HeldFolders& folders, const std::string& folder, bool fromSource)
{
    const std::string& rootPath = fromSource ? folders.sourceRoot : folders.targetRoot;
    auto root = folders.held.find(rootPath);
    if (root == folders.held.end() || root->second->error)
        return false;
    std::string level = folder;
    while (level.size() > rootPath.size() && !PathExists(level)) {
        size_t parent = AnsiFindLastBackslash(level, level.size() - 1);
        if (parent == std::string::npos)
            return false;
        level.resize(parent + 1);
    }
    std::string finalPath;
    if (level.size() <= rootPath.size())
        return false;
    return !FinalPathOfFolder(level, &finalPath) || !PathLiesBelow(root->second->finalPath, finalPath);
}
