#pragma once
// A throw-away account for the engine's whole-program scenarios: the settings
// point the account's and the input method's data folders into a temporary folder,
// and the per-user data folder (home of the dictionary index) and the all-users
// data folder (home of the log) lie there too.

#include "support/DictBytes.h"
#include "support/E2eSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

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
        root_ = std::make_unique<ScratchDir>(L"engine e2e");
        ::CreateDirectoryW(SourceDir().c_str(), nullptr);
        appData_ = std::make_unique<ScopedRegValue>(HKEY_CURRENT_USER, kImeRegKey, L"AppData", UserDataDir());
        commonData_ = std::make_unique<ScopedRegValue>(HKEY_LOCAL_MACHINE, kImeRegKey, L"CommonAppData", Root());
        ClearSettings();
        SetSetting(L"/Common/accountDataDir", Root() + L"\\account");
        SetSetting(L"/Common/dataDir", Root() + L"\\data");
    }
    void TearDown() override { ClearSettings(); }  // the members are restored and removed after

    std::wstring Root() const { return root_->Path().wstring(); }
    std::wstring SourceDir() const { return Root() + L"\\src"; }
    std::wstring AccountDictDir() const { return Root() + L"\\account\\dict\\"; }
    std::wstring UserDataDir() const { return Root() + L"\\user"; }
    std::wstring LogPath() const { return Root() + L"\\log\\xlog.txt"; }

    std::wstring WriteSource(const std::wstring& name, const ByteVector& bytes) const
    {
        const std::wstring path = SourceDir() + L"\\" + name;
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }
    void MakeAccountDictDir() const { std::filesystem::create_directories(AccountDictDir()); }

private:
    std::unique_ptr<ScratchDir> root_;
    std::unique_ptr<ScopedRegValue> appData_, commonData_;
};

}  // namespace e2e
