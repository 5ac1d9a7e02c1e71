#pragma once
// A throw-away account for the engine's whole-program scenarios: the settings
// point the account's and the input method's data folders into a temporary folder,
// and the per-user data folder (home of the dictionary index) lies there too.

#include "support/DictBytes.h"
#include "support/E2eSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

inline ByteVector MakeDict(uint32_t dictId, uint32_t major, uint32_t minor, uint32_t build, uint16_t level = 0)
{
    DictBytes dict;
    dict.Name(u"端到端").Description(u"e2e").Identity(dictId, major, minor, build);
    dict.Word(u"测试").Word(u"安装");
    dict.header.formatLevel = level;
    return dict.Bytes();
}

inline std::wstring StoredName(uint32_t dictId, uint32_t major, uint32_t minor, uint32_t build)
{
    return std::to_wstring(dictId) + L"_" + std::to_wstring(major) + L"_" + std::to_wstring(minor) + L"_" +
           std::to_wstring(build) + L".pvdict";
}

// Makes `path` a file of exactly `size` zero bytes (sparse where the system can).
inline bool WriteZeroFile(const std::wstring& path, uint64_t size)
{
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    return file && ::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.Get());
}

class EngineE2eTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = std::make_unique<TempDir>(L"engine e2e");
        ::CreateDirectoryW(SourceDir().c_str(), nullptr);
        appData_ = std::make_unique<ScopedRegValue>(HKEY_CURRENT_USER, kImeRegKey, L"AppData", UserDataDir());
        ClearSettings();
        SetSetting(L"/Common/accountDataDir", Root() + L"\\account");
        SetSetting(L"/Common/dataDir", Root() + L"\\data");
    }
    void TearDown() override
    {
        ClearSettings();
        appData_.reset();
        root_.reset();
    }

    std::wstring Root() const { return root_->Path(); }
    std::wstring SourceDir() const { return Root() + L"\\src"; }
    std::wstring AccountDictDir() const { return Root() + L"\\account\\dict\\"; }
    std::wstring DataDir() const { return Root() + L"\\data\\"; }
    std::wstring UserDataDir() const { return Root() + L"\\user"; }

    std::wstring WriteSource(const std::wstring& name, const ByteVector& bytes) const
    {
        const std::wstring path = SourceDir() + L"\\" + name;
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }
    void MakeAccountDictDir() const
    {
        ::CreateDirectoryW((Root() + L"\\account").c_str(), nullptr);
        ::CreateDirectoryW(AccountDictDir().c_str(), nullptr);
    }
    std::wstring IndexPath() const { return UserDataDir() + L"\\pvdictindex.dat"; }
    std::wstring Setting(const std::wstring& key) const { return GetSetting(key).value_or(L"<absent>"); }
    // "level tag message" of every line the process wrote, indent dropped.
    static std::vector<std::wstring> LogOf(DWORD pid)
    {
        std::vector<std::wstring> lines;
        for (const XLogLine& line : ReadXLog(pid)) {
            wchar_t level[8] = {};
            swprintf(level, 8, L"%02x", static_cast<unsigned>(line.level));
            lines.push_back(std::wstring(level) + L" " + line.tag + L" " + line.message);
        }
        return lines;
    }
    static bool HasLine(const std::vector<std::wstring>& lines, const std::wstring& line)
    {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

private:
    std::unique_ptr<TempDir> root_;
    std::unique_ptr<ScopedRegValue> appData_;
};

}  // namespace e2e
