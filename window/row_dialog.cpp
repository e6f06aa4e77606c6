#include "window/row_dialog.h"

#include <windows.h>

#include "window/controls.h"
#include "window/main_window.h"

namespace {

const wchar_t Caption[] = L"Add a row for this package";
constexpr int ClientWidth = 470;
constexpr int ClientHeight = 226;
constexpr int Margin = 12;
constexpr int FieldX = 140;

struct DialogState {
    const std::string* packageName;
    const std::string* label;
    const std::string* fragment;
    const std::vector<std::string>* categories;
    const RowDialogAccept* accept;
    HBRUSH grey;
};

struct ChildLayout {
    int id;
    const char* className;
    DWORD style;
    DWORD exStyle;
    int x, y, w, h;
    const char* text;
};

// In focus order. The category's height is that of its opened list.
const ChildLayout Children[] = {
    {-1, "STATIC", SS_NOPREFIX | SS_LEFTNOWORDWRAP, 0, Margin, 12, 446, 20, ""},
    {-1, "STATIC", SS_NOPREFIX, 0, Margin, 45, 125, 20, "Fragment:"},
    {DialogRowFragment, "EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, FieldX, 42, 318, 24, ""},
    {-1, "STATIC", SS_NOPREFIX, 0, Margin, 79, 125, 20, "Category folder:"},
    {DialogRowCategory, "COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, FieldX, 76, 318,
     300, ""},
    {-1, "STATIC", SS_NOPREFIX, 0, Margin, 110, 446, 40,
     "A fragment that begins with ^ must start the file name. The category - switches off the rows of the "
     "fragment."},
    {DialogRowReason, "STATIC", SS_NOPREFIX, 0, Margin, 152, 446, 36, ""},
    {IDOK, "BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, 268, 190, 90, 26, "OK"},
    {IDCANCEL, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, 368, 190, 90, 26, "Cancel"},
};

// A dialog template without controls: they are made in pixels when the
// dialog starts, like the main window's.
std::vector<DWORD> EmptyTemplate()
{
    std::vector<DWORD> words(32, 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
    header->style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    header->cx = 200;
    header->cy = 100;
    // After the header: no menu, the standard class, then the caption.
    auto* after = reinterpret_cast<WORD*>(header + 1);
    after[0] = 0;
    after[1] = 0;
    for (size_t i = 0; i < sizeof(Caption) / sizeof(Caption[0]); ++i)
        after[2 + i] = static_cast<WORD>(Caption[i]);
    return words;
}

void CreateChildren(HWND dialog, const DialogState& state)
{
    HFONT font = MainWindowFont();
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    std::string packageLine = RowDialogPackageLine(*state.packageName, *state.label);
    for (const ChildLayout& child : Children) {
        // The first line names the package.
        const char* text = &child == &Children[0] ? packageLine.c_str() : child.text;
        HWND hwnd = CreateWindowExA(child.exStyle, child.className, text, WS_CHILD | WS_VISIBLE | child.style,
                                    child.x, child.y, child.w, child.h, dialog,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)), instance, nullptr);
        if (hwnd && font)
            SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    SetDlgItemTextA(dialog, DialogRowFragment, state.fragment->c_str());
    HWND combo = GetDlgItem(dialog, DialogRowCategory);
    for (const std::string& category : *state.categories)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(category.c_str()));
}

// The dialog's client area made the wanted size and centred on its owner.
void PlaceDialog(HWND dialog)
{
    RECT outer = {0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&outer, GetWindowLongA(dialog, GWL_STYLE), FALSE, GetWindowLongA(dialog, GWL_EXSTYLE));
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    RECT owner;
    HWND main = MainWindowHandle();
    if (!main || !GetWindowRect(main, &owner))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &owner, 0);
    SetWindowPos(dialog, nullptr, (owner.left + owner.right - width) / 2, (owner.top + owner.bottom - height) / 2,
                 width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string ItemText(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(item, &text[0], static_cast<int>(text.size()))));
    return text;
}

void OnOk(HWND dialog, const DialogState& state)
{
    std::string refusal = (*state.accept)(ItemText(dialog, DialogRowFragment), ItemText(dialog, DialogRowCategory));
    if (refusal.empty()) {
        EndDialog(dialog, 1);
        return;
    }
    SetDlgItemTextA(dialog, DialogRowReason, ("Not added: " + refusal).c_str());
}

INT_PTR CALLBACK RowDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        state = reinterpret_cast<DialogState*>(lParam);
        CreateChildren(dialog, *state);
        PlaceDialog(dialog);
        SetFocus(GetDlgItem(dialog, DialogRowFragment));
        SendDlgItemMessageA(dialog, DialogRowFragment, EM_SETSEL, 0, -1);
        return FALSE;  // the focus is set
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), WindowGrey);
        return reinterpret_cast<INT_PTR>(state ? state->grey : nullptr);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && state)
            OnOk(dialog, *state);
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

std::string RowDialogPackageLine(const std::string& packageName, const std::string& label)
{
    return "Package: " + packageName + (label.empty() ? std::string() : "   Label: " + label);
}

bool RowDialogRun(const std::string& packageName, const std::string& label, const std::string& fragment,
                  const std::vector<std::string>& categories, const RowDialogAccept& accept)
{
    DialogState state = {&packageName, &label, &fragment, &categories, &accept, CreateSolidBrush(WindowGrey)};
    std::vector<DWORD> dialogTemplate = EmptyTemplate();
    INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                             reinterpret_cast<DLGTEMPLATE*>(dialogTemplate.data()),
                                             MainWindowHandle(), RowDialogProc, reinterpret_cast<LPARAM>(&state));
    DeleteObject(state.grey);
    return result == 1;
}
