#pragma once
// The dictionary folders and the dictionary lists of the input method's settings.

#include "core/DictList.h"

#include <string>
#include <vector>

struct IConfigureInst;

inline constexpr const wchar_t* kInstalledDictKey = L"/Dict/InstalledDict";
inline constexpr const wchar_t* kActiveDictKey = L"/Dict/ActiveDict";
inline constexpr const wchar_t* kOrderedDictKey = L"/Dict/OrderedDict";
inline constexpr const wchar_t* kAutopushInstalledKey = L"/Local/Autopush/Dict/installedList";
inline constexpr const wchar_t* kAccountDataDirKey = L"/Common/accountDataDir";
inline constexpr const wchar_t* kDataDirKey = L"/Common/dataDir";

// The per-user data folder followed by "\dict\": where dictionaries go when the
// settings name no folder.
std::wstring GetFallbackDictDir();

// A folder value of the settings; false when it cannot be read or is empty. An
// empty value names no folder: taken as it is, it would put the dictionary
// folder at the root of the current drive.
[[nodiscard]] bool ReadFolderSetting(IConfigureInst* cfg, const std::wstring& key, std::wstring& folder);

// The account's dictionary folder (useAccountDir) or the input method's data
// folder, ending in a backslash. False, leaving dictDir alone, without a settings store.
[[nodiscard]] bool GetDictDir(bool useAccountDir, std::wstring& dictDir);

// The names that count as installed: the installed list and the automatic push's list.
void LoadInstalledDicts(DictList& list);

// Records freshly stored dictionaries in the lists, drops and deletes their older
// versions, and cleans the ordered list. False only without a settings store.
// Writes the pending-work record before the first list write; the caller clears it.
[[nodiscard]] bool UpdateDictLists(const std::vector<std::wstring>& storedNames, bool activate);
