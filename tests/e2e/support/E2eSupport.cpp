#include "support/E2eSupport.h"

#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <mutex>

namespace e2e {

namespace {

// "/A/B/C" -> {"Config\A\B", "C"}.
std::pair<std::wstring, std::wstring> SettingPlace(const std::wstring& setting)
{
    std::wstring key = kSettingsRegKey + setting.substr(0, setting.rfind(L'/'));
    std::replace(key.begin(), key.end(), L'/', L'\\');
    return {key, setting.substr(setting.rfind(L'/') + 1)};
}

// Where the log ended when each process started by this program began.
std::mutex logStartsLock;
std::map<DWORD, std::size_t> logStarts;

std::wstring XLogPath()
{
    std::wstring folder = GetRegString(HKEY_LOCAL_MACHINE, kImeRegKey, L"CommonAppData").value_or(L"");
    wchar_t common[MAX_PATH] = {};
    if (folder.empty() && SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, common)))
        folder = std::wstring(common) + L"\\Pelvo\\PelvoPinyin";
    return folder + L"\\log\\xlog.txt";
}

// "time<TAB>pid<TAB>0xLL<TAB>tag<TAB>indent and message"; nullopt for any other line.
std::optional<XLogLine> ParseXLogLine(const std::wstring& line)
{
    XLogLine parsed;
    wchar_t time[24] = {}, tag[64] = {};
    int start = -1;
    if (std::swscanf(line.c_str(), L"%23l[-0-9: .]\t%lu\t0x%2x\t%63l[^\t]\t%n", time, &parsed.pid, &parsed.level, tag,
                     &start) < 4 || start < 0 || std::wcslen(time) != 23)
        return std::nullopt;
    parsed.time = time;
    parsed.tag = tag;
    const std::size_t text = line.find_first_not_of(L' ', start);
    parsed.indent = static_cast<int>((text == std::wstring::npos ? line.size() : text) - start) / 2;
    parsed.message = line.substr(start + 2 * parsed.indent);
    return parsed;
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

std::wstring LexinstPath()
{
    return BinDir() + L"\\lexinst.exe";
}

int Process::Wait(DWORD timeoutMs)
{
    DWORD code = 0;
    if (!process_)
        return kRunFailed;
    if (::WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_.Get(), 0xDEAD);
        ::WaitForSingleObject(process_.Get(), 10000);
        return kTimedOut;
    }
    return ::GetExitCodeProcess(process_.Get(), &code) ? static_cast<int>(code) : kRunFailed;
}

Process Start(const std::wstring& exe, const std::wstring& args)
{
    std::wstring commandLine = QuoteArg(exe) + (args.empty() ? L"" : L" " + args);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    WIN32_FILE_ATTRIBUTE_DATA log;
    const std::size_t logStart =
        ::GetFileAttributesExW(XLogPath().c_str(), GetFileExInfoStandard, &log) ? log.nFileSizeLow : 0;
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return {};
    ::CloseHandle(info.hThread);
    std::lock_guard<std::mutex> hold(logStartsLock);
    logStarts[info.dwProcessId] = logStart;
    return Process(info.hProcess, info.dwProcessId);
}

RunResult Run(const std::wstring& exe, const std::wstring& args, DWORD timeoutMs)
{
    Process process = Start(exe, args);
    return {process.Wait(timeoutMs), process.Pid()};
}

std::wstring CopyLexinst(const std::wstring& dir, std::vector<std::wstring> dlls)
{
    dlls.push_back(L"lexinst.exe");
    for (const std::wstring& name : dlls) {
        if (!::CopyFileW((BinDir() + L"\\" + name).c_str(), (dir + L"\\" + name).c_str(), FALSE))
            return {};
    }
    return dir + L"\\lexinst.exe";
}

// ---- files ----------------------------------------------------------------

TempDir::TempDir(const std::wstring& namePart)
{
    static LONG counter = 0;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    for (int attempt = 0; attempt < 1000 && path_.empty(); ++attempt) {
        const std::wstring candidate = temp + namePart + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                       std::to_wstring(::InterlockedIncrement(&counter));
        if (::CreateDirectoryW(candidate.c_str(), nullptr))
            path_ = candidate;
    }
}

TempDir::~TempDir()
{
    if (!path_.empty())
        RemoveTree(path_);
}

bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && (bytes.empty() || ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                                 &written, nullptr)) &&
           written == bytes.size();
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path)
{
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       0, nullptr));
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    DWORD got = 0;
    BOOL ok = FALSE;
    while (file && (ok = ::ReadFile(file.Get(), chunk, sizeof(chunk), &got, nullptr)) && got > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    return ok ? std::optional(bytes) : std::nullopt;
}

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

bool RemoveTree(const std::wstring& dir)
{
    for (const std::wstring& name : ListFolder(dir)) {
        const std::wstring path = dir + L"\\" + name;
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!::DeleteFileW(path.c_str()))
            RemoveTree(path);
    }
    ::SetFileAttributesW(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(dir.c_str());
    return !FileExists(dir);
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
    if (::RegQueryValueExW(opened.Get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()),
                           &size) != ERROR_SUCCESS)
        return std::nullopt;
    return text.substr(0, text.find(L'\0'));
}

void DeleteRegTree(HKEY root, const std::wstring& key, REGSAM view)
{
    win::UniqueKey opened;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_ALL_ACCESS | view, opened.Receive()) == ERROR_SUCCESS)
        ::RegDeleteTreeW(opened.Get(), nullptr);
    ::RegDeleteKeyExW(root, key.c_str(), view, 0);
}

// Sets a REG_SZ value, or with nullopt removes it.
static void PutRegString(HKEY root, const std::wstring& key, const std::wstring& name,
                         const std::optional<std::wstring>& value, REGSAM view)
{
    win::UniqueKey opened;
    if (value)
        SetRegString(root, key, name, *value, REG_SZ, view);
    else if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_SET_VALUE | view, opened.Receive()) == ERROR_SUCCESS)
        ::RegDeleteValueW(opened.Get(), name.c_str());
}

ScopedRegValue::ScopedRegValue(HKEY root, std::wstring key, std::wstring name,
                               const std::optional<std::wstring>& value, REGSAM view)
    : root_(root), key_(std::move(key)), name_(std::move(name)), view_(view),
      previous_(GetRegString(root_, key_, name_, view_))
{
    PutRegString(root_, key_, name_, value, view_);
}

ScopedRegValue::~ScopedRegValue()
{
    PutRegString(root_, key_, name_, previous_, view_);
}

// ---- settings -------------------------------------------------------------

bool SetSetting(const std::wstring& setting, const std::wstring& value, DWORD type)
{
    const auto [key, name] = SettingPlace(setting);
    return SetRegString(HKEY_CURRENT_USER, key, name, value, type);
}

std::optional<std::wstring> GetSetting(const std::wstring& setting)
{
    const auto [key, name] = SettingPlace(setting);
    return GetRegString(HKEY_CURRENT_USER, key, name);
}

void DeleteSetting(const std::wstring& setting)
{
    const auto [key, name] = SettingPlace(setting);
    PutRegString(HKEY_CURRENT_USER, key, name, std::nullopt, KEY_WOW64_32KEY);
}

void ClearSettings()
{
    DeleteRegTree(HKEY_CURRENT_USER, kSettingsRegKey);
}

// ---- the shared log ---------------------------------------------------------

std::string ToUtf8(const std::wstring& text)
{
    const int size = static_cast<int>(text.size());
    std::string narrow(::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), static_cast<int>(narrow.size()), nullptr,
                          nullptr);
    return narrow;
}

std::vector<XLogLine> ReadXLog(DWORD pid)
{
    std::size_t from = 0;
    if (pid != 0) {
        std::lock_guard<std::mutex> hold(logStartsLock);
        from = logStarts.contains(pid) ? logStarts[pid] : 0;
    }
    const std::vector<uint8_t> bytes = ReadFileBytes(XLogPath()).value_or(std::vector<uint8_t>{});
    const std::string text(bytes.begin() + static_cast<std::ptrdiff_t>(std::min(from, bytes.size())), bytes.end());
    std::wstring wide(text.size(), L'\0');
    wide.resize(::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                      static_cast<int>(wide.size())));
    std::vector<XLogLine> lines;
    for (std::size_t start = 0, end; start < wide.size(); start = end + 1) {
        end = std::min(wide.find(L'\n', start), wide.size());
        const auto parsed = ParseXLogLine(wide.substr(start, end - start - (end > start && wide[end - 1] == L'\r')));
        if (parsed && (pid == 0 || parsed->pid == pid))
            lines.push_back(*parsed);
    }
    return lines;
}

}  // namespace e2e
