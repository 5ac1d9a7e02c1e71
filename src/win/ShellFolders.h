#pragma once
// The system's named folders, as text.

#include <windows.h>

#include <shlobj.h>

#include <string>

namespace win {

// A known folder (FOLDERID_...), through SHGetKnownFolderPath where the system has
// it (Windows Vista and later); empty where it has not, or on failure.
std::wstring KnownFolderPath(REFKNOWNFOLDERID folder, DWORD flags);

// A folder by its CSIDL_... number, through SHGetFolderPathW; empty on failure.
std::wstring ShellFolderPath(int csidl);

// `text` with its environment references (%NAME%) expanded; empty on failure.
std::wstring ExpandEnvironment(const wchar_t* text);

}  // namespace win
