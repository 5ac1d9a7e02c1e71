#include "support/E2eSupport.h"

#include <algorithm>
#include <cwchar>
#include <sstream>

namespace e2e {

namespace {

constexpr const wchar_t* kSettingsRegKey = L"Software\\Pelvo\\PelvoPinyin\\Config";

// "/A/B/C" -> {"...\Config\A\B", "C"}.
std::pair<std::wstring, std::wstring> SettingPlace(const std::wstring& setting)
{
    std::wstring key = kSettingsRegKey + setting.substr(0, setting.rfind(L'/'));
    std::replace(key.begin(), key.end(), L'/', L'\\');
    return {key, setting.substr(setting.rfind(L'/') + 1)};
}

// Sets a REG_SZ value, or with nullopt removes it.
void PutRegString(HKEY root, const std::wstring& key, const std::wstring& name,
                  const std::optional<std::wstring>& value, REGSAM view)
{
    win::UniqueKey opened;
    if (value)
        SetRegString(root, key, name, *value, REG_SZ, view);
    else if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_SET_VALUE | view, opened.Receive()) == ERROR_SUCCESS)
        ::RegDeleteValueW(opened.Get(), name.c_str());
}

}  // namespace

// ---- programs -------------------------------------------------------------

std::wstring BinDir()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring exe = path;
    return exe.substr(0, exe.rfind(L'\\'));
}

int Process::Wait(DWORD timeoutMs)
{
    DWORD code = 0;
    if (!process_)
        return -1;
    if (::WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_.Get(), 0xDEAD);
        ::WaitForSingleObject(process_.Get(), 10000);
        return -2;
    }
    return ::GetExitCodeProcess(process_.Get(), &code) ? static_cast<int>(code) : -1;
}

Process Start(const std::wstring& exe, const std::wstring& args)
{
    std::wstring commandLine = QuoteArgument(exe) + (args.empty() ? L"" : L" " + args);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return {};
    ::CloseHandle(info.hThread);
    return Process(info.hProcess, info.dwProcessId);
}

std::wstring CopyLexinst(const std::wstring& dir, const std::wstring& without)
{
    for (const wchar_t* name : {L"lexinst.exe", L"Setvault.dll", L"Notehub.dll", L"pvxlog.dll"}) {
        if (name != without && !::CopyFileW((BinDir() + L"\\" + name).c_str(), (dir + L"\\" + name).c_str(), FALSE))
            return {};
    }
    return dir + L"\\lexinst.exe";
}

// ---- files ----------------------------------------------------------------

std::vector<std::wstring> ListFolder(const std::wstring& dir, const std::wstring& pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    win::UniqueFind find(::FindFirstFileW((dir + L"\\" + pattern).c_str(), &data));
    for (bool more = find.IsValid(); more; more = ::FindNextFileW(find.Get(), &data)) {
        if (std::wcscmp(data.cFileName, L".") != 0 && std::wcscmp(data.cFileName, L"..") != 0)
            names.push_back(data.cFileName);
    }
    return names;
}

// ---- registry -------------------------------------------------------------

bool SetRegString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value, DWORD type,
                  REGSAM view)
{
    win::UniqueKey opened;
    return ::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, opened.Receive(),
                             nullptr) == ERROR_SUCCESS &&
           ::RegSetValueExW(opened.Get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::optional<std::wstring> GetRegString(HKEY root, const std::wstring& key, const std::wstring& name, REGSAM view)
{
    win::UniqueKey opened;
    DWORD type = 0, size = 0;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | view, opened.Receive()) != ERROR_SUCCESS ||
        ::RegQueryValueExW(opened.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(opened.Get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return text.substr(0, text.find(L'\0'));
}

ScopedRegValue::ScopedRegValue(HKEY root, std::wstring key, std::wstring name, const std::optional<std::wstring>& value,
                               REGSAM view)
    : root_(root),
      key_(std::move(key)),
      name_(std::move(name)),
      view_(view),
      previous_(GetRegString(root_, key_, name_, view_))
{
    PutRegString(root_, key_, name_, value, view_);
}

ScopedRegValue::~ScopedRegValue() { PutRegString(root_, key_, name_, previous_, view_); }

// ---- settings -------------------------------------------------------------

void SetSetting(const std::wstring& setting, const std::wstring& value, DWORD type)
{
    const auto [key, name] = SettingPlace(setting);
    if (value == L"<absent>")
        PutRegString(HKEY_CURRENT_USER, key, name, std::nullopt, KEY_WOW64_32KEY);
    else
        SetRegString(HKEY_CURRENT_USER, key, name, value, type);
}

std::wstring Setting(const std::wstring& setting)
{
    const auto [key, name] = SettingPlace(setting);
    return GetRegString(HKEY_CURRENT_USER, key, name).value_or(L"<absent>");
}

void ClearSettings() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsRegKey); }

// ---- the shared log ---------------------------------------------------------

std::string ToUtf8(const std::wstring& text)
{
    const int size = static_cast<int>(text.size());
    std::string narrow(::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), static_cast<int>(narrow.size()), nullptr,
                          nullptr);
    return narrow;
}

std::vector<std::wstring> ReadLog(const std::wstring& path)
{
    const ByteVector bytes = ReadBytes(path).value_or(ByteVector{});
    std::wstring wide(bytes.size(), L'\0');
    wide.resize(::MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(bytes.data()),
                                      static_cast<int>(bytes.size()), wide.data(), static_cast<int>(wide.size())));
    std::vector<std::wstring> lines;
    std::wistringstream in(wide);
    // "time<TAB>pid<TAB>0xLL<TAB>tag<TAB>indent and message<CR>": the indent is two spaces a level.
    for (std::wstring line, time, id, level, tag, message; std::getline(in, line);) {
        std::wistringstream fields(line);
        std::getline(std::getline(std::getline(fields, time, L'\t'), id, L'\t'), level, L'\t');
        if (std::getline(std::getline(fields, tag, L'\t'), message, L'\r') && level.size() == 4) {
            const std::size_t indent = std::min(message.find_first_not_of(L' '), message.size()) / 2 * 2;
            lines.push_back(level.substr(2) + L" " + tag + L" " + message.substr(indent));
        }
    }
    return lines;
}

}  // namespace e2e
