#include "dict/DictCapacity.h"

#include "dict/CellDictFile.h"
#include "host/ImeLocations.h"
#include "win/UniqueResource.h"

#include <io.h>
#include <windows.h>

uint32_t GetDictIndexSize()
{
    wchar_t folder[kPathUnits] = {};
    GetUserDataDir(folder, kPathUnits, true);
    const std::wstring indexPath = std::wstring(folder) + L"\\pvdictindex.dat";

    // No sharing: while the input method holds the index open it counts as empty.
    win::UniqueFile file(::CreateFileW(indexPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return 0;
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.Get(), &size))
        return 0;
    return static_cast<uint32_t>(size.QuadPart);
}

bool HasCapacityFor(const CellDictFile* dictFile)
{
    if (!dictFile)
        return false;
    if (dictFile->fileSize >= kMaxDictFileSize)
        return false;
    const uint64_t budget = uint64_t{GetDictIndexSize()} + 4 * uint64_t{dictFile->fileSize};
    return budget < kMaxIndexBudget;
}

int32_t DeleteDictFile(const std::wstring& path)
{
    if (::_waccess(path.c_str(), 0) != 0)
        return kResultNothingToDo;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return ::DeleteFileW(path.c_str()) ? kResultOk : kResultFail;
}
