#pragma once
// The dictionary lists of the input method's settings: every change of them,
// by an install, a batch, a removal or the completion of an interrupted one,
// goes through ChangeDictLists.

#include "core/DictListRules.h"

#include <functional>
#include <string>
#include <vector>

enum class ListCommand {
    kInstall,     // writes what changed, logs it, cleans the ordered list
    kRemoval,     // needs both lists readable, writes both
    kCompletion,  // writes what changed, cleans the ordered list when names were added
};

// Reads the installed and active lists, lets `edit` change them, takes back what
// would be lost (KeepNothingLost), records the work when `recordWork` (the
// caller holds the install lock), writes the lists, cleans the ordered list and
// deletes the stored files the change let go. False, with nothing changed,
// without a settings store, or for a removal when a list cannot be read.
[[nodiscard]] bool ChangeDictLists(ListCommand command, bool recordWork, const std::function<void(DictLists&)>& edit);

// Records freshly stored dictionaries in the lists, drops and deletes their older
// versions, and cleans the ordered list. False only without a settings store.
[[nodiscard]] bool UpdateDictLists(const std::vector<std::wstring>& storedNames, bool activate);

// The names that count as installed: the installed list and the automatic push's list.
void LoadInstalledDicts(DictList& list);
