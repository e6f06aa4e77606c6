#include "file_acts/act_names.h"

#include <windows.h>

std::wstring ActNameJoin(const std::wstring& folder, const std::wstring& name)
{
    if (!folder.empty() && folder.back() == L'\\')
        return folder + name;
    return folder + L"\\" + name;
}

bool ActNamesEqual(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size()
           && CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE)
                  == CSTR_EQUAL;
}

bool ActNameWithin(const std::wstring& outer, const std::wstring& inner)
{
    if (outer.empty() || inner.size() < outer.size())
        return false;
    if (!ActNamesEqual(outer, inner.substr(0, outer.size())))
        return false;
    return inner.size() == outer.size() || outer.back() == L'\\' || inner[outer.size()] == L'\\';
}

std::wstring ActNameParent(const std::wstring& name)
{
    size_t slash = name.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : name.substr(0, slash);
}
