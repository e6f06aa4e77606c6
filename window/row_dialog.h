// The small modal dialog in which the user makes a catalogue row of their own
// for a package: the fragment of its file name, a category from an editable
// drop-down, OK and Cancel. What a row must be and where it goes is the
// caller's: the dialog only shows the reason a row was refused.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Takes the row typed; returns empty text when it was kept, else the reason
// it was refused.
using RowDialogAccept = std::function<std::string(const std::string& fragment, const std::string& category)>;

// Runs the dialog over the main window, which it disables meanwhile, with
// the fragment filled in and the categories to choose from. The package's
// label, when it has one (an Android package's title), stands beside its
// name, so that a row can be made from the title. OK hands the row to
// `accept`: a kept row closes the dialog, a refused one leaves it open with
// the reason shown. True when a row was kept.
bool RowDialogRun(const std::string& packageName, const std::string& label, const std::string& fragment,
                  const std::vector<std::string>& categories, const RowDialogAccept& accept);

// The dialog's first line: the package's name, and its label where it has one.
std::string RowDialogPackageLine(const std::string& packageName, const std::string& label);
