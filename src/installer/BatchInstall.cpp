#include "installer/CellDictInstaller.h"

#include "core/StoredName.h"
#include "host/XLog.h"
#include "installer/DictCapacity.h"
#include "installer/DictConfig.h"
#include "installer/DictListRules.h"
#include "installer/InstallLock.h"
#include "installer/PendingWorkRecord.h"
#include "installer/TempFile.h"
#include "win/FileSystem.h"

namespace {

// "-sourcedir" joined with a name by plain concatenation: one backslash is added
// unless the folder text already ends in "\" or "/".
std::wstring SourceFolder(const SimpleOptParser::OptionMap& options)
{
    std::wstring folder = options.GetValue(L"-sourcedir");
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/')
        folder += L'\\';
    return folder;
}

}  // namespace

bool CellDictInstaller::BatchInstall(const std::vector<std::wstring>& names, const SimpleOptParser::OptionMap& options)
{
    // Held for the whole batch, validation included, so that no other installer
    // changes the folder or the lists between the snapshot and the update.
    InstallLock lock;
    if (!TakeInstallLock(lock)) {
        XLog(kLogError, kLogTag, L"Error opening mutex.");
        return false;
    }

    const bool useAccountDir = UsesAccountDir(options);
    const std::wstring sourceFolder = SourceFolder(options);

    std::wstring dictDir;
    if (!OpenDictDir(useAccountDir, dictDir))
        return false;

    const bool deselect = options.IsSet(L"-deselect");
    const bool removeSource = options.IsSet(L"-removesource");
    const bool useDest = names.size() == 1 && options.IsSet(L"-dest");

    // A snapshot taken once: files installed earlier in this batch are not current
    // copies for later ones.
    DictList installedList;
    if (useAccountDir)
        LoadInstalledDicts(installedList);
    const DictIdentityIndex installed(installedList);

    BatchCapacityQuota quota;
    std::vector<std::wstring> installedNames;
    int32_t skippedCount = 0;

    for (const std::wstring& name : names) {
        const std::wstring srcPath = sourceFolder + name;
        if (!win::PathExists(srcPath))
            continue;
        SourceFileGuard sourceGuard(removeSource, srcPath);

        if (!LoadSource(srcPath))
            continue;
        if (header.formatLevel > 1 || !quota.HasCapacityFor(this))
            continue;

        const std::wstring storedName = useDest ? options.GetValue(L"-dest") : MakeStoredName(srcPath, header);
        TempFileGuard tmpGuard(MakeTempFilePath(dictDir));
        const StoreTarget target = PlanStore(srcPath, dictDir, storedName, useAccountDir ? &installed : nullptr);
        if (target.currentCopy) {
            ++skippedCount;
            continue;
        }
        if (StoreDictFile(srcPath, target.destPath, tmpGuard))
            installedNames.push_back(storedName);
    }

    bool ok = installedNames.size() + static_cast<std::size_t>(skippedCount) == names.size();
    if (useAccountDir && !installedNames.empty())
        ok = UpdateDictLists(installedNames, !deselect) && ok;
    ClearPendingWork();
    if (ok)
        XLog(kLogInfo, kLogTag, L"Successfully installed %d cell dicts, skipped %d.",
             static_cast<int>(installedNames.size()), skippedCount);
    return ok;
}
