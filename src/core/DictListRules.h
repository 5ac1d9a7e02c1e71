#pragma once
// The rules by which the configuration lists change, on in-memory lists only:
// what the list update and the removal do, apart from reading and writing the store.

#include "core/DictList.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The elements of a list grouped by dictionary identity, so that finding the
// versions of one dictionary does not walk the whole list.
class DictIdentityIndex {
public:
    explicit DictIdentityIndex(const DictList& list);

    // The listed names of the dictionary that storedName belongs to, ascending.
    const std::vector<std::wstring>& VersionsOf(std::wstring_view storedName) const;
    // Replaces every listed version of storedName's dictionary by storedName alone.
    void ReplaceVersions(const std::wstring& storedName);

private:
    std::unordered_map<std::wstring, std::vector<std::wstring>> byIdentity_;
};

// True when some listed version of storedName's dictionary is the same or newer.
[[nodiscard]] bool IsInstalledSameOrNewer(const std::wstring& storedName, const DictIdentityIndex& installed);

// Each name not yet in `installed` replaces every listed version of its dictionary;
// the replaced names go into `obsolete`. True when `installed` changed.
bool AddInstalledNames(DictList& installed, const std::vector<std::wstring>& storedNames, DictList& obsolete);

// Drops the obsolete names from `active` and, with activate, adds the new names.
// True when `active` changed.
bool UpdateActiveNames(DictList& active, const DictList& obsolete, const std::vector<std::wstring>& storedNames,
                       bool activate);

// The new "/Dict/OrderedDict" text: the ordered names, ascending, without those
// that occur anywhere in installedText (a plain substring search, across ";" too).
std::wstring CleanOrderedList(const std::wstring& orderedText, const std::wstring& installedText);

// The lists a command changes, and the stored files it lets go.
struct DictLists {
    DictList installed;
    DictList active;
    DictList deleteNames;  // names whose stored files are to be deleted
};

// Takes back what a change would lose: the deletion of a file whose name stays
// installed, and the activation of a name that is not installed.
void KeepNothingLost(const DictList& activeBefore, DictLists& lists);

// Takes out of `list` every element that contains one of `selectors`, and returns
// the taken elements. An empty selector selects nothing.
std::vector<std::wstring> TakeSelected(DictList& list, const std::vector<std::wstring>& selectors);
