#include "UrlRecorder.h"

#include <cstdio>
#include <vector>

namespace uitest {

namespace {

constexpr wchar_t kHandlerKey[] = L"Software\\Classes\\http\\shell\\open\\command";

std::wstring ProgramPath()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

bool ReadDefault(std::wstring& value)
{
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, kHandlerKey, nullptr, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                       nullptr, buffer, &size) != ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}

bool WriteDefault(const std::wstring& value)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kHandlerKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const bool ok = ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) ==
                    ERROR_SUCCESS;
    ::RegCloseKey(key);
    return ok;
}

}  // namespace

bool RecordUrl(const std::wstring& url)
{
    wchar_t file[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(kUrlRecordVariable, file, MAX_PATH))
        return false;
    FILE* out = _wfopen(file, L"ab");
    if (!out)
        return false;
    const std::wstring line = url + L"\n";
    const bool ok = std::fwrite(line.data(), sizeof(wchar_t), line.size(), out) == line.size();
    std::fclose(out);
    return ok;
}

std::wstring ReadRecordedUrls(const std::wstring& file)
{
    FILE* in = _wfopen(file.c_str(), L"rb");
    if (!in)
        return L"";
    std::wstring text;
    wchar_t unit = 0;
    while (std::fread(&unit, sizeof unit, 1, in) == 1)
        text += unit;
    std::fclose(in);
    return text;
}

ScopedUrlRecorder::ScopedUrlRecorder(const std::wstring& recordFile)
{
    ::DeleteFileW(recordFile.c_str());
    ::SetEnvironmentVariableW(kUrlRecordVariable, recordFile.c_str());
    hadPrevious_ = ReadDefault(previous_);
    installed_ = WriteDefault(L"\"" + ProgramPath() + L"\" --record-url \"%1\"");
}

ScopedUrlRecorder::~ScopedUrlRecorder()
{
    if (hadPrevious_)
        WriteDefault(previous_);
    else
        ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kHandlerKey, nullptr);
    ::SetEnvironmentVariableW(kUrlRecordVariable, nullptr);
}

}  // namespace uitest
