#include "HostTestSupport.h"

#include "win/UniqueResource.h"

#include <vector>

namespace hosttest {

void WriteValue(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value, DWORD type,
                REGSAM view)
{
    win::UniqueKey opened;
    if (::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, opened.Receive(),
                          nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(opened.Get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void RemoveValue(HKEY root, const std::wstring& key, const std::wstring& name, REGSAM view)
{
    win::UniqueKey opened;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_SET_VALUE | view, opened.Receive()) == ERROR_SUCCESS)
        ::RegDeleteValueW(opened.Get(), name.c_str());
}

ScopedValue::ScopedValue(HKEY root, const wchar_t* name, std::optional<std::wstring> value, DWORD type,
                         const wchar_t* key)
    : root_(root), key_(key), name_(name)
{
    win::UniqueKey opened;
    if (::RegOpenKeyExW(root_, key_.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, opened.Receive()) ==
        ERROR_SUCCESS) {
        DWORD size = 0;
        if (::RegQueryValueExW(opened.Get(), name_.c_str(), nullptr, &previousType_, nullptr, &size) ==
            ERROR_SUCCESS) {
            std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
            ::RegQueryValueExW(opened.Get(), name_.c_str(), nullptr, &previousType_,
                               reinterpret_cast<BYTE*>(data.data()), &size);
            previous_ = std::wstring(data.data());
        }
    }
    if (value)
        WriteValue(root_, key_, name_, *value, type, KEY_WOW64_32KEY);
    else
        RemoveValue(root_, key_, name_, KEY_WOW64_32KEY);
}

ScopedValue::~ScopedValue()
{
    if (previous_)
        WriteValue(root_, key_, name_, *previous_, previousType_, KEY_WOW64_32KEY);
    else
        RemoveValue(root_, key_, name_, KEY_WOW64_32KEY);
}

ScratchDir::ScratchDir(const wchar_t* part)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    for (;;) {
        std::wstring candidate = std::wstring(temp) + part + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(++counter);
        if (::CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return;
    }
}

ScratchDir::~ScratchDir()
{
    if (!path_.empty())
        RemoveTree(path_);
}

void ScratchDir::Touch(const std::wstring& name) const
{
    win::UniqueFile file(::CreateFileW((path_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    win::UniqueFind find(::FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(find.Get(), &data));
    }
    find.Reset();
    ::RemoveDirectoryW(path.c_str());
}

std::wstring FolderOfExe()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text = path;
    return text.substr(0, text.rfind(L'\\'));
}

}  // namespace hosttest
