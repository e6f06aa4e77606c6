// The sort's progress on the window's taskbar button, through the shell's
// ITaskbarList3, where the system offers it; where it does not, nothing.
//
// The shell says the button exists with the registered message
// "TaskbarButtonCreated". Quillet runs elevated, and the shell does not, so
// that message is let in with ChangeWindowMessageFilterEx: User Interface
// Privilege Isolation would drop it otherwise. Under Wine the shell sends no
// such message and this stays unused: it is reasoned, not tested, there.
#pragma once

#include <windows.h>

#include <cstdint>

// Lets the shell's message through to the window; called once it exists.
void TaskbarProgressAllow(HWND window);

// True when the message is the shell's word that the window's button exists;
// the taskbar is then taken up for this window.
bool TaskbarProgressMessage(HWND window, UINT message);

// Shows done of total on the button; a total of 0 takes the progress away.
void TaskbarProgressShow(uint64_t done, uint64_t total);

// Lets the taskbar go; called before the window is destroyed.
void TaskbarProgressRelease();
