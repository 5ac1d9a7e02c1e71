#include "installer/CellDictInstaller.h"

#include "host/ConfigStore.h"
#include "installer/CommandLock.h"
#include "installer/DictListStore.h"

// Removal shows nothing and logs nothing. It waits for the install lock, so that an
// install and a removal never write back a list read before the other's write.
// Without the lock it still runs, unserialised, as it always could, but records
// no work: another command may be doing its own.
//
// An empty positional selects nothing. Read as a substring it would be found in
// every name, and one stray "" on a command line would uninstall every dictionary.
bool CellDictInstaller::DeleteDicts(const std::vector<std::wstring>& names)
{
    if (names.empty() || !GetConfigureInst())
        return false;
    InstallLock lock;
    const LockOutcome locked = TakeInstallLock(lock);
    if (locked == LockOutcome::kRecordStuck)
        return false;
    const bool recordWork = locked == LockOutcome::kTaken;
    // Selection only ever removes, so applying the positionals one after the other
    // takes out the same elements as taking out whatever any of them selects.
    const bool changed = ChangeDictLists(ListCommand::kRemoval, recordWork, [&](DictLists& lists) {
        for (const std::wstring& name : TakeSelected(lists.installed, names))
            lists.deleteNames.Insert(name);
        TakeSelected(lists.active, names);
    });
    if (changed && recordWork)
        ClearPendingWork();
    return changed;
}
