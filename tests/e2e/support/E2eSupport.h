#pragma once
// Helpers for whole-program scenarios: they run the real lexinst.exe, found beside
// the test program, with the stand-in components, inside the test run's Wine prefix.
//
// Where the program finds the input method in these tests: the HKLM value
// "Software\Pelvo\PelvoPinyin" "exePath" stays UNSET in the test prefix. The
// program then finds Setvault.dll and Notehub.dll in its own folder (the first
// place it looks) and pvxlog.dll through the folder of its executable (the
// fallback of the IME folder). A copy of lexinst.exe made with CopyLexinst
// therefore runs with exactly the DLLs copied beside it. A test that sets
// "exePath" must remove it again (ScopedRegValue does).
//
// The log: pvxlog.dll writes every process's lines to one shared file,
// <all-users data folder>\log\xlog.txt. Tests share it, so read the lines of the
// process you started (RunResult::pid) rather than the whole file.

#include "support/ArgumentQuoting.h"
#include "win/UniqueResource.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// ---- programs -------------------------------------------------------------

std::wstring BinDir();        // folder of the running test program, no trailing backslash
std::wstring LexinstPath();   // BinDir() + "\lexinst.exe"

inline constexpr int kRunFailed = -1;   // the process could not be started
inline constexpr int kTimedOut = -2;    // it did not end in time and was killed
inline constexpr DWORD kDefaultTimeoutMs = 60000;

struct RunResult {
    int exitCode = kRunFailed;  // the process exit code, or kRunFailed / kTimedOut
    DWORD pid = 0;
};

// Quotes one argument by the CommandLineToArgvW rules when it needs it.
inline std::wstring QuoteArg(const std::wstring& arg) { return QuoteArgument(arg); }

// A started process; the handle is closed on destruction (the process is not killed).
class Process {
public:
    Process() = default;
    Process(HANDLE process, DWORD pid) : process_(process), pid_(pid) {}

    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return process_.Get(); }
    // Waits for the end; kills the process and gives kTimedOut when it takes longer.
    int Wait(DWORD timeoutMs = kDefaultTimeoutMs);

private:
    win::UniqueHandle process_;
    DWORD pid_ = 0;
};

// Starts `exe` in the current folder with `args` (the text after the program name, used as given).
Process Start(const std::wstring& exe, const std::wstring& args);
RunResult Run(const std::wstring& exe, const std::wstring& args, DWORD timeoutMs = kDefaultTimeoutMs);
// lexinst.exe beside the test program.
inline RunResult RunLexinst(const std::wstring& args, DWORD timeoutMs = kDefaultTimeoutMs)
{
    return Run(LexinstPath(), args, timeoutMs);
}

// The stand-in DLL names, for CopyLexinst.
inline constexpr const wchar_t* kSetvaultDll = L"Setvault.dll";
inline constexpr const wchar_t* kNotehubDll = L"Notehub.dll";
inline constexpr const wchar_t* kPvxlogDll = L"pvxlog.dll";

// Copies lexinst.exe and the named DLLs from BinDir() into `dir`; returns the
// copied program's path, or "" when a copy failed.
std::wstring CopyLexinst(const std::wstring& dir, std::vector<std::wstring> dlls);

// ---- files ----------------------------------------------------------------

// A throw-away folder below %TEMP%, removed with its contents on destruction.
// The name may be given a part with spaces to test such paths.
class TempDir {
public:
    explicit TempDir(const std::wstring& namePart = L"e2e");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& Path() const { return path_; }  // no trailing backslash
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

bool FileExists(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path);
// Names (not paths) of the entries of a folder that match `pattern` ("*" for all).
std::vector<std::wstring> ListFolder(const std::wstring& dir, const std::wstring& pattern = L"*");
// Removes a folder and everything below it; true when it is gone.
bool RemoveTree(const std::wstring& dir);

// ---- registry -------------------------------------------------------------
// `view` is KEY_WOW64_32KEY (the input method's values, as the 32-bit program
// sees them) by default; pass 0 for HKEY_CLASSES_ROOT, which the program writes
// without a view flag.

bool SetRegString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value,
                  DWORD type = REG_SZ, REGSAM view = KEY_WOW64_32KEY);
// REG_SZ or REG_EXPAND_SZ text; nullopt when missing or of another type.
std::optional<std::wstring> GetRegString(HKEY root, const std::wstring& key, const std::wstring& name,
                                         REGSAM view = KEY_WOW64_32KEY);
void DeleteRegTree(HKEY root, const std::wstring& key, REGSAM view = KEY_WOW64_32KEY);

// Sets (or, with nullopt, removes) a string value for a scope and restores what
// was there (or its absence) after.
class ScopedRegValue {
public:
    ScopedRegValue(HKEY root, std::wstring key, std::wstring name, const std::optional<std::wstring>& value,
                   REGSAM view = KEY_WOW64_32KEY);
    ~ScopedRegValue();
    ScopedRegValue(const ScopedRegValue&) = delete;
    ScopedRegValue& operator=(const ScopedRegValue&) = delete;

private:
    HKEY root_;
    std::wstring key_;
    std::wstring name_;
    REGSAM view_;
    std::optional<std::wstring> previous_;
};

inline constexpr const wchar_t* kImeRegKey = L"Software\\Pelvo\\PelvoPinyin";

// ---- settings (the Setvault.dll stand-in's layout) -------------------------
// "/A/B/C" is the REG_SZ value C of HKCU\Software\Pelvo\PelvoPinyin\Config\A\B.

inline constexpr const wchar_t* kSettingsRegKey = L"Software\\Pelvo\\PelvoPinyin\\Config";

bool SetSetting(const std::wstring& key, const std::wstring& value, DWORD type = REG_SZ);
std::optional<std::wstring> GetSetting(const std::wstring& key);
void DeleteSetting(const std::wstring& key);
void ClearSettings();  // every setting of the store

// ---- the shared log ---------------------------------------------------------

struct XLogLine {
    std::wstring time;     // "yyyy-mm-dd hh:mm:ss.mmm"
    DWORD pid = 0;
    uint32_t level = 0;
    std::wstring tag;
    int indent = 0;        // levels of two spaces
    std::wstring message;  // without the indent
};

// Lines of the file that parse; those of `pid` only when it is not 0. Wine
// reuses process ids quickly, so for a pid started through Start/Run only the
// lines written after that start are read.
std::vector<XLogLine> ReadXLog(DWORD pid = 0);

std::string ToUtf8(const std::wstring& text);

}  // namespace e2e
