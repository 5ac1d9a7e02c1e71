#pragma once
// Where the input method's dictionaries live, as its settings and folders say:
// every folder rule of the engine in one place.

#include <string>

// The account's dictionary folder (useAccountDir) or the input method's data
// folder, ending in a backslash. A folder setting that cannot be read, or is
// empty, gives the per-user data folder's "dict" folder, so that nothing is ever
// stored at the root of a drive. False, leaving dictDir alone, without a settings store.
[[nodiscard]] bool GetDictDir(bool useAccountDir, std::wstring& dictDir);

// GetDictDir, with the folder and its parents created when missing.
[[nodiscard]] bool OpenDictDir(bool useAccountDir, std::wstring& dictDir);

// The folder whose stored files a removal deletes: "<account folder>\Dict\", or,
// without a usable account folder, where an install would have put them.
// "" without a settings store.
std::wstring RemovalDictDir();
