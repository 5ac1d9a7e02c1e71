#include "installer/PendingWorkRecord.h"

#include "host/ConfigStore.h"
#include "host/XLog.h"
#include "installer/DictCapacity.h"
#include "installer/DictConfig.h"
#include "installer/DictListRules.h"
#include "installer/InstallLock.h"
#include "installer/KillPoint.h"
#include "installer/TempFile.h"
#include "win/FileSystem.h"
#include "win/UniqueResource.h"

#include <windows.h>

namespace {

// A record is a few names and paths; anything far larger is not one.
constexpr DWORD kMaxRecordBytes = 16 * 1024 * 1024;

// "" without a settings store: then no command changes any list either.
std::wstring RecordPath()
{
    std::wstring folder;
    return GetDictDir(true, folder) ? folder + L"lexinst.pending" : std::wstring();
}

std::wstring StagingPath(const std::wstring& record) { return record + L".new"; }

bool WriteWholeFile(const std::wstring& path, const std::wstring& text)
{
    const win::UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), text.data(), bytes, &written, nullptr) && written == bytes &&
           ::FlushFileBuffers(file.Get());
}

// False when the record is there but cannot be read whole.
bool ReadRecordText(const std::wstring& path, std::wstring& text)
{
    const win::UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxRecordBytes || size.QuadPart % 2 != 0)
        return false;
    text.resize(static_cast<std::size_t>(size.QuadPart / 2));
    DWORD read = 0;
    return ::ReadFile(file.Get(), text.data(), static_cast<DWORD>(size.QuadPart), &read, nullptr) &&
           read == size.QuadPart;
}

// The lists first, so that no listed name loses its file, then the files.
void ApplyPendingWork(const PendingWork& work)
{
    if (IConfigureInst* cfg = GetConfigureInst()) {
        std::wstring installedText, activeText;
        (void)ReadConfigString(cfg, kInstalledDictKey, installedText);  // a missing list is an empty one
        (void)ReadConfigString(cfg, kActiveDictKey, activeText);
        DictList installed, active;
        installed.Parse(installedText);
        active.Parse(activeText);
        if (work.ApplyToLists(installed, active)) {
            WriteConfigString(cfg, kInstalledDictKey, installed.Join());
            KILL_POINT("completion-installed-written");
            WriteConfigString(cfg, kActiveDictKey, active.Join());
        }
        // An install cleans the ordered list after its list writes; so does its completion.
        if (!work.addInstalled.empty()) {
            std::wstring orderedText;
            (void)ReadConfigString(cfg, kOrderedDictKey, orderedText);
            WriteConfigString(cfg, kOrderedDictKey, CleanOrderedList(orderedText, installed.Join()));
        }
    }
    KILL_POINT("completion-lists-written");
    for (const std::wstring& path : work.deleteFiles)
        (void)DeleteDictFile(path);  // a file that cannot go now is unlisted, as after a plain failure
    if (!work.tmpFile.empty())
        DeleteFileIfPresent(work.tmpFile);
}

// Applies a record left by a killed command (lists, then files), logs it and
// removes it; keeps an unreadable one aside. Called with the install lock held.
void CompletePendingWork()
{
    const std::wstring path = RecordPath();
    if (path.empty())
        return;
    // A record killed before its rename describes work that is ready to be done and
    // supersedes the one in place, when it is whole; a torn one never took effect.
    const std::wstring staging = StagingPath(path);
    std::wstring text;
    PendingWork work;
    bool adopted = false;
    if (win::PathExists(staging)) {
        adopted = ReadRecordText(staging, text) && PendingWork::Parse(text, work) &&
                  ::MoveFileExW(staging.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!adopted)
            ::DeleteFileW(staging.c_str());
    }
    if (!adopted) {
        if (!win::PathExists(path))
            return;
        if (!ReadRecordText(path, text) || !PendingWork::Parse(text, work)) {
            const std::wstring aside = path + L".unreadable";
            ::MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING);
            XLog(kLogError, kLogTag, L"Kept an unreadable record of an interrupted command aside: %s", aside.c_str());
            return;
        }
    }
    ApplyPendingWork(work);
    XLog(kLogInfo, kLogTag, L"Completed an interrupted command.");
    ::DeleteFileW(path.c_str());
}

}  // namespace

void RecordPendingWork(const PendingWork& work)
{
    const std::wstring path = RecordPath();
    if (path.empty())
        return;
    const std::wstring staging = StagingPath(path);
    if (!WriteWholeFile(staging, work.Format())) {
        ::DeleteFileW(staging.c_str());
        return;
    }
    KILL_POINT("record-staged");
    if (!::MoveFileExW(staging.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ::DeleteFileW(staging.c_str());
}

void RecordTmpFile(const std::wstring& tmpPath)
{
    PendingWork work;
    work.tmpFile = tmpPath;
    RecordPendingWork(work);
}

void ClearPendingWork()
{
    const std::wstring path = RecordPath();
    if (!path.empty())
        DeleteFileIfPresent(path);
}

bool TakeInstallLock(InstallLock& lock)
{
    if (!AcquireInstallLock(lock))
        return false;
    CompletePendingWork();
    return true;
}
