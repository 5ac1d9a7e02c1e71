// Settings store of the input method: values live in the registry below
// HKCU\Software\Pelvo\PelvoPinyin\Config (32-bit view). The key "/A/B/C" is the
// subkey A\B and the value C, stored as REG_SZ.

#include "OwnedHandle.h"

#include <HostComponentExports.h>
#include <IConfigureInst.h>
#include <IWinMsgCenterUser.h>
#include <windows.h>

#include <atomic>
#include <string>

namespace {

constexpr const wchar_t* kConfigRoot = L"Software\\Pelvo\\PelvoPinyin\\Config";

struct RegistryPlace {
    std::wstring subkey;  // below kConfigRoot, may be empty
    std::wstring value;
};

// "/A/B/C" -> {"A\B", "C"}; false for a key without a leading slash or a value name.
bool SplitKey(const wchar_t* key, RegistryPlace& place)
{
    if (!key || key[0] != L'/')
        return false;
    const std::wstring path = key + 1;
    const std::size_t slash = path.rfind(L'/');
    place.value = slash == std::wstring::npos ? path : path.substr(slash + 1);
    place.subkey = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    for (wchar_t& c : place.subkey) {
        if (c == L'/')
            c = L'\\';
    }
    return !place.value.empty() && place.subkey.find(L"\\\\") == std::wstring::npos &&
           (place.subkey.empty() || (place.subkey.front() != L'\\' && place.subkey.back() != L'\\'));
}

std::wstring FullKey(const RegistryPlace& place)
{
    return place.subkey.empty() ? std::wstring(kConfigRoot) : std::wstring(kConfigRoot) + L"\\" + place.subkey;
}

class CConfigureInst final : public IConfigureInst, public IWinMsgCenterUser {
public:
    long IME_CALL WriteString(const wchar_t* key, const wchar_t* value) override
    {
        RegistryPlace place;
        if (!SplitKey(key, place) || !value)
            return E_INVALIDARG;
        ime::OwnedKey opened;
        LONG status = ::RegCreateKeyExW(HKEY_CURRENT_USER, FullKey(place).c_str(), 0, nullptr, 0,
                                        KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, opened.Receive(), nullptr);
        if (status != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(status);
        const DWORD size = static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t));
        status =
            ::RegSetValueExW(opened.Get(), place.value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value), size);
        return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
    }

    bool IME_CALL ReadString(const wchar_t* key, IIMEBuffer* buffer) override
    {
        RegistryPlace place;
        if (!SplitKey(key, place) || !buffer)
            return false;
        ime::OwnedKey opened;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, FullKey(place).c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY,
                            opened.Receive()) != ERROR_SUCCESS)
            return false;
        DWORD type = 0;
        DWORD size = 0;
        if (::RegQueryValueExW(opened.Get(), place.value.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            type != REG_SZ)
            return false;
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        if (::RegQueryValueExW(opened.Get(), place.value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                               &size) != ERROR_SUCCESS ||
            type != REG_SZ)
            return false;
        text.resize(size / sizeof(wchar_t));
        const std::size_t end = text.find(L'\0');
        if (end != std::wstring::npos)
            text.resize(end);
        buffer->SetStringW(text.c_str());
        return true;
    }

    void* IME_CALL GetMsgCenter() override { return msgCenter_.load(); }

    long IME_CALL SetMsgCenter(void* msgCenter) override
    {
        msgCenter_.store(msgCenter);
        return S_OK;
    }

    long IME_CALL ReleaseMsgCenter() override
    {
        msgCenter_.store(nullptr);
        return S_OK;
    }

private:
    std::atomic<void*> msgCenter_{nullptr};
};

CConfigureInst& Instance()
{
    static CConfigureInst instance;
    return instance;
}

}  // namespace

extern "C" {

IConfigureInst* IME_CALL GetConfigureInst() { return &Instance(); }

// The store needs no set-up; every flag value succeeds.
int IME_CALL Init(int /*flags*/) { return 1; }

}  // extern "C"
