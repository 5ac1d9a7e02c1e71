#include "installer/DictCapacity.h"

#include "core/CellDictFile.h"
#include "host/ImeLocations.h"
#include "win/FileSystem.h"
#include "win/UniqueResource.h"

#include <windows.h>

namespace {

// The size test before the index is looked at: a file of 16 MiB or more never fits.
bool FitsSizeLimit(const CellDictFile* dictFile) { return dictFile && dictFile->fileSize < kMaxDictFileSize; }

bool FitsIndexBudget(const CellDictFile& dictFile, uint32_t indexSize)
{
    return uint64_t{indexSize} + 4 * uint64_t{dictFile.fileSize} < kMaxIndexBudget;
}

}  // namespace

std::wstring GetDictIndexPath()
{
    wchar_t folder[kPathUnits] = {};
    GetUserDataDir(folder, kPathUnits, true);
    return std::wstring(folder) + L"\\pvdictindex.dat";
}

uint32_t GetDictIndexSize() { return GetDictIndexSize(GetDictIndexPath()); }

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

bool HasCapacityFor(const CellDictFile* dictFile)
{
    return FitsSizeLimit(dictFile) && FitsIndexBudget(*dictFile, GetDictIndexSize());
}

bool BatchCapacityQuota::HasCapacityFor(const CellDictFile* dictFile)
{
    if (!FitsSizeLimit(dictFile))
        return false;
    if (indexPath_.empty())
        indexPath_ = GetDictIndexPath();
    return FitsIndexBudget(*dictFile, GetDictIndexSize(indexPath_));
}

int32_t DeleteDictFile(const std::wstring& path)
{
    if (!win::PathExists(path))
        return kResultNothingToDo;
    win::ClearReadOnly(path);
    return ::DeleteFileW(path.c_str()) ? kResultOk : kResultFail;
}
