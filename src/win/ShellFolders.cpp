#include "win/ShellFolders.h"

#include "win/Module.h"
#include "win/Path.h"
#include "win/UniqueResource.h"

namespace win {

std::wstring KnownFolderPath(REFKNOWNFOLDERID folder, DWORD flags)
{
    using GetKnownFolderPathFn = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);
    constexpr const wchar_t* kShell = L"shell32.dll";
    // Looked up at run time: older systems lack the export. A shell32 that the
    // process has not loaded yet is loaded for the call only.
    UniqueModule loaded;
    HMODULE shell = ::GetModuleHandleW(kShell);
    if (!shell) {
        loaded = LoadModule(kShell);
        shell = loaded.Get();
    }
    const auto getKnownFolderPath = Export<GetKnownFolderPathFn>(shell, "SHGetKnownFolderPath");
    if (!getKnownFolderPath)
        return {};
    PWSTR path = nullptr;
    const HRESULT result = getKnownFolderPath(folder, flags, nullptr, &path);
    const UniqueCoTaskMemory owner(path);
    return SUCCEEDED(result) && path ? std::wstring(path) : std::wstring();
}

std::wstring ShellFolderPath(int csidl)
{
    return PathFromBuffer([csidl](wchar_t* buffer, DWORD) {
        return SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer));
    });
}

std::wstring ExpandEnvironment(const wchar_t* text)
{
    return PathFromBuffer([text](wchar_t* buffer, DWORD units) {
        const DWORD needed = ::ExpandEnvironmentStringsW(text, buffer, units);
        return needed != 0 && needed <= units;
    });
}

}  // namespace win
