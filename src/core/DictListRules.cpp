#include "core/DictListRules.h"

#include "core/StoredName.h"
#include "core/SubstringMatcher.h"

#include <algorithm>

DictIdentityIndex::DictIdentityIndex(const DictList& list)
{
    // The list is ascending, so every group is filled in ascending order.
    for (const std::wstring& name : list)
        byIdentity_[std::wstring(DictIdentity(name))].push_back(name);
}

const std::vector<std::wstring>& DictIdentityIndex::VersionsOf(std::wstring_view storedName) const
{
    static const std::vector<std::wstring> none;
    const auto it = byIdentity_.find(std::wstring(DictIdentity(storedName)));
    return it == byIdentity_.end() ? none : it->second;
}

void DictIdentityIndex::ReplaceVersions(const std::wstring& storedName)
{
    byIdentity_[std::wstring(DictIdentity(storedName))] = {storedName};
}

bool IsInstalledSameOrNewer(const std::wstring& storedName, const DictIdentityIndex& installed)
{
    const auto& versions = installed.VersionsOf(storedName);
    return std::any_of(versions.begin(), versions.end(),
                       [&](const std::wstring& listed) { return CompareStoredVersions(listed, storedName) >= 0; });
}

bool AddInstalledNames(DictList& installed, const std::vector<std::wstring>& storedNames, DictList& obsolete)
{
    DictIdentityIndex index(installed);
    bool changed = false;
    for (const std::wstring& name : storedNames) {
        if (installed.Contains(name))
            continue;
        for (const std::wstring& older : index.VersionsOf(name)) {
            obsolete.Insert(older);
            installed.Remove(older);
        }
        installed.Insert(name);
        index.ReplaceVersions(name);
        changed = true;
    }
    return changed;
}

bool UpdateActiveNames(DictList& active, const DictList& obsolete, const std::vector<std::wstring>& storedNames,
                       bool activate)
{
    bool changed = false;
    for (const std::wstring& name : obsolete)
        changed |= active.Remove(name);
    if (activate) {
        for (const std::wstring& name : storedNames)
            changed |= active.Insert(name);
    }
    return changed;
}

std::wstring CleanOrderedList(const std::wstring& orderedText, const std::wstring& installedText)
{
    DictList ordered;
    ordered.Parse(orderedText);
    const std::vector<std::wstring_view> names(ordered.begin(), ordered.end());
    const std::vector<bool> installed = SubstringMatcher(names).FindOccurring(installedText);

    std::wstring kept;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!installed[i]) {
            kept += names[i];
            kept += L';';
        }
    }
    return kept;
}

void KeepNothingLost(const DictList& activeBefore, DictLists& lists)
{
    for (const std::wstring& name : lists.installed)
        lists.deleteNames.Remove(name);
    for (auto it = lists.active.begin(); it != lists.active.end();) {
        const bool activated = !activeBefore.Contains(*it) && !lists.installed.Contains(*it);
        it = activated ? lists.active.Erase(it) : std::next(it);
    }
}

std::vector<std::wstring> TakeSelected(DictList& list, const std::vector<std::wstring>& selectors)
{
    const std::vector<std::wstring_view> patterns(selectors.begin(), selectors.end());
    const SubstringMatcher matcher(patterns);
    std::vector<std::wstring> taken;
    for (auto it = list.begin(); it != list.end();) {
        if (matcher.OccursInAny(*it)) {
            taken.push_back(*it);
            it = list.Erase(it);
        } else {
            ++it;
        }
    }
    return taken;
}
