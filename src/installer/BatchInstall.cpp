#include "installer/CellDictInstaller.h"

#include "host/XLog.h"
#include "installer/CommandLock.h"
#include "installer/DictCapacity.h"
#include "installer/DictFolders.h"
#include "installer/DictListStore.h"
#include "installer/EngineOptions.h"
#include "win/FileSystem.h"

bool CellDictInstaller::BatchInstall(const std::vector<std::wstring>& names, const EngineOptions& options)
{
    // Held for the whole batch, validation included, so that no other installer
    // changes the folder or the lists between the snapshot and the update.
    InstallLock lock;
    if (TakeInstallLockToInstall(lock) != LockOutcome::kTaken)
        return false;
    std::wstring dictDir;
    if (!OpenDictDir(options.useAccountDir, dictDir))
        return false;

    // Taken once: files installed earlier in this batch are not current copies for later ones.
    const std::optional<DictIdentityIndex> installed = InstalledSnapshot(options.useAccountDir);
    CapacityQuota quota;
    DictFileStore store(dictDir);
    std::vector<std::wstring> installedNames;
    int32_t skippedCount = 0;

    for (const std::wstring& name : names) {
        const std::wstring srcPath = options.sourceFolder + name;
        if (!win::PathExists(srcPath))
            continue;
        SourceFileGuard sourceGuard(options.removeSource, srcPath);
        if (CheckSource(srcPath, quota) != InstallOutcome::kPassed)
            continue;
        const std::wstring storedName = StoredNameFor(srcPath, options.BatchDest(names.size()));
        const std::wstring destPath = dictDir + storedName;
        if (HasCurrentCopy(srcPath, destPath, storedName, installed ? &*installed : nullptr))
            ++skippedCount;
        else if (store.Store(srcPath, destPath))
            installedNames.push_back(storedName);
    }
    store.Finish();

    bool ok = installedNames.size() + static_cast<std::size_t>(skippedCount) == names.size();
    if (options.useAccountDir && !installedNames.empty())
        ok = UpdateDictLists(installedNames, !options.deselect) && ok;
    ClearPendingWork();
    if (ok)
        XLog(kLogInfo, kLogTag, L"Successfully installed %d cell dicts, skipped %d.",
             static_cast<int>(installedNames.size()), skippedCount);
    return ok;
}
