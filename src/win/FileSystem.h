#pragma once
// The questions about files and folders that several layers ask, answered once.

#include <string>

namespace win {

// True when a file or a folder of that name exists.
[[nodiscard]] bool PathExists(const std::wstring& path);

// Takes the read-only attribute off a file, so that it can be replaced or deleted.
void ClearReadOnly(const std::wstring& path);

// Creates the folder with every missing parent; true when it exists afterwards.
[[nodiscard]] bool EnsureFolder(const std::wstring& folder);

}  // namespace win
