#include "installer/CellDictInstaller.h"

#include "core/StoredName.h"
#include "core/VerdictText.h"
#include "host/ImeLocations.h"
#include "host/XLog.h"
#include "installer/CellDictInstallerUI.h"
#include "installer/DictCapacity.h"
#include "installer/DictConfig.h"
#include "installer/DictListRules.h"
#include "installer/InstallLock.h"
#include "installer/KillPoint.h"
#include "installer/PendingWorkRecord.h"
#include "installer/TempFile.h"
#include "win/FileSystem.h"
#include "win/UniqueResource.h"

#include <io.h>
#include <windows.h>

namespace {

// Copies the source to the temporary file and writes the copy through to the disk,
// so that it is complete before it takes the stored name.
bool CopyThrough(const std::wstring& srcPath, const std::wstring& tmpPath)
{
    if (!::CopyFileW(srcPath.c_str(), tmpPath.c_str(), FALSE))
        return false;
    // A read-only source gives a read-only copy; the stored file must stay replaceable.
    win::ClearReadOnly(tmpPath);
    const win::UniqueFile file(
        ::CreateFileW(tmpPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return file && ::FlushFileBuffers(file.Get());
}

// Whether the old stored file, if there is one, can be replaced: a read-only one is
// made writable, and it is opened for deletion as DeleteFileW opens it, so that a
// file the input method holds open is refused with the same code before anything
// changes. Fails with the reason in GetLastError.
bool CanReplace(const std::wstring& path)
{
    if (!win::PathExists(path))
        return true;
    win::ClearReadOnly(path);
    const win::UniqueFile file(::CreateFileW(path.c_str(), DELETE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
    return file.IsValid();
}

}  // namespace

bool UsesAccountDir(const SimpleOptParser::OptionMap& options)
{
    return options.IsSet(L"-accountdir") || !options.IsSet(L"-datadir");
}

bool OpenDictDir(bool useAccountDir, std::wstring& dictDir)
{
    return GetDictDir(useAccountDir, dictDir) && win::EnsureFolder(dictDir);
}

void DeleteFileIfPresent(const std::wstring& path)
{
    if (win::PathExists(path))
        ::DeleteFileW(path.c_str());
}

SourceFileGuard::~SourceFileGuard()
{
    if (deleteFile_)
        ::DeleteFileW(path_.c_str());
}

std::wstring MakeTempFilePath(const std::wstring& dir)
{
    // The name is written into a buffer of kPathUnits: a folder longer than the
    // call allows fails here, as on Windows, rather than overrunning it.
    constexpr std::size_t kTempNameUnits = 14;
    if (dir.size() > kPathUnits - kTempNameUnits)
        return {};
    wchar_t path[kPathUnits] = {};
    if (!::GetTempFileNameW(dir.c_str(), L"tmp", 0, path))
        return {};
    return path;
}

bool CellDictInstaller::InstallDictFile(const std::wstring& srcPath, const std::wstring& destPath,
                                        const std::wstring& tmpPath)
{
    XLog(kLogTrace, kFuncTag, L"FUNCTION: %s(destPath.c_str()=%s)", L"CellDictInstaller::InstallDictFile",
         destPath.c_str());
    FunctionTrace trace;

    if (!CopyThrough(srcPath, tmpPath)) {
        XLog(kLogError, kLogTag, L"CopyFile error(%u): %s -> %s", ::GetLastError(), srcPath.c_str(), tmpPath.c_str());
        return false;
    }
    KILL_POINT("copied");

    if (!CanReplace(destPath)) {
        XLog(kLogError, kLogTag, L"error replacing old dict file(%u): %s", ::GetLastError(), destPath.c_str());
        return false;
    }

    // The input method's cache of the old file; a read-only one is kept on purpose.
    const std::wstring datPath = destPath + L".dat";
    if (::_waccess(datPath.c_str(), 2) == 0)
        ::DeleteFileW(datPath.c_str());

    // One step: a reader of the folder sees the old file or the complete new one.
    if (!::MoveFileExW(tmpPath.c_str(), destPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        XLog(kLogError, kLogTag, L"MoveFile error(%u): %s -> %s", ::GetLastError(), tmpPath.c_str(), destPath.c_str());
        return false;
    }
    KILL_POINT("replaced");
    return true;
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

bool CellDictInstaller::StoreDictFile(const std::wstring& srcPath, const std::wstring& destPath, TempFileGuard& tmp)
{
    RecordTmpFile(tmp.Path());
    if (!InstallDictFile(srcPath, destPath, tmp.Path()))
        return false;
    tmp.Dismiss();  // renamed to the stored name
    return true;
}

StoreTarget CellDictInstaller::PlanStore(const std::wstring& srcPath, const std::wstring& dictDir,
                                         const std::wstring& storedName, const DictIdentityIndex* installed) const
{
    StoreTarget target{dictDir + storedName};
    target.currentCopy =
        installed ? IsInstalledSameOrNewer(storedName, *installed) : !ShouldReplaceStoredFile(srcPath, target.destPath);
    return target;
}

bool CellDictInstaller::LoadSource(const std::wstring& srcPath)
{
    const CellDictVerdict verdict = LoadAndCheck(srcPath);
    if (verdict.Ok())
        return true;
    XLog(kLogError, kLogTag, L"Error reading dict file: %s", srcPath.c_str());
    // A tag of its own, so that the installer's own lines stay as they always were.
    const std::string reason = DescribeVerdict(verdict, *this);  // ASCII
    XLog(kLogError, L"dictcheck", L"%s: %s", srcPath.c_str(), std::wstring(reason.begin(), reason.end()).c_str());
    return false;
}

bool CellDictInstaller::Install(const std::wstring& srcPath, const SimpleOptParser::OptionMap& options)
{
    XLog(kLogTrace, kFuncTag, L"FUNCTION: %s(srcPath.c_str()=[%s])", L"CellDictInstaller::Install", srcPath.c_str());
    FunctionTrace trace;

    std::wstring storedName = options.IsSet(L"-dest") ? options.GetValue(L"-dest") : std::wstring();
    const bool useAccountDir = UsesAccountDir(options);
    const bool deselect = options.IsSet(L"-deselect");

    if (!LoadSource(srcPath)) {
        if (ui)
            ui->ShowDictDamaged();
        return false;
    }
    if (header.formatLevel > 1) {
        if (ui)
            ui->ShowVersionIncompatible();
        return false;
    }
    if (!HasCapacityFor(this)) {
        if (ui)
            ui->ShowQuotaExceeded();
        return false;
    }

    std::wstring dictDir;
    if (!OpenDictDir(useAccountDir, dictDir)) {
        if (ui)
            ui->ShowInstallFailed();
        return false;
    }

    if (storedName.empty())
        storedName = MakeStoredName(srcPath, header);
    // Made before anything is asked, so that it lies on the stored file's volume.
    TempFileGuard tmpGuard(MakeTempFilePath(dictDir));

    DictList installed;
    if (useAccountDir)
        LoadInstalledDicts(installed);
    const DictIdentityIndex installedIndex(installed);
    const StoreTarget target = PlanStore(srcPath, dictDir, storedName, useAccountDir ? &installedIndex : nullptr);
    const std::wstring& destPath = target.destPath;
    if (target.currentCopy && (!ui || !ui->ConfirmOverwrite()))
        return true;

    CellDictInfo info;
    info.header = header;
    info.storedName = storedName;
    ReadSampleWords(info.samples, 10);
    if (ui && !ui->ConfirmInstall(info))
        return false;

    bool ok = false;
    {
        InstallLock lock;
        if (!TakeInstallLock(lock)) {
            XLog(kLogError, kLogTag, L"Error opening mutex.");
            return false;
        }
        ok = StoreDictFile(srcPath, destPath, tmpGuard);
        if (ok && useAccountDir)
            ok = UpdateDictLists({storedName}, !deselect);
        tmpGuard.Remove();
        ClearPendingWork();
    }

    if (ok)
        XLog(kLogInfo, kLogTag, L"Successfully installed cell dict %s.", storedName.c_str());
    if (ui) {
        if (ok)
            ui->ShowInstallSuccess(info);
        else
            ui->ShowInstallFailed();
    }
    return ok;
}
