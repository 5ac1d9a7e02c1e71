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
// <all-users data folder>\log\xlog.txt, the folder that the HKLM value
// "Software\Pelvo\PelvoPinyin" "CommonAppData" names.

#include "support/ArgumentQuoting.h"
#include "support/ScratchFile.h"
#include "win/UniqueResource.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// ---- programs -------------------------------------------------------------

std::wstring BinDir();  // folder of the running test program, no trailing backslash
inline std::wstring LexinstPath() { return BinDir() + L"\\lexinst.exe"; }

// A started process; the handle is closed on destruction (the process is not killed).
class Process {
public:
    Process() = default;
    Process(HANDLE process, DWORD pid) : process_(process), pid_(pid) {}

    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return process_.Get(); }
    // The exit code; -1 when the process was not started, -2 when it was killed
    // because it took longer.
    int Wait(DWORD timeoutMs = 60000);

private:
    win::UniqueHandle process_;
    DWORD pid_ = 0;
};

// Starts `exe` in the current folder with `args` (the text after the program name, used as given).
Process Start(const std::wstring& exe, const std::wstring& args);
// Starts and waits: the exit code as Process::Wait gives it.
inline int Run(const std::wstring& exe, const std::wstring& args, DWORD timeoutMs = 60000)
{
    return Start(exe, args).Wait(timeoutMs);
}

// Copies lexinst.exe and the stand-in DLLs but `without` from BinDir() into `dir`;
// returns the copied program's path, or "" when a copy failed.
std::wstring CopyLexinst(const std::wstring& dir, const std::wstring& without = L"");

// ---- files ----------------------------------------------------------------

inline bool FileExists(const std::wstring& p) { return ::GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES; }
// Names (not paths) of the entries of a folder that match `pattern` ("*" for all).
std::vector<std::wstring> ListFolder(const std::wstring& dir, const std::wstring& pattern = L"*");

// ---- registry -------------------------------------------------------------
// `view` is KEY_WOW64_32KEY (the input method's values, as the 32-bit program
// sees them) by default; pass 0 for HKEY_CLASSES_ROOT, which the program writes
// without a view flag.

bool SetRegString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value,
                  DWORD type = REG_SZ, REGSAM view = KEY_WOW64_32KEY);
// REG_SZ or REG_EXPAND_SZ text; nullopt when missing or of another type.
std::optional<std::wstring> GetRegString(HKEY root, const std::wstring& key, const std::wstring& name,
                                         REGSAM view = KEY_WOW64_32KEY);

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
// "/A/B/C" is the value C of HKCU\Software\Pelvo\PelvoPinyin\Config\A\B.

// Sets the value as `type` holding the text; "<absent>" removes it.
void SetSetting(const std::wstring& key, const std::wstring& value, DWORD type = REG_SZ);
// The REG_SZ text, or "<absent>".
std::wstring Setting(const std::wstring& key);
void ClearSettings();  // every setting of the store

// ---- the shared log ---------------------------------------------------------

// "level tag message" (level in two hex digits, the message without its indent)
// of every line of the log file at `path`.
std::vector<std::wstring> ReadLog(const std::wstring& path);

std::string ToUtf8(const std::wstring& text);

}  // namespace e2e
