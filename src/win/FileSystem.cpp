#include "win/FileSystem.h"

#include <windows.h>

#include <shlobj.h>

namespace win {

bool PathExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void ClearReadOnly(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

bool EnsureFolder(const std::wstring& folder)
{
    return PathExists(folder) || ::SHCreateDirectory(nullptr, folder.c_str()) == ERROR_SUCCESS;
}

}  // namespace win
