#include "settings/pick_folder.h"

#include <vector>

#include "settings/dialog_modality.h"
#include "util/ansi_text.h"

namespace {

using BrowseForFolderFn = PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOA info);

// BIF_NEWDIALOGSTYLE with BIF_EDITBOX: the resizable dialog with a field for
// typing a folder, and any item of the shell namespace may be chosen.
constexpr UINT BrowseFlags = 0x50;

// The longest path the system can hand out, in wide characters; asking for
// the path into a buffer this large means it is never cut short.
constexpr DWORD WidePathCapacity = 32768;

bool g_comInitialised = false;

// The dialog needs COM on the thread; it stays initialised for the rest of
// the run.
void InitialiseComOnce()
{
    if (g_comInitialised)
        return;
    CoInitialize(nullptr);
    g_comInitialised = true;
}

template <typename Fn>
Fn ShellFunction(HMODULE shell, const char* name)
{
    // Through void(*)() so that the compiler accepts the change of signature.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(shell, name)));
}

// The foreground window when it is one of ours, so that the dialog opens
// over it; otherwise the dialog has no owner.
HWND DialogOwner()
{
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    if (foreground)
        GetWindowThreadProcessId(foreground, &process);
    return process == GetCurrentProcessId() ? foreground : nullptr;
}

std::string BrowseForFolder(const std::string& prompt, BrowseForFolderFn browse, PathFromItemListFn pathFromItemList,
                            FolderRefusal* refusal)
{
    BROWSEINFOA info = {};
    info.hwndOwner = DialogOwner();
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BrowseFlags;

    std::vector<DisabledWindow> disabled = DisableThreadWindows(info.hwndOwner);
    PIDLIST_ABSOLUTE chosen = browse(&info);
    RestoreThreadWindows(disabled);

    if (!chosen)
        return std::string();
    std::string folder = FolderTextFromItemList(chosen, pathFromItemList, refusal);
    CoTaskMemFree(chosen);
    return folder;
}

}  // namespace

std::string PickFolder(const std::string& prompt, FolderRefusal* refusal)
{
    if (refusal)
        *refusal = FolderRefusal::None;
    InitialiseComOnce();
    HMODULE shell = LoadLibraryA("SHELL32.DLL");
    if (!shell)
        return std::string();
    // The A form of the dialog takes the ANSI prompt. The path comes out as
    // a wide string of stated size, never into a buffer the shell assumes to
    // be large enough.
    auto browse = ShellFunction<BrowseForFolderFn>(shell, "SHBrowseForFolderA");
    auto pathFromItemList = ShellFunction<PathFromItemListFn>(shell, "SHGetPathFromIDListEx");
    std::string folder;
    if (browse && pathFromItemList)
        folder = BrowseForFolder(prompt, browse, pathFromItemList, refusal);
    FreeLibrary(shell);
    return folder;
}

std::string FolderTextFromItemList(PCIDLIST_ABSOLUTE item, PathFromItemListFn pathFromItemList,
                                   FolderRefusal* refusal)
{
    std::vector<wchar_t> path(WidePathCapacity, L'\0');
    if (!pathFromItemList(item, path.data(), WidePathCapacity, GPFIDL_DEFAULT))
        return std::string();
    path.back() = L'\0';
    return FolderTextFromPath(path.data(), refusal);
}

std::string FolderTextFromPath(const wchar_t* path, FolderRefusal* refusal)
{
    bool exact = false;
    std::string folder = AnsiTextFromWide(path, &exact);
    FolderRefusal reason = !exact                     ? FolderRefusal::OutsideCodePage
                           : folder.size() >= MAX_PATH ? FolderRefusal::PathTooLong
                                                       : FolderRefusal::None;
    if (refusal)
        *refusal = reason;
    if (folder.empty() || reason != FolderRefusal::None)
        return std::string();
    return WithTrailingBackslash(folder);
}
