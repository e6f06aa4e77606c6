// The system's names of held folders and open files, compared: a file is
// where a file act expects it when its name is its folder's name, "\" and
// its own name, letter case aside.
#pragma once

#include <string>

// The name of the entry `name` inside the folder of that system name.
std::wstring ActNameJoin(const std::wstring& folder, const std::wstring& name);

// Whether two system names are the same, letter case aside.
bool ActNamesEqual(const std::wstring& a, const std::wstring& b);

// Whether `inner` is `outer` or lies below it (letter case aside).
bool ActNameWithin(const std::wstring& outer, const std::wstring& inner);

// The part of the name before its last "\" (the folder it lies in).
std::wstring ActNameParent(const std::wstring& name);
