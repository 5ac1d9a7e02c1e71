#include "host/ImeLocations.h"

#include "win/FileSystem.h"
#include "win/Registry.h"
#include "win/ShellFolders.h"
#include "win/WindowsVersion.h"

#include <knownfolders.h>

#include <mutex>

namespace {

constexpr const wchar_t* kImeKey = L"Software\\Pelvo\\PelvoPinyin";
constexpr const wchar_t* kFolderSuffix = L"Pelvo\\PelvoPinyin";
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

bool IsInstallDir(const std::wstring& folder) { return !folder.empty() && win::PathExists(folder + kInstallMarker); }

// A system folder with the input method's suffix; empty when the system gave none.
std::wstring WithSuffix(const std::wstring& systemFolder)
{
    return systemFolder.empty() ? std::wstring() : win::AppendPath(systemFolder, kFolderSuffix);
}

std::wstring RoamingDataFolder()
{
    std::wstring folder = win::ShellFolderPath(CSIDL_APPDATA);
    if (folder.empty())
        folder = win::ExpandEnvironment(L"%APPDATA%");
    return WithSuffix(folder);
}

// Found or not, a folder is made when asked (failure ignored) and handed on.
std::wstring Finish(std::wstring folder, bool create)
{
    if (create && !folder.empty())
        (void)win::EnsureFolder(folder);  // a folder that cannot be made fails later, where it is used
    return folder;
}

std::mutex cacheLock;

}  // namespace

std::wstring GetImeInstallDir()
{
    static std::wstring lastValid;

    const std::wstring registered = win::ReadRegString(HKEY_LOCAL_MACHINE, kImeKey, L"exePath");
    const std::wstring exeFolder = win::ParentFolder(win::ExePath());

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

std::wstring UserDataFolder(bool create)
{
    std::wstring folder = win::ReadRegString(HKEY_CURRENT_USER, kImeKey, L"AppData");
    if (folder.empty() && win::IsWindowsVersionAtLeast(6, 0))
        folder = WithSuffix(win::KnownFolderPath(FOLDERID_LocalAppDataLow, KF_FLAG_CREATE));
    if (folder.empty())
        folder = RoamingDataFolder();
    return Finish(std::move(folder), create);
}

std::wstring ImeFolder(bool create)
{
    std::wstring folder = win::ReadRegString(HKEY_LOCAL_MACHINE, kImeKey, L"exePath");
    if (folder.empty())
        folder = win::ParentFolder(win::ExePath());
    return Finish(std::move(folder), create);
}

std::wstring CommonDataFolder(bool create)
{
    std::wstring folder = win::ReadRegString(HKEY_LOCAL_MACHINE, kImeKey, L"CommonAppData");
    if (folder.empty())
        folder = WithSuffix(win::ShellFolderPath(CSIDL_COMMON_APPDATA));
    return Finish(std::move(folder), create);
}

std::size_t GetUserDataDir(wchar_t* buffer, std::size_t capacity, bool create)
{
    return CopyToBuffer(UserDataFolder(create), buffer, capacity);
}

std::size_t GetExePath(wchar_t* buffer, std::size_t capacity) { return CopyToBuffer(win::ExePath(), buffer, capacity); }
