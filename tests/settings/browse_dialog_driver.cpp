#include "settings/browse_dialog_driver.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

#include "support/quillet_process.h"

namespace {

BrowseDialogDriver* g_driver = nullptr;

BOOL CALLBACK CollectText(HWND child, LPARAM param)
{
    if (!IsWindowVisible(child))
        return TRUE;
    char text[512] = {};
    GetWindowTextA(child, text, sizeof(text));
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(text);
    return TRUE;
}

struct ChildSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK FindChildOfClass(HWND child, LPARAM param)
{
    auto* search = reinterpret_cast<ChildSearch*>(param);
    char className[32] = {};
    GetClassNameA(child, className, sizeof(className));
    if (lstrcmpiA(className, search->className) == 0 && IsWindowVisible(child)) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleChild(HWND dialog, const char* className)
{
    ChildSearch search = {className, nullptr};
    EnumChildWindows(dialog, FindChildOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Whether the dialog's tree has its root or nothing selected.
bool SelectionIsRoot(HWND dialog)
{
    HWND tree = VisibleChild(dialog, WC_TREEVIEWA);
    if (!tree)
        return false;
    LRESULT root = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    LRESULT selected = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    return selected == 0 || selected == root;
}

void PressOk(HWND dialog)
{
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

// Whether the item could be selected; it is freed.
bool SelectItemAndPressOk(HWND dialog, PIDLIST_ABSOLUTE item)
{
    SendMessageA(dialog, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(item));
    CoTaskMemFree(item);
    if (SelectionIsRoot(dialog))
        return false;
    PressOk(dialog);
    return true;
}

}  // namespace

HWND FindBrowseDialog(DWORD processId)
{
    // The system's dialog class.
    return FindVisibleWindowOf(processId, "#32770");
}

std::vector<std::string> VisibleControlTexts(HWND dialog)
{
    std::vector<std::string> texts;
    EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

BrowseDialogDriver::BrowseDialogDriver(Action action, std::string folder)
    : action_(action), folder_(std::move(folder))
{
    g_driver = this;
    timer_ = SetTimer(nullptr, 0, 20, OnTimer);
}

BrowseDialogDriver::~BrowseDialogDriver()
{
    KillTimer(nullptr, timer_);
    g_driver = nullptr;
}

void BrowseDialogDriver::Then(Action action, std::string folder)
{
    action_ = action;
    folder_ = std::move(folder);
}

void CALLBACK BrowseDialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindBrowseDialog(GetCurrentProcessId());
    if (g_driver && dialog)
        g_driver->Drive(dialog);
}

void BrowseDialogDriver::Drive(HWND dialog)
{
    if (dialog != lastDialog_) {
        lastDialog_ = dialog;
        ticksOpen_ = 0;
        acted_ = false;
        Observe(dialog);
    }
    // About a second: the dialog ignored the action, so the test fails
    // instead of waiting for ever.
    if (++ticksOpen_ == 50) {
        ADD_FAILURE() << "the folder-browse dialog stayed open after the test's action";
        SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    }
    if (!acted_)
        acted_ = Act(dialog);
}

void BrowseDialogDriver::Observe(HWND dialog)
{
    ++dialogsSeen;
    texts = VisibleControlTexts(dialog);
    owner = GetWindow(dialog, GW_OWNER);
    hadEditBox = VisibleChild(dialog, "Edit") != nullptr;
    startedAtRoot = SelectionIsRoot(dialog);
    if (whileOpen)
        whileOpen(dialog);
}

bool BrowseDialogDriver::Act(HWND dialog)
{
    switch (action_) {
    case ChooseFolder:
        // Windows takes a typed path from the edit box; Wine takes the tree's
        // selection. Doing both chooses the folder on either.
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder_.c_str()));
        // Wine's tree now and then does not follow the selection (about one
        // try in forty here); a later try does.
        if (SelectionIsRoot(dialog))
            return false;
        if (HWND edit = VisibleChild(dialog, "Edit"))
            SetWindowTextA(edit, folder_.c_str());
        PressOk(dialog);
        return true;
    case ChooseComputer: {
        PIDLIST_ABSOLUTE computer = nullptr;
        SHGetFolderLocation(nullptr, CSIDL_DRIVES, nullptr, 0, &computer);
        return SelectItemAndPressOk(dialog, computer);
    }
    case ChooseWideFolder:
        return SelectItemAndPressOk(dialog, ILCreateFromPathW(wideFolder.c_str()));
    case PressCancel:
        SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        return true;
    case CloseDialog:
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }
    return true;
}
