#pragma once
// The input method's folders, found through its registry values with fixed fallbacks.
// Buffer-filling functions copy at most capacity - 1 units and always terminate.

#include <windows.h>

#include <cstddef>
#include <string>

inline constexpr std::size_t kPathUnits = 260;

std::wstring ReadRegString(HKEY root, const wchar_t* key, const wchar_t* valueName, const wchar_t* defaultValue);
bool IsVistaOrLater();
std::wstring GetImeInstallDir();  // no trailing backslash
std::size_t GetUserDataDir(wchar_t* buffer, std::size_t capacity, bool create);
std::size_t GetImeDir(wchar_t* buffer, std::size_t capacity, HMODULE module, bool create);
std::size_t GetCommonDataDir(wchar_t* buffer, std::size_t capacity, bool create);
std::size_t GetExePath(wchar_t* buffer, std::size_t capacity);
std::size_t GetCurrentModulePath(wchar_t* buffer, std::size_t capacity);
