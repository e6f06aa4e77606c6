// The operating system's own message text for an error code.
#pragma once

#include <string>

// The system's text for the code, as the system words it, line end included,
// with its inserts ("%1") left unfilled; empty when the system has none. Code 0 stands for the calling thread's last
// error, read before anything else can change it.
std::string SystemErrorText(unsigned long code);

// The system's text for the code without its line end and trailing blanks, or "error <code>" when
// the system has none: for lines of our own that must never end in nothing.
// Code 0 stands for the last error, as for SystemErrorText.
std::string ErrorTextOrCode(unsigned long code);
