// A row of the user's own made from the window: the dialog for a package of
// the packages list, with the fragment and the categories it offers and the
// check of what the user typed, and opening the rows file in the user's
// editor.
#pragma once

#include <string>
#include <vector>

#include "model/index_list.h"

struct AppState;

// The fragment offered for a package: its app part as older versions read it
// (util/package_version.h: up to and including the first "_" directly
// followed by a digit that starts a version), or else the name without its
// kind.
std::string RowFragmentFromFileName(const std::string& fileName);

// The categories of the index's compiled-in rows and of the loaded list (own
// rows included), each once, sorted with letter case aside.
std::vector<std::string> RowCategories(const std::string& indexName, const IndexList& loaded);

// Checks the row the dialog was given as a line of the rows file is checked,
// and refuses a fragment the file's format cannot hold (it has no quoting);
// a row that passes is appended to the file. Empty text when the row is in
// the file, else the reason it is not.
std::string RowAddToFile(const std::string& path, const std::string& indexName, const std::string& target,
                         const std::string& fragment, const std::string& category);

// The dialog for the package at that row of the packages list, with its
// label beside its name where it has one; a row added loads the index again,
// so a preview or a sort places the package at once.
void AddRowForPackage(AppState& app, int row, const std::string& label = std::string());

// Opens the rows file with the system's "open" verb; a failure is a status
// line.
void OpenUserRows(AppState& app);
