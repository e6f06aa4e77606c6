// Drives the system's folder-browse dialog from inside the test process: a
// timer of the test's thread fires inside the dialog's own message loop,
// finds the dialog, lets the test look at it, then acts as a user would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

bool Contains(const std::vector<std::string>& texts, const std::string& text);

class BrowseDialogDriver {
public:
    enum Action {
        ChooseFolder,    // selects `folder`, types it into the edit box, presses OK
        ChooseComputer,  // selects the computer, which has no file-system path, presses OK
        ChooseWideFolder,  // selects `wideFolder`, which the code page may not spell, presses OK
        PressCancel,
        CloseDialog,     // the close box of the dialog's title bar
    };

    explicit BrowseDialogDriver(Action action, std::string folder = std::string());
    ~BrowseDialogDriver();
    BrowseDialogDriver(const BrowseDialogDriver&) = delete;
    BrowseDialogDriver& operator=(const BrowseDialogDriver&) = delete;

    // Changes what is done with the next dialog.
    void Then(Action action, std::string folder = std::string());

    // Runs with each dialog once it is open, before the action.
    std::function<void(HWND dialog)> whileOpen;

    std::wstring wideFolder;

    int dialogsSeen = 0;
    // The last dialog as it opened: the texts of its visible controls, its owner,
    // whether it had an edit box, and whether its tree started at its root
    // rather than at some preselected folder.
    std::vector<std::string> texts;
    HWND owner = nullptr;
    bool hadEditBox = false;
    bool startedAtRoot = false;

    bool ShowedText(const std::string& text) const { return Contains(texts, text); }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Drive(HWND dialog);
    void Observe(HWND dialog);
    // Whether the action was carried out; if not, the next tick tries again.
    bool Act(HWND dialog);

    Action action_;
    std::string folder_;
    UINT_PTR timer_ = 0;
    HWND lastDialog_ = nullptr;
    int ticksOpen_ = 0;
    bool acted_ = false;
};

// The open folder-browse dialog of the process, or nullptr.
HWND FindBrowseDialog(DWORD processId);

// The texts of the dialog's visible controls; this works across processes.
std::vector<std::string> VisibleControlTexts(HWND dialog);

