#include "installer/CommandLock.h"

#include "host/XLog.h"
#include "installer/DictFolders.h"
#include "installer/DictListStore.h"
#include "installer/PendingWorkRecord.h"
#include "installer/StoredFiles.h"
#include "win/FileSystem.h"

#include <windows.h>

namespace {

void LogStuckRecord(const std::wstring& folder)
{
    XLog(kLogError, kLogTag, L"The record of an interrupted command cannot be removed(%u): %s%s", ::GetLastError(),
         folder.c_str(), kPendingRecordName);
}

// The lists first, so that no listed name loses its file, then the files.
void ApplyPendingWork(const PendingWork& work, const std::wstring& folder)
{
    (void)ChangeDictLists(ListCommand::kCompletion, false, [&](DictLists& lists) {
        work.ApplyToLists(lists.installed, lists.active);
        for (const std::wstring& path : work.deleteFiles)
            lists.deleteNames.Insert(path.substr(folder.size()));  // confined to the folder
    });
    if (!work.tmpFile.empty())
        DeleteFileIfPresent(work.tmpFile);
}

bool CompletePendingWork()
{
    const std::wstring folder = PendingRecordFolder();
    if (folder.empty())
        return true;
    PendingWork work;
    switch (ReadPendingWork(folder, work)) {
    case RecordState::kNone: return true;
    case RecordState::kUnreadable: KeepRecordAside(folder); return true;
    case RecordState::kRead: break;
    }
    if (!CanRemovePendingRecord(folder)) {
        LogStuckRecord(folder);
        return false;
    }
    std::wstring dataFolder;
    (void)GetDictDir(false, dataFolder);  // there is a settings store: the record's folder came from it
    if (const std::size_t ignored = work.Confine(folder, dataFolder, win::PathExists))
        XLog(kLogError, kLogTag, L"Ignored %u entries of the record of an interrupted command: %s%s",
             static_cast<unsigned>(ignored), folder.c_str(), kPendingRecordName);
    ApplyPendingWork(work, folder);
    XLog(kLogInfo, kLogTag, L"Completed an interrupted command.");
    if (!RemovePendingRecord(folder)) {
        LogStuckRecord(folder);
        return false;
    }
    return true;
}

}  // namespace

LockOutcome TakeInstallLock(InstallLock& lock)
{
    if (!AcquireInstallLock(lock))
        return LockOutcome::kNoMutex;
    return CompletePendingWork() ? LockOutcome::kTaken : LockOutcome::kRecordStuck;
}

LockOutcome TakeInstallLockToInstall(InstallLock& lock)
{
    const LockOutcome outcome = TakeInstallLock(lock);
    if (outcome == LockOutcome::kNoMutex)
        XLog(kLogError, kLogTag, L"Error opening mutex.");
    return outcome;
}

void ClearPendingWork()
{
    const std::wstring folder = PendingRecordFolder();
    if (!folder.empty() && !RemovePendingRecord(folder))
        LogStuckRecord(folder);
}
