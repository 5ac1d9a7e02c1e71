#include "host/FileTypeRegistration.h"

#include "win/Path.h"
#include "win/UniqueResource.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>
#include <string>

namespace {

constexpr const wchar_t* kContentTypeRoot = L"MIME\\Database\\Content Type\\";
constexpr DWORD kOpenIsSafe = 0x10000;  // FTA_OpenIsSafe
constexpr const wchar_t* kDictDescription = L"Pelvo输入法分类词库";
constexpr const wchar_t* kDictVerbText = L"安装到Pelvo输入法(&I)";

DWORD TextBytes(const wchar_t* text) { return static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t)); }

// Opens or creates a key under HKEY_CLASSES_ROOT; invalid when that fails.
win::UniqueKey CreateClassKey(const std::wstring& path)
{
    win::UniqueKey key;
    ::RegCreateKeyW(HKEY_CLASSES_ROOT, path.c_str(), key.Receive());
    return key;
}

void SetDefaultText(const std::wstring& path, const wchar_t* text)
{
    if (win::UniqueKey key = CreateClassKey(path))
        ::RegSetValueW(key.Get(), L"", REG_SZ, text, TextBytes(text));
}

// Deleted by name from the root, with everything below it: deleting a key
// through its own handle with an empty subkey name leaves the key itself in
// place on some systems (Wine among them).
void DeleteClassKey(const std::wstring& path) { ::SHDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str()); }

void NotifyAssociationsChanged() { ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSHNOWAIT, nullptr, nullptr); }

}  // namespace

void RegisterFileType(const wchar_t* extension, const wchar_t* programPath, const wchar_t* className,
                      const wchar_t* contentType, const wchar_t* iconText, const wchar_t* description,
                      const wchar_t* verbText, bool setEditFlags)
{
    const std::wstring classKey = className;
    SetDefaultText(extension, className);

    if (win::UniqueKey key = CreateClassKey(classKey)) {
        ::RegSetValueW(key.Get(), L"", REG_SZ, description, TextBytes(description));
        if (setEditFlags) {
            const DWORD flags = kOpenIsSafe;
            ::RegSetValueExW(key.Get(), L"EditFlags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags),
                             sizeof(flags));
        }
    }

    SetDefaultText(classKey + L"\\DefaultIcon", iconText);

    if (win::UniqueKey key = CreateClassKey(classKey + L"\\Shell")) {
        ::RegSetValueW(key.Get(), L"", REG_SZ, L"Open", TextBytes(L"Open"));
        ::RegSetValueW(key.Get(), L"Open", REG_SZ, verbText, TextBytes(verbText));
    }

    // The program path stays unquoted; only the placeholder is quoted.
    const std::wstring command = std::wstring(programPath) + L" \"%1\"";
    SetDefaultText(classKey + L"\\Shell\\Open\\Command", command.c_str());

    if (contentType) {
        if (win::UniqueKey key = CreateClassKey(std::wstring(kContentTypeRoot) + contentType))
            ::RegSetValueExW(key.Get(), L"Extension", 0, REG_SZ, reinterpret_cast<const BYTE*>(extension),
                             TextBytes(extension));
    }

    NotifyAssociationsChanged();
}

void UnregisterFileType(const wchar_t* extension, const wchar_t* className, const wchar_t* contentType)
{
    DeleteClassKey(extension);
    DeleteClassKey(className);
    if (contentType)
        DeleteClassKey(std::wstring(kContentTypeRoot) + contentType);
    NotifyAssociationsChanged();
}

void RegisterDictFileType()
{
    const std::wstring& exePath = win::ExePath();
    const std::wstring iconText = exePath + L",0";
    RegisterFileType(kDictExtension, exePath.c_str(), kDictClassName, kDictContentType, iconText.c_str(),
                     kDictDescription, kDictVerbText, true);
}
