#pragma once
// The input method's folders, found through its registry values with fixed fallbacks.

#include "win/Path.h"

#include <cstddef>
#include <string>

// The installation folder, without a trailing backslash: the first of the
// registered folder, the default folder and the executable's folder that holds
// the input method's program. When none does, the last folder that did, else the
// first of them that is known.
std::wstring GetImeInstallDir();

// Each folder below is empty when none is found. With `create`, a missing folder is
// made with its parents; a failure to make it is met where the folder is used.

// The per-user data folder: the registered one, else LocalLow's (Vista and later),
// else the roaming application data's, each with the input method's suffix.
std::wstring UserDataFolder(bool create);
// The registered program folder, else the executable's folder.
std::wstring ImeFolder(bool create);
// The all-users data folder: the registered one, else the common application data's.
std::wstring CommonDataFolder(bool create);

// The buffer forms, for callers that hand in a buffer: they copy at most
// capacity - 1 units, always terminate, and return the number of units copied.
inline constexpr std::size_t kPathUnits = win::kPathUnits;
std::size_t GetUserDataDir(wchar_t* buffer, std::size_t capacity, bool create);
std::size_t GetExePath(wchar_t* buffer, std::size_t capacity);
