#include "win/Registry.h"

#include "win/Path.h"
#include "win/UniqueResource.h"

namespace win {

std::wstring ReadRegString(HKEY root, const wchar_t* key, const wchar_t* valueName)
{
    UniqueKey opened;
    if (::RegOpenKeyExW(root, key, 0, KEY_READ | KEY_WOW64_32KEY, opened.Receive()) != ERROR_SUCCESS)
        return {};
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
        return {};
    // The stored data may or may not carry its terminator.
    text.resize(size / sizeof(wchar_t));
    const std::size_t end = text.find(L'\0');
    if (end != std::wstring::npos)
        text.resize(end);
    return text;
}

}  // namespace win
