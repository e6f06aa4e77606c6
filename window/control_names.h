// The main window's controls by name, as window/controls.h spells them, for
// tools that address the running window from outside (the journey probe):
// a script that says ButtonSort keeps meaning the sort button when numbers
// change.
#pragma once

// The number of the control of that name, or -1 when no control has it.
// MainWindow is the window, not a control, and has no entry.
int ControlNumberByName(const char* name);
