#pragma once
// Reading the registry.

#include <windows.h>

#include <string>

namespace win {

// The text of a REG_SZ or REG_EXPAND_SZ value (as stored: references are not
// expanded), read in the 32-bit registry view; empty when the key or the value
// is missing or of another type.
std::wstring ReadRegString(HKEY root, const wchar_t* key, const wchar_t* valueName);

}  // namespace win
