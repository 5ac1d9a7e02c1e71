#include "installer/PendingWorkRecord.h"

#include "host/XLog.h"
#include "installer/DictFolders.h"
#include "installer/KillPoint.h"
#include "installer/StoredFiles.h"
#include "win/FileSystem.h"
#include "win/UniqueResource.h"

#include <windows.h>

namespace {

// A record is a few names and paths; anything far larger is not one.
constexpr DWORD kMaxRecordBytes = 16 * 1024 * 1024;

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

bool ReadRecord(const std::wstring& path, PendingWork& work)
{
    std::wstring text;
    return ReadRecordText(path, text) && PendingWork::Parse(text, work);
}

}  // namespace

std::wstring PendingRecordFolder()
{
    std::wstring folder;
    return GetDictDir(true, folder) ? folder : std::wstring();
}

void RecordPendingWork(const PendingWork& work)
{
    const std::wstring folder = PendingRecordFolder();
    if (folder.empty())
        return;
    const std::wstring staging = folder + kPendingStagingName;
    const std::wstring text = work.Format();
    if (!WriteFileThrough(staging, text.data(), static_cast<uint32_t>(text.size() * sizeof(wchar_t)))) {
        DeleteFileIfPresent(staging);
        return;
    }
    KILL_POINT("record-staged");
    if (!RenameOver(staging, folder + kPendingRecordName))
        DeleteFileIfPresent(staging);
}

void RecordTmpFile(const std::wstring& tmpPath)
{
    PendingWork work;
    work.tmpFile = tmpPath;
    RecordPendingWork(work);
}

RecordState ReadPendingWork(const std::wstring& folder, PendingWork& work)
{
    const std::wstring path = folder + kPendingRecordName;
    const std::wstring staging = folder + kPendingStagingName;
    if (win::PathExists(staging)) {
        if (ReadRecord(staging, work) && RenameOver(staging, path))
            return RecordState::kRead;
        DeleteFileIfPresent(staging);
    }
    if (!win::PathExists(path))
        return RecordState::kNone;
    return ReadRecord(path, work) ? RecordState::kRead : RecordState::kUnreadable;
}

void KeepRecordAside(const std::wstring& folder)
{
    const std::wstring aside = folder + kPendingAsideName;
    (void)RenameOver(folder + kPendingRecordName, aside);
    XLog(kLogError, kLogTag, L"Kept an unreadable record of an interrupted command aside: %s", aside.c_str());
}

bool CanRemovePendingRecord(const std::wstring& folder) { return CanDeleteFile(folder + kPendingRecordName); }

bool RemovePendingRecord(const std::wstring& folder) { return DeleteFileIfPresent(folder + kPendingRecordName); }
