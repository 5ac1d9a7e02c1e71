#include "support/E2eSupport.h"

#include "support/ArgumentQuoting.h"

#include <shlobj.h>

#include <map>
#include <mutex>
#include <utility>

namespace e2e {

namespace {

std::wstring FolderOf(const std::wstring& path)
{
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// "/A/B/C" -> {"Config\A\B", "C"}.
bool SettingPlace(const std::wstring& setting, std::wstring& key, std::wstring& name)
{
    if (setting.empty() || setting[0] != L'/')
        return false;
    const std::size_t slash = setting.rfind(L'/');
    name = setting.substr(slash + 1);
    std::wstring sub = setting.substr(1, slash == 0 ? 0 : slash - 1);
    for (wchar_t& c : sub) {
        if (c == L'/')
            c = L'\\';
    }
    key = sub.empty() ? std::wstring(kSettingsRegKey) : std::wstring(kSettingsRegKey) + L"\\" + sub;
    return !name.empty();
}

// Where the log stood when each process started by this program began.
std::mutex logStartsLock;
std::map<DWORD, uint64_t> logStarts;

void RememberLogStart(DWORD pid, uint64_t offset)
{
    std::lock_guard<std::mutex> hold(logStartsLock);
    logStarts[pid] = offset;
}

uint64_t LogStartOf(DWORD pid)
{
    std::lock_guard<std::mutex> hold(logStartsLock);
    const auto found = logStarts.find(pid);
    return found == logStarts.end() ? 0 : found->second;
}

std::wstring FromUtf8(const std::string& text)
{
    if (text.empty())
        return {};
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
    return wide;
}

std::wstring XLogPath()
{
    std::wstring folder = GetRegString(HKEY_LOCAL_MACHINE, kImeRegKey, L"CommonAppData").value_or(L"");
    if (folder.empty()) {
        wchar_t common[MAX_PATH] = {};
        if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common)))
            folder = std::wstring(common) + L"\\Pelvo\\PelvoPinyin";
    }
    return folder + L"\\log\\xlog.txt";
}

uint64_t XLogSize()
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(XLogPath().c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<std::wstring> SplitLines(const std::string& text)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(FromUtf8(line));
        start = end + 1;
    }
    return lines;
}

std::string ReadLogBytes(const std::wstring& path, uint64_t from = 0)
{
    const auto bytes = ReadFileBytes(path);
    if (!bytes || from >= bytes->size())
        return {};
    return std::string(bytes->begin() + static_cast<std::ptrdiff_t>(from), bytes->end());
}

}  // namespace

// ---- programs -------------------------------------------------------------

std::wstring BinDir()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return FolderOf(path);
}

std::wstring LexinstPath()
{
    return BinDir() + L"\\lexinst.exe";
}

std::wstring QuoteArg(const std::wstring& arg)
{
    return QuoteArgument(arg);
}

int Process::Wait(DWORD timeoutMs)
{
    if (!process_)
        return kRunFailed;
    if (::WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_.Get(), 0xDEAD);
        ::WaitForSingleObject(process_.Get(), 10000);
        return kTimedOut;
    }
    DWORD code = 0;
    if (!::GetExitCodeProcess(process_.Get(), &code))
        return kRunFailed;
    return static_cast<int>(code);
}

Process Start(const std::wstring& exe, const std::wstring& args, const std::wstring& workDir)
{
    std::wstring commandLine = QuoteArg(exe);
    if (!args.empty())
        commandLine += L" " + args;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    const uint64_t logStart = XLogSize();
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workDir.empty() ? nullptr : workDir.c_str(), &startup, &info))
        return {};
    ::CloseHandle(info.hThread);
    RememberLogStart(info.dwProcessId, logStart);
    return Process(info.hProcess, info.dwProcessId);
}

RunResult Run(const std::wstring& exe, const std::wstring& args, DWORD timeoutMs, const std::wstring& workDir)
{
    Process process = Start(exe, args, workDir);
    RunResult result;
    result.pid = process.Pid();
    result.exitCode = process.Wait(timeoutMs);
    return result;
}

RunResult RunLexinst(const std::wstring& args, DWORD timeoutMs)
{
    return Run(LexinstPath(), args, timeoutMs);
}

std::vector<std::wstring> AllComponents()
{
    return {kSetvaultDll, kNotehubDll, kPvxlogDll};
}

std::wstring CopyLexinst(const std::wstring& dir, const std::vector<std::wstring>& dlls)
{
    const std::wstring target = dir + L"\\lexinst.exe";
    if (!::CopyFileW(LexinstPath().c_str(), target.c_str(), FALSE))
        return {};
    for (const std::wstring& dll : dlls) {
        if (!::CopyFileW((BinDir() + L"\\" + dll).c_str(), (dir + L"\\" + dll).c_str(), FALSE))
            return {};
    }
    return target;
}

// ---- files ----------------------------------------------------------------

TempDir::TempDir(const std::wstring& namePart)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring base = temp;
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    static LONG counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::wstring candidate = base + L"\\" + namePart + L"-" + std::to_wstring(::GetCurrentProcessId()) +
                                       L"-" + std::to_wstring(::InterlockedIncrement(&counter));
        if (::CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
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
    win::UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && (bytes.empty() || ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                                 &written, nullptr)) &&
           written == bytes.size();
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path)
{
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file.Get(), chunk, sizeof(chunk), &got, nullptr) != FALSE) && got > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    if (!ok)
        return std::nullopt;
    return bytes;
}

std::vector<std::wstring> ListFolder(const std::wstring& dir, const std::wstring& pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    win::UniqueFind find(::FindFirstFileW((dir + L"\\" + pattern).c_str(), &data));
    if (!find)
        return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(find.Get(), &data));
    return names;
}

bool RemoveTree(const std::wstring& dir)
{
    for (const std::wstring& name : ListFolder(dir)) {
        const std::wstring path = dir + L"\\" + name;
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            RemoveTree(path);
        } else {
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path.c_str());
        }
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
    if (::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, opened.Receive(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    const DWORD size = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(opened.Get(), name.empty() ? nullptr : name.c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(value.c_str()), size) == ERROR_SUCCESS;
}

namespace {

// Raw data and type of a value; false when the key or value is missing.
bool QueryValue(HKEY root, const std::wstring& key, const std::wstring& name, REGSAM view, DWORD& type,
                std::vector<BYTE>& data)
{
    win::UniqueKey opened;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | view, opened.Receive()) != ERROR_SUCCESS)
        return false;
    const wchar_t* valueName = name.empty() ? nullptr : name.c_str();
    DWORD size = 0;
    if (::RegQueryValueExW(opened.Get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    data.assign(size, 0);
    return ::RegQueryValueExW(opened.Get(), valueName, nullptr, &type, data.data(), &size) == ERROR_SUCCESS &&
           (data.resize(size), true);
}

}  // namespace

std::optional<std::wstring> GetRegString(HKEY root, const std::wstring& key, const std::wstring& name, REGSAM view)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!QueryValue(root, key, name, view, type, data) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::copy(data.begin(), data.begin() + text.size() * sizeof(wchar_t), reinterpret_cast<BYTE*>(text.data()));
    const std::size_t end = text.find(L'\0');
    if (end != std::wstring::npos)
        text.resize(end);
    return text;
}

std::optional<DWORD> GetRegDword(HKEY root, const std::wstring& key, const std::wstring& name, REGSAM view)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!QueryValue(root, key, name, view, type, data) || type != REG_DWORD || data.size() != sizeof(DWORD))
        return std::nullopt;
    DWORD value = 0;
    std::copy(data.begin(), data.end(), reinterpret_cast<BYTE*>(&value));
    return value;
}

std::optional<DWORD> GetRegType(HKEY root, const std::wstring& key, const std::wstring& name, REGSAM view)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!QueryValue(root, key, name, view, type, data))
        return std::nullopt;
    return type;
}

bool RegKeyExists(HKEY root, const std::wstring& key, REGSAM view)
{
    win::UniqueKey opened;
    return ::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | view, opened.Receive()) == ERROR_SUCCESS;
}

void DeleteRegValue(HKEY root, const std::wstring& key, const std::wstring& name, REGSAM view)
{
    win::UniqueKey opened;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_SET_VALUE | view, opened.Receive()) == ERROR_SUCCESS)
        ::RegDeleteValueW(opened.Get(), name.c_str());
}

void DeleteRegTree(HKEY root, const std::wstring& key, REGSAM view)
{
    win::UniqueKey opened;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_ALL_ACCESS | view, opened.Receive()) != ERROR_SUCCESS)
        return;
    ::RegDeleteTreeW(opened.Get(), nullptr);
    const std::size_t slash = key.rfind(L'\\');
    if (slash == std::wstring::npos) {
        ::RegDeleteKeyExW(root, key.c_str(), view, 0);
        return;
    }
    win::UniqueKey parent;
    if (::RegOpenKeyExW(root, key.substr(0, slash).c_str(), 0, KEY_ALL_ACCESS | view, parent.Receive()) ==
        ERROR_SUCCESS)
        ::RegDeleteKeyExW(parent.Get(), key.substr(slash + 1).c_str(), view, 0);
}

ScopedRegValue::ScopedRegValue(HKEY root, std::wstring key, std::wstring name,
                               const std::optional<std::wstring>& value, REGSAM view)
    : root_(root), key_(std::move(key)), name_(std::move(name)), view_(view),
      previous_(GetRegString(root_, key_, name_, view_))
{
    if (value)
        SetRegString(root_, key_, name_, *value, REG_SZ, view_);
    else
        DeleteRegValue(root_, key_, name_, view_);
}

ScopedRegValue::~ScopedRegValue()
{
    if (previous_)
        SetRegString(root_, key_, name_, *previous_, REG_SZ, view_);
    else
        DeleteRegValue(root_, key_, name_, view_);
}

// ---- settings -------------------------------------------------------------

bool SetSetting(const std::wstring& setting, const std::wstring& value)
{
    std::wstring key, name;
    return SettingPlace(setting, key, name) && SetRegString(HKEY_CURRENT_USER, key, name, value);
}

std::optional<std::wstring> GetSetting(const std::wstring& setting)
{
    std::wstring key, name;
    if (!SettingPlace(setting, key, name))
        return std::nullopt;
    return GetRegString(HKEY_CURRENT_USER, key, name);
}

void DeleteSetting(const std::wstring& setting)
{
    std::wstring key, name;
    if (SettingPlace(setting, key, name))
        DeleteRegValue(HKEY_CURRENT_USER, key, name);
}

void ClearSettings()
{
    DeleteRegTree(HKEY_CURRENT_USER, kSettingsRegKey);
}

// ---- the shared log ---------------------------------------------------------

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), bytes, nullptr,
                          nullptr);
    return narrow;
}

std::vector<std::wstring> ReadXLogText()
{
    return SplitLines(ReadLogBytes(XLogPath()));
}

std::optional<XLogLine> ParseXLogLine(const std::wstring& line)
{
    std::vector<std::wstring> fields;
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t tab = line.find(L'\t', start);
        if (tab == std::wstring::npos)
            return std::nullopt;
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    XLogLine parsed;
    parsed.time = fields[0];
    if (parsed.time.size() != 23 || fields[2].size() != 4 || fields[2].compare(0, 2, L"0x") != 0)
        return std::nullopt;
    wchar_t* end = nullptr;
    parsed.pid = static_cast<DWORD>(std::wcstoul(fields[1].c_str(), &end, 10));
    if (fields[1].empty() || *end != L'\0')
        return std::nullopt;
    parsed.level = static_cast<uint32_t>(std::wcstoul(fields[2].c_str() + 2, &end, 16));
    if (*end != L'\0')
        return std::nullopt;
    parsed.tag = fields[3];
    std::wstring message = line.substr(start);
    std::size_t spaces = 0;
    while (spaces + 2 <= message.size() && message.compare(spaces, 2, L"  ") == 0)
        spaces += 2;
    parsed.indent = static_cast<int>(spaces / 2);
    parsed.message = message.substr(spaces);
    return parsed;
}

namespace {

std::vector<XLogLine> ParseXLogText(const std::string& text, DWORD pid)
{
    std::vector<XLogLine> lines;
    for (const std::wstring& line : SplitLines(text)) {
        auto parsed = ParseXLogLine(line);
        if (parsed && (pid == 0 || parsed->pid == pid))
            lines.push_back(std::move(*parsed));
    }
    return lines;
}

}  // namespace

std::vector<XLogLine> ReadXLog(DWORD pid)
{
    return ParseXLogText(ReadLogBytes(XLogPath(), pid == 0 ? 0 : LogStartOf(pid)), pid);
}

std::vector<XLogLine> ReadXLogIn(const std::wstring& folder, DWORD pid)
{
    return ParseXLogText(ReadLogBytes(folder + L"\\log\\xlog.txt"), pid);
}

}  // namespace e2e
