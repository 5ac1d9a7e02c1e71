#include "installer/DictCapacity.h"

#include "core/CellDictFile.h"
#include "host/ImeLocations.h"
#include "win/UniqueResource.h"

#include <windows.h>

uint32_t GetDictIndexSize(const std::wstring& indexPath)
{
    // No sharing: while the input method holds the index open it counts as empty.
    win::UniqueFile file(
        ::CreateFileW(indexPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return 0;
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.Get(), &size))
        return 0;
    return static_cast<uint32_t>(size.QuadPart);
}

bool CapacityQuota::HasCapacityFor(const CellDictFile* dictFile)
{
    // A file of 16 MiB or more never fits, whatever the index.
    if (!dictFile || dictFile->fileSize >= kMaxDictFileSize)
        return false;
    if (indexPath_.empty())
        indexPath_ = UserDataFolder(true) + L"\\pvdictindex.dat";
    return uint64_t{GetDictIndexSize(indexPath_)} + 4 * uint64_t{dictFile->fileSize} < kMaxIndexBudget;
}
