#include "host/ImeLocations.h"

#include "win/FileSystem.h"
#include "win/UniqueResource.h"

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <mutex>

#ifdef _MSC_VER
#pragma comment(lib, "shlwapi.lib")
#pragma comment(lib, "shell32.lib")
#pragma comment(lib, "ole32.lib")
#endif

namespace {

constexpr const wchar_t* kImeKey = L"Software\\Pelvo\\PelvoPinyin";
constexpr const wchar_t* kFolderSuffix = L"\\Pelvo\\PelvoPinyin";
constexpr const wchar_t* kDefaultInstallDir = L"C:\\Program Files\\Pelvo\\PelvoPinyin";
constexpr const wchar_t* kInstallMarker = L"\\PelvoPinyin.exe";

std::size_t CopyToBuffer(const std::wstring& text, wchar_t* buffer, std::size_t capacity)
{
    if (!buffer || capacity == 0)
        return 0;
    const std::size_t count = text.size() < capacity - 1 ? text.size() : capacity - 1;
    text.copy(buffer, count);
    buffer[count] = L'\0';
    return count;
}

std::wstring QueryModulePath(HMODULE module)
{
    wchar_t path[kPathUnits] = {};
    const DWORD length = ::GetModuleFileNameW(module, path, static_cast<DWORD>(kPathUnits));
    return std::wstring(path, length < kPathUnits ? length : kPathUnits - 1);
}

HMODULE ModuleOfThisCode()
{
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ModuleOfThisCode), &module);
    return module;
}

std::wstring FolderOf(const std::wstring& path)
{
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool IsInstallDir(const std::wstring& folder) { return !folder.empty() && win::PathExists(folder + kInstallMarker); }

// The per-user data folder below LocalLow, through an export that older systems lack.
std::wstring KnownLocalLowFolder()
{
    using GetKnownFolderPathFn = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);
    HMODULE shell = ::GetModuleHandleW(L"shell32.dll");
    win::UniqueModule loaded;
    if (!shell) {
        loaded.Reset(::LoadLibraryW(L"shell32.dll"));
        shell = loaded.Get();
    }
    if (!shell)
        return {};
    auto getKnownFolderPath = reinterpret_cast<GetKnownFolderPathFn>(
        reinterpret_cast<void*>(::GetProcAddress(shell, "SHGetKnownFolderPath")));
    if (!getKnownFolderPath)
        return {};
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(getKnownFolderPath(FOLDERID_LocalAppDataLow, KF_FLAG_CREATE, nullptr, &path)) && path)
        folder = std::wstring(path) + kFolderSuffix;
    ::CoTaskMemFree(path);
    return folder;
}

std::wstring RoamingDataFolder()
{
    wchar_t path[kPathUnits] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) {
        path[0] = L'\0';
        ::ExpandEnvironmentStringsW(L"%APPDATA%", path, static_cast<DWORD>(kPathUnits));
        path[kPathUnits - 1] = L'\0';
    }
    if (path[0] == L'\0')
        return {};
    ::PathAppendW(path, kFolderSuffix + 1);
    return path;
}

// Steps shared by the folder lookups: nothing found gives 0, otherwise the folder
// is created when asked (failure ignored) and copied out.
std::size_t FinishFolder(const std::wstring& folder, wchar_t* buffer, std::size_t capacity, bool create)
{
    if (folder.empty()) {
        CopyToBuffer(std::wstring(), buffer, capacity);
        return 0;
    }
    if (create)
        (void)win::EnsureFolder(folder);  // a folder that cannot be made fails later, where it is used
    return CopyToBuffer(folder, buffer, capacity);
}

std::mutex cacheLock;

}  // namespace

std::wstring ReadRegString(HKEY root, const wchar_t* key, const wchar_t* valueName, const wchar_t* defaultValue)
{
    const std::wstring fallback = defaultValue ? defaultValue : L"";
    win::UniqueKey opened;
    if (::RegOpenKeyExW(root, key, 0, KEY_READ | KEY_WOW64_32KEY, opened.Receive()) != ERROR_SUCCESS)
        return fallback;
    // A path fits the first read; a longer value is read again at its own size.
    std::wstring text(kPathUnits, L'\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    LSTATUS status =
        ::RegQueryValueExW(opened.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    if (status == ERROR_MORE_DATA) {
        text.assign(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        status =
            ::RegQueryValueExW(opened.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    }
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return fallback;
    // The stored data may or may not carry its terminator.
    text.resize(size / sizeof(wchar_t));
    const std::size_t end = text.find(L'\0');
    if (end != std::wstring::npos)
        text.resize(end);
    return text;
}

bool IsVistaOrLater()
{
    static const bool result = [] {
        // GetVersionEx is deprecated and lies without a manifest beyond 6.2; the
        // kernel's own answer is enough for a test of "6 or more".
        using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
        OSVERSIONINFOW info = {};
        info.dwOSVersionInfoSize = sizeof(info);
        auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
        if (!rtlGetVersion || rtlGetVersion(&info) != 0)
            return false;
        return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 6;
    }();
    return result;
}

std::size_t GetCurrentModulePath(wchar_t* buffer, std::size_t capacity)
{
    static const std::wstring path = QueryModulePath(ModuleOfThisCode());
    return CopyToBuffer(path, buffer, capacity);
}

std::size_t GetExePath(wchar_t* buffer, std::size_t capacity)
{
    static const std::wstring path = QueryModulePath(nullptr);
    return CopyToBuffer(path, buffer, capacity);
}

std::wstring GetImeInstallDir()
{
    static std::wstring lastValid;

    const std::wstring registered = ReadRegString(HKEY_LOCAL_MACHINE, kImeKey, L"exePath", L"");
    wchar_t exePath[kPathUnits] = {};
    GetExePath(exePath, kPathUnits);
    const std::wstring exeFolder = FolderOf(exePath);

    for (const std::wstring& candidate : {registered, std::wstring(kDefaultInstallDir), exeFolder}) {
        if (IsInstallDir(candidate)) {
            std::lock_guard<std::mutex> hold(cacheLock);
            lastValid = candidate;
            return candidate;
        }
    }
    {
        std::lock_guard<std::mutex> hold(cacheLock);
        if (!lastValid.empty())
            return lastValid;
    }
    if (!registered.empty())
        return registered;
    if (!exeFolder.empty())
        return exeFolder;
    return kDefaultInstallDir;
}

std::size_t GetUserDataDir(wchar_t* buffer, std::size_t capacity, bool create)
{
    std::wstring folder = ReadRegString(HKEY_CURRENT_USER, kImeKey, L"AppData", L"");
    if (folder.empty() && IsVistaOrLater())
        folder = KnownLocalLowFolder();
    if (folder.empty())
        folder = RoamingDataFolder();
    return FinishFolder(folder, buffer, capacity, create);
}

std::size_t GetImeDir(wchar_t* buffer, std::size_t capacity, HMODULE module, bool create)
{
    std::wstring folder = ReadRegString(HKEY_LOCAL_MACHINE, kImeKey, L"exePath", L"");
    if (folder.empty()) {
        wchar_t path[kPathUnits] = {};
        if (::GetModuleFileNameW(module, path, static_cast<DWORD>(kPathUnits)) != 0) {
            path[kPathUnits - 1] = L'\0';
            ::PathRemoveFileSpecW(path);
            folder = path;
        }
    }
    return FinishFolder(folder, buffer, capacity, create);
}

std::size_t GetCommonDataDir(wchar_t* buffer, std::size_t capacity, bool create)
{
    std::wstring folder = ReadRegString(HKEY_LOCAL_MACHINE, kImeKey, L"CommonAppData", L"");
    if (folder.empty()) {
        wchar_t path[kPathUnits] = {};
        if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)) &&
            path[0] != L'\0') {
            ::PathAppendW(path, kFolderSuffix + 1);
            folder = path;
        }
    }
    return FinishFolder(folder, buffer, capacity, create);
}
