// Asking the user for a folder in the system's folder-browse dialog.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

// Why a chosen folder is not taken, for the user to be told.
enum class FolderRefusal {
    None,
    PathTooLong,      // 260 bytes or more as an ANSI path
    OutsideCodePage,  // a character the code page cannot represent
};

// Shows the modal folder-browse dialog with the prompt as its title and
// returns the chosen folder ending with "\", or empty text when the user
// cancels or closes the dialog, chooses something that is no file-system
// folder, or the shell cannot be loaded. No folder is preselected. A folder
// refused as FolderTextFromPath tells also gives empty text, with the reason
// in `refusal` when it is given.
std::string PickFolder(const std::string& prompt, FolderRefusal* refusal = nullptr);

// The shell's conversion of an item list into a wide path, bounded by the
// buffer size it is given (SHGetPathFromIDListEx).
using PathFromItemListFn = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE item, PWSTR path, DWORD pathSize, GPFIDL_FLAGS options);

// The folder text of a chosen item: its file-system path converted with the
// given shell function, as FolderTextFromPath makes it. Empty text when the
// item has no file-system path.
std::string FolderTextFromItemList(PCIDLIST_ABSOLUTE item, PathFromItemListFn pathFromItemList,
                                   FolderRefusal* refusal = nullptr);

// The folder text of a wide path: the path in the ANSI code page with "\"
// appended unless it already ends with one (a drive root keeps its single
// "\"). Empty text when the path is empty, does not fit a 260-byte path
// buffer, or holds a character that the code page cannot represent, since
// the program handles its folders as ANSI paths of at most that size; the
// last two set `refusal`, when it is given, to the reason.
std::string FolderTextFromPath(const wchar_t* path, FolderRefusal* refusal = nullptr);
