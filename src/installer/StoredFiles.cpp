#include "installer/StoredFiles.h"

#include "host/XLog.h"
#include "installer/KillPoint.h"
#include "win/FileSystem.h"
#include "win/Path.h"
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

}  // namespace

std::wstring MakeTempFilePath(const std::wstring& dir)
{
    // The name is written into a buffer of win::kPathUnits: a folder longer than the
    // call allows fails here, as on Windows, rather than overrunning it.
    constexpr std::size_t kTempNameUnits = 14;
    if (dir.size() > win::kPathUnits - kTempNameUnits)
        return {};
    wchar_t path[win::kPathUnits] = {};
    if (!::GetTempFileNameW(dir.c_str(), L"tmp", 0, path))
        return {};
    return path;
}

bool DeleteFileIfPresent(const std::wstring& path) { return !win::PathExists(path) || ::DeleteFileW(path.c_str()); }

int32_t DeleteDictFile(const std::wstring& path)
{
    if (!win::PathExists(path))
        return kResultNothingToDo;
    win::ClearReadOnly(path);
    return ::DeleteFileW(path.c_str()) ? kResultOk : kResultFail;
}

bool CanDeleteFile(const std::wstring& path)
{
    if (!win::PathExists(path))
        return true;
    win::ClearReadOnly(path);
    const win::UniqueFile file(::CreateFileW(path.c_str(), DELETE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
    return file.IsValid();
}

bool WriteFileThrough(const std::wstring& path, const void* bytes, uint32_t size)
{
    const win::UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), bytes, size, &written, nullptr) && written == size &&
           ::FlushFileBuffers(file.Get());
}

bool RenameOver(const std::wstring& from, const std::wstring& to)
{
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool InstallDictFile(const std::wstring& srcPath, const std::wstring& destPath, const std::wstring& tmpPath)
{
    XLog(kLogTrace, kFuncTag, L"FUNCTION: %s(destPath.c_str()=%s)", L"CellDictInstaller::InstallDictFile",
         destPath.c_str());
    FunctionTrace trace;

    if (!CopyThrough(srcPath, tmpPath)) {
        XLog(kLogError, kLogTag, L"CopyFile error(%u): %s -> %s", ::GetLastError(), srcPath.c_str(), tmpPath.c_str());
        return false;
    }
    KILL_POINT("copied");

    if (!CanDeleteFile(destPath)) {
        XLog(kLogError, kLogTag, L"error replacing old dict file(%u): %s", ::GetLastError(), destPath.c_str());
        return false;
    }

    // The input method's cache of the old file; a read-only one is kept on purpose.
    const std::wstring datPath = destPath + L".dat";
    if (::_waccess(datPath.c_str(), 2) == 0)
        ::DeleteFileW(datPath.c_str());

    if (!RenameOver(tmpPath, destPath)) {
        XLog(kLogError, kLogTag, L"MoveFile error(%u): %s -> %s", ::GetLastError(), tmpPath.c_str(), destPath.c_str());
        return false;
    }
    KILL_POINT("replaced");
    return true;
}

bool StagingFile::Renew()
{
    const win::UniqueFile file(
        ::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file)
        return true;
    path_ = MakeTempFilePath(dir_);
    return false;
}

void StagingFile::Remove()
{
    if (!path_.empty())
        DeleteFileIfPresent(path_);
}
