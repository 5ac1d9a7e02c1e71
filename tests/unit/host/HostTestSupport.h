#pragma once
// Registry values and folders that a host test sets for its own scope.

#include <windows.h>

#include <optional>
#include <string>

namespace hosttest {

inline constexpr const wchar_t* kImeKey = L"Software\\Pelvo\\PelvoPinyin";

// Sets (or, with nullopt, removes) a value in the 32-bit view for the holder's
// lifetime, then puts back what was there.
class ScopedValue {
public:
    ScopedValue(HKEY root, const wchar_t* name, std::optional<std::wstring> value, DWORD type = REG_SZ,
                const wchar_t* key = kImeKey);
    ~ScopedValue();
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    HKEY root_;
    std::wstring key_;
    std::wstring name_;
    DWORD previousType_ = REG_NONE;
    std::optional<std::wstring> previous_;
};

void WriteValue(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value,
                DWORD type, REGSAM view);
void RemoveValue(HKEY root, const std::wstring& key, const std::wstring& name, REGSAM view);

// A fresh folder below %TEMP%, removed with its files on destruction.
class ScratchDir {
public:
    explicit ScratchDir(const wchar_t* part = L"host");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::wstring& Path() const { return path_; }
    // Creates an empty file in the folder.
    void Touch(const std::wstring& name) const;

private:
    std::wstring path_;
};

void RemoveTree(const std::wstring& path);
std::wstring FolderOfExe();

}  // namespace hosttest
