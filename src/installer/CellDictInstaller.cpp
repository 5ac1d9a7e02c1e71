#include "installer/CellDictInstaller.h"

#include "core/StoredName.h"
#include "core/VerdictText.h"
#include "host/XLog.h"
#include "installer/CommandLock.h"
#include "installer/DictCapacity.h"
#include "installer/DictFolders.h"
#include "installer/DictListStore.h"
#include "installer/EngineOptions.h"
#include "installer/PendingWorkRecord.h"
#include "win/FileSystem.h"

bool DictFileStore::Store(const std::wstring& srcPath, const std::wstring& destPath)
{
    if (!recorded_ && !staging_.Path().empty()) {
        RecordTmpFile(staging_.Path());
        recorded_ = true;
    }
    if (!InstallDictFile(srcPath, destPath, staging_.Path()))
        return false;
    recorded_ = staging_.Renew();
    return true;
}

std::optional<DictIdentityIndex> InstalledSnapshot(bool useAccountDir)
{
    if (!useAccountDir)
        return std::nullopt;
    DictList installed;
    LoadInstalledDicts(installed);
    return DictIdentityIndex(installed);
}

InstallOutcome CellDictInstaller::CheckSource(const std::wstring& srcPath, CapacityQuota& quota)
{
    const CellDictVerdict verdict = LoadAndCheck(srcPath);
    if (!verdict.Ok()) {
        XLog(kLogError, kLogTag, L"Error reading dict file: %s", srcPath.c_str());
        // A tag of its own, so that the installer's own lines stay as they always were.
        const std::string reason = DescribeVerdict(verdict, *this);  // ASCII
        XLog(kLogError, L"dictcheck", L"%s: %s", srcPath.c_str(), std::wstring(reason.begin(), reason.end()).c_str());
        return InstallOutcome::kDamaged;
    }
    if (header.formatLevel > 1)
        return InstallOutcome::kIncompatible;
    if (!quota.HasCapacityFor(this))
        return InstallOutcome::kOverQuota;
    return InstallOutcome::kPassed;
}

std::wstring CellDictInstaller::StoredNameFor(const std::wstring& srcPath,
                                              const std::optional<std::wstring>& dest) const
{
    return dest ? *dest : MakeStoredName(srcPath, header);
}

bool CellDictInstaller::ShouldReplaceStoredFile(const std::wstring& srcPath, const std::wstring& destPath) const
{
    if (srcPath == destPath)
        return false;
    if (!win::PathExists(destPath))
        return true;
    CellDictFile stored;
    if (!stored.Load(destPath, false))
        return true;
    return IsNewerVersion(header, stored.header);
}

bool CellDictInstaller::HasCurrentCopy(const std::wstring& srcPath, const std::wstring& destPath,
                                       const std::wstring& storedName, const DictIdentityIndex* installed) const
{
    return installed ? IsInstalledSameOrNewer(storedName, *installed) : !ShouldReplaceStoredFile(srcPath, destPath);
}

InstallOutcome CellDictInstaller::InstallOne(const std::wstring& srcPath, const EngineOptions& options,
                                             CellDictInfo& info)
{
    CapacityQuota quota;
    if (const InstallOutcome refused = CheckSource(srcPath, quota); refused != InstallOutcome::kPassed)
        return refused;
    std::wstring dictDir;
    if (!OpenDictDir(options.useAccountDir, dictDir))
        return InstallOutcome::kFailed;

    const std::wstring storedName = StoredNameFor(srcPath, options.SingleDest());
    const std::wstring destPath = dictDir + storedName;
    // Made before anything is asked, so that it lies on the stored file's volume.
    DictFileStore store(dictDir);
    const std::optional<DictIdentityIndex> installed = InstalledSnapshot(options.useAccountDir);
    if (HasCurrentCopy(srcPath, destPath, storedName, installed ? &*installed : nullptr) && !ui->ConfirmOverwrite())
        return InstallOutcome::kCurrent;

    info.header = header;
    info.storedName = storedName;
    ReadSampleWords(info.samples, 10);
    if (!ui->ConfirmInstall(info))
        return InstallOutcome::kCancelled;

    // Held around the copy and the list update only, never while the user is asked.
    InstallLock lock;
    if (const LockOutcome locked = TakeInstallLockToInstall(lock); locked != LockOutcome::kTaken)
        return locked == LockOutcome::kNoMutex ? InstallOutcome::kNoMutex : InstallOutcome::kFailed;
    bool ok = store.Store(srcPath, destPath);
    store.Finish();
    if (ok && options.useAccountDir)
        ok = UpdateDictLists({storedName}, !options.deselect);
    ClearPendingWork();
    if (!ok)
        return InstallOutcome::kFailed;
    XLog(kLogInfo, kLogTag, L"Successfully installed cell dict %s.", storedName.c_str());
    return InstallOutcome::kInstalled;
}

bool CellDictInstaller::Install(const std::wstring& srcPath, const EngineOptions& options)
{
    XLog(kLogTrace, kFuncTag, L"FUNCTION: %s(srcPath.c_str()=[%s])", L"CellDictInstaller::Install", srcPath.c_str());
    FunctionTrace trace;

    CellDictInfo info;
    switch (InstallOne(srcPath, options, info)) {
    case InstallOutcome::kInstalled: ui->ShowInstallSuccess(info); return true;
    case InstallOutcome::kCurrent: return true;
    case InstallOutcome::kDamaged: ui->ShowDictDamaged(); return false;
    case InstallOutcome::kIncompatible: ui->ShowVersionIncompatible(); return false;
    case InstallOutcome::kOverQuota: ui->ShowQuotaExceeded(); return false;
    case InstallOutcome::kFailed: ui->ShowInstallFailed(); return false;
    case InstallOutcome::kPassed:
    case InstallOutcome::kCancelled:
    case InstallOutcome::kNoMutex: break;
    }
    return false;
}
