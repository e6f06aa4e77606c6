// Looks at a running Quillet.exe from outside, for the journey scripts:
// where a control is on the screen (so that xdotool can click it), and what
// the window shows. Prints one answer per call on standard output.
//
//   quillet_probe wait                 waits until Quillet's window is shown
//   quillet_probe ready                waits until Quillet has started: the last
//                                      status line is the start-up line
//   quillet_probe gone                 waits until no Quillet window is left
//   quillet_probe waitlast <title> <n> waits until the status list has more than
//                                      <n> rows and its last row has that title
//   quillet_probe closebox             screen x y of the middle of the window's
//                                      close box
//   quillet_probe point <id>           screen x y of the middle of control <id>
//   quillet_probe frame <id>           width x height + left + top of control <id>
//                                      on the screen (MainWindow: the whole window)
//   quillet_probe item <id> <n>        screen x y of item <n> of a list, the opened
//                                      drop-down (waited for) or the tab panel
//   quillet_probe rowpoint <id> <text> screen x y of the first row of a list that
//                                      has a cell with that text
//   quillet_probe text <id>            text of control <id> (MainWindow: the title)
//   quillet_probe state <id>           check state of a button
//   quillet_probe pushed <id>          1 while a button is held down, else 0
//   quillet_probe rows <id>            rows of a list, columns joined by " | "
//   quillet_probe row <id> <n>         row <n> of a list (from the end when negative)
//   quillet_probe selected <id>        the selected row of a list, or "none"
//   quillet_probe count <id>           number of rows of a list
//   quillet_probe dialog               text of the first visible dialog of Quillet,
//                                      then the texts of its static controls
//   quillet_probe dialogfield          text of the edit field of that dialog
//   quillet_probe dialogpoint <id>     screen x y of the middle of control <id> of
//                                      that dialog (1: OK, 2: Cancel, or a name
//                                      such as DialogRowCategory)
//   quillet_probe tooltip              text of Quillet's visible tooltip (waited
//                                      for a few seconds)
//   quillet_probe hold <path>          opens the file without sharing, as another
//                                      program using it would, prints "held" and
//                                      keeps it open until killed
//
// A control <id> is named as window/controls.h names it (ButtonSort), or given
// by its number; MainWindow, or 0, is the window itself.
//
// List rows of another process are read through a buffer allocated inside
// that process, since the list control writes its answer there. While Quillet
// sorts or fetches it answers once per file, so whole lists are read only
// when it is idle; a single row or the row count is cheap at any time.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/remote_list.h"
#include "window/control_names.h"
#include "window/controls.h"

namespace {

HWND FindQuillet()
{
    return FindWindowA("QuilletMainWindow", nullptr);
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindControlProc(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<ControlSearch*>(param);
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof(name));
    if (GetDlgCtrlID(hwnd) == search->id && lstrcmpA(name, "QuilletTabPage") != 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindControl(int id)
{
    HWND main = FindQuillet();
    if (!main)
        return nullptr;
    if (id == 0)
        return main;
    ControlSearch search = {id, nullptr};
    EnumChildWindows(main, FindControlProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string JoinRow(const std::vector<std::string>& cells)
{
    std::string line;
    for (size_t column = 0; column < cells.size(); ++column)
        line += (column ? " | " : "") + cells[column];
    return line;
}

int PrintRows(HWND list)
{
    for (const std::vector<std::string>& row : RemoteListRows(list))
        std::printf("%s\n", JoinRow(row).c_str());
    return 0;
}

struct PopupSearch {
    DWORD pid;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindPopupProc(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<PopupSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof(name));
    if (pid == search->pid && IsWindowVisible(hwnd) && lstrcmpiA(name, search->className) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The opened list of a drop-down: a visible top-level list box of Quillet's.
// A click opens it a moment later, so it is waited for.
HWND FindOpenDropDownList(HWND combo)
{
    PopupSearch search = {0, "ComboLBox", nullptr};
    GetWindowThreadProcessId(combo, &search.pid);
    DWORD start = GetTickCount();
    do {
        EnumWindows(FindPopupProc, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(50);
    } while (GetTickCount() - start < 5000);
    return nullptr;
}

int PrintItemPoint(HWND control, int item)
{
    char name[64] = "";
    GetClassNameA(control, name, sizeof(name));
    bool dropDown = lstrcmpiA(name, "ComboBox") == 0;
    bool tabs = lstrcmpiA(name, WC_TABCONTROLA) == 0;
    HWND list = dropDown ? FindOpenDropDownList(control) : control;
    UINT message = dropDown ? LB_GETITEMRECT : tabs ? TCM_GETITEMRECT : LVM_GETITEMRECT;
    RECT r;
    if (!list || !RemoteItemRect(list, message, item, &r))
        return 1;
    MapWindowPoints(list, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return 0;
}

int PrintRowPoint(HWND list, const std::string& text)
{
    std::vector<std::vector<std::string>> rows = RemoteListRows(list);
    for (size_t row = 0; row < rows.size(); ++row) {
        for (const std::string& cell : rows[row]) {
            if (cell == text)
                return PrintItemPoint(list, static_cast<int>(row));
        }
    }
    return 1;
}

BOOL CALLBACK PrintStaticProc(HWND hwnd, LPARAM)
{
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof(name));
    if (lstrcmpiA(name, "Static") == 0 && IsWindowVisible(hwnd)) {
        char text[512] = "";
        GetWindowTextA(hwnd, text, sizeof(text));
        if (text[0])
            std::printf("%s\n", text);
    }
    return TRUE;
}

HWND FindDialog()
{
    HWND main = FindQuillet();
    if (!main)
        return nullptr;
    PopupSearch search = {0, "#32770", nullptr};
    GetWindowThreadProcessId(main, &search.pid);
    EnumWindows(FindPopupProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text of a visible tooltip of Quillet's; the system carries WM_GETTEXT
// between processes.
int PrintTooltip()
{
    PopupSearch search = {0, "tooltips_class32", nullptr};
    HWND main = FindQuillet();
    if (!main)
        return 1;
    GetWindowThreadProcessId(main, &search.pid);
    for (DWORD start = GetTickCount(); !search.found && GetTickCount() - start < 5000; Sleep(50))
        EnumWindows(FindPopupProc, reinterpret_cast<LPARAM>(&search));
    if (!search.found)
        return 1;
    char text[512] = "";
    SendMessageA(search.found, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    std::printf("%s\n", text);
    return 0;
}

int PrintDialog()
{
    HWND dialog = FindDialog();
    if (!dialog)
        return 1;
    char title[256] = "";
    GetWindowTextA(dialog, title, sizeof(title));
    std::printf("%s\n", title);
    EnumChildWindows(dialog, PrintStaticProc, 0);
    return 0;
}

int PrintDialogField()
{
    HWND dialog = FindDialog();
    HWND edit = dialog ? FindWindowExA(dialog, nullptr, "Edit", nullptr) : nullptr;
    if (!edit)
        return 1;
    char text[1024] = "";
    SendMessageA(edit, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    std::printf("%s\n", text);
    return 0;
}

int PrintDialogPoint(int id)
{
    HWND dialog = FindDialog();
    HWND control = dialog ? GetDlgItem(dialog, id) : nullptr;
    if (!control)
        return 1;
    RECT r;
    GetWindowRect(control, &r);
    std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return 0;
}

// Another program that has the file open and shares it with nobody.
int HoldFile(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(INFINITE);
    return 0;
}

// Waits until the status list has more than `after` rows, the last of them
// titled `title`. Only the count and the last row are asked for.
bool WaitForLastLine(const std::string& title, int after, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        HWND status = FindControl(ListStatus);
        if (status) {
            int count = static_cast<int>(SendMessageA(status, LVM_GETITEMCOUNT, 0, 0));
            if (count > after) {
                std::vector<std::string> last = RemoteListRow(status, count - 1);
                if (!last.empty() && last[0] == title)
                    return true;
            }
        }
        Sleep(50);
    }
    return false;
}

bool WaitForStartupLine(DWORD milliseconds)
{
    return WaitForLastLine("Startup", 0, milliseconds);
}

// The close box is found the way the window itself tells a click on it apart:
// by hit-testing the points of the title bar's right end.
int PrintCloseBox()
{
    HWND main = FindQuillet();
    if (!main)
        return 1;
    RECT window;
    GetWindowRect(main, &window);
    LONG left = window.right, top = window.bottom, right = window.left, bottom = window.top;
    for (LONG y = window.top; y < window.top + 48 && y < window.bottom; ++y) {
        for (LONG x = window.right - 1; x >= window.right - 64 && x >= window.left; --x) {
            if (SendMessageA(main, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != HTCLOSE)
                continue;
            left = x < left ? x : left;
            right = x > right ? x : right;
            top = y < top ? y : top;
            bottom = y > bottom ? y : bottom;
        }
    }
    if (left > right)
        return 1;
    std::printf("%ld %ld\n", (left + right) / 2, (top + bottom) / 2);
    return 0;
}

bool WaitFor(bool wantWindow, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        HWND main = FindQuillet();
        if (wantWindow ? (main && IsWindowVisible(main)) : !main)
            return true;
        Sleep(50);
    }
    return false;
}

// A control's number from its name or number; -1 for an unknown name.
int ControlArgument(const char* text)
{
    if (std::strcmp(text, "MainWindow") == 0)
        return 0;
    if (text[0] >= '0' && text[0] <= '9')
        return std::atoi(text);
    return ControlNumberByName(text);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    std::string command = argv[1];
    if (command == "wait")
        return WaitFor(true, 30000) ? 0 : 1;
    if (command == "ready")
        return WaitFor(true, 30000) && WaitForStartupLine(30000) ? 0 : 1;
    if (command == "waitlast" && argc >= 4)
        return WaitForLastLine(argv[2], std::atoi(argv[3]), 120000) ? 0 : 1;
    if (command == "closebox")
        return PrintCloseBox();
    if (command == "gone")
        return WaitFor(false, 30000) ? 0 : 1;
    if (command == "tooltip")
        return PrintTooltip();
    if (command == "dialog")
        return PrintDialog();
    if (command == "dialogfield")
        return PrintDialogField();
    if (command == "dialogpoint" && argc >= 3)
        return PrintDialogPoint(ControlArgument(argv[2]));
    if (command == "hold" && argc >= 3)
        return HoldFile(argv[2]);
    if (argc < 3)
        return 2;
    int id = ControlArgument(argv[2]);
    if (id < 0) {
        std::fprintf(stderr, "no control is named %s\n", argv[2]);
        return 2;
    }
    HWND control = FindControl(id);
    if (!control)
        return 1;
    if (command == "point") {
        RECT r;
        GetWindowRect(control, &r);
        std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return 0;
    }
    if (command == "frame") {
        RECT r;
        GetWindowRect(control, &r);
        std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        return 0;
    }
    if (command == "item" && argc >= 4)
        return PrintItemPoint(control, std::atoi(argv[3]));
    if (command == "rowpoint" && argc >= 4)
        return PrintRowPoint(control, argv[3]);
    if (command == "text") {
        char text[4096] = "";
        // GetWindowText does not ask an edit control of another process for
        // its text; WM_GETTEXT does, and the system carries the answer over.
        SendMessageA(control, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        std::printf("%s\n", text);
        return 0;
    }
    if (command == "state") {
        std::printf("%d\n", static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0)));
        return 0;
    }
    if (command == "pushed") {
        LRESULT state = SendMessageA(control, BM_GETSTATE, 0, 0);
        std::printf("%d\n", (state & BST_PUSHED) ? 1 : 0);
        return 0;
    }
    if (command == "count") {
        std::printf("%d\n", static_cast<int>(SendMessageA(control, LVM_GETITEMCOUNT, 0, 0)));
        return 0;
    }
    if (command == "rows")
        return PrintRows(control);
    if (command == "selected") {
        int row = static_cast<int>(SendMessageA(control, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        std::printf("%s\n", row < 0 ? "none" : JoinRow(RemoteListRow(control, row)).c_str());
        return 0;
    }
    if (command == "row" && argc >= 4) {
        int row = std::atoi(argv[3]);
        if (row < 0)
            row += static_cast<int>(SendMessageA(control, LVM_GETITEMCOUNT, 0, 0));
        if (row < 0)
            return 1;
        std::printf("%s\n", JoinRow(RemoteListRow(control, row)).c_str());
        return 0;
    }
    return 2;
}
