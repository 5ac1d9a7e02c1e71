#include "installer/CellDictInstaller.h"

#include "host/ConfigStore.h"
#include "installer/DictCapacity.h"
#include "installer/DictConfig.h"
#include "installer/DictListRules.h"
#include "installer/InstallLock.h"
#include "installer/KillPoint.h"
#include "installer/PendingWorkRecord.h"

// Removal shows nothing and logs nothing. It waits for the install lock, so that an
// install and a removal never write back a list read before the other's write;
// when the lock cannot be had, it removes all the same.
//
// Two choices where the rules leave room:
// - An empty positional selects nothing. Read as a substring it would be found in
//   every name, and one stray "" on a command line would uninstall every dictionary.
// - When "/Common/accountDataDir" cannot be read or is empty, the files are looked for where an
//   install would have put them, in the per-user data folder's "dict" folder, never
//   in a "\Dict\" folder at the root of the current drive.
bool CellDictInstaller::DeleteDicts(const std::vector<std::wstring>& names)
{
    if (names.empty())
        return false;
    IConfigureInst* cfg = GetConfigureInst();
    if (!cfg)
        return false;
    // Without the lock the removal still runs, unserialised, as it always could,
    // but it neither completes nor records work: another command may be doing its own.
    InstallLock lock;
    const bool locked = TakeInstallLock(lock);

    std::wstring installedText;
    std::wstring activeText;
    if (!ReadConfigString(cfg, kInstalledDictKey, installedText) || !ReadConfigString(cfg, kActiveDictKey, activeText))
        return false;

    DictList installed;
    installed.Parse(installedText);
    DictList active;
    active.Parse(activeText);
    const DictList installedBefore = installed;
    const DictList activeBefore = active;

    // Selection only ever removes, so applying the positionals one after the other
    // takes out the same elements as taking out whatever any of them selects.
    const std::vector<std::wstring> removed = TakeSelected(installed, names);
    TakeSelected(active, names);

    std::wstring accountDir;
    const std::wstring folder =
        ReadFolderSetting(cfg, kAccountDataDirKey, accountDir) ? accountDir + L"\\Dict\\" : GetFallbackDictDir();
    PendingWork work = PendingWork::FromListChanges(installedBefore, installed, activeBefore, active);
    for (const std::wstring& name : removed)
        work.deleteFiles.Insert(folder + name);
    const bool recorded = locked && !work.Empty();
    if (recorded)
        RecordPendingWork(work);

    WriteConfigString(cfg, kInstalledDictKey, installed.Join());
    KILL_POINT("removal-installed-written");
    WriteConfigString(cfg, kActiveDictKey, active.Join());
    KILL_POINT("removal-lists-written");

    for (const std::wstring& path : work.deleteFiles)
        (void)DeleteDictFile(path);  // a file that stays is no longer listed, and harmless
    if (recorded)
        ClearPendingWork();
    return true;
}
