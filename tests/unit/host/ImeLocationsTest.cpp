// Where the input method is found: the install marker, the capacity - 1 rule of
// the buffer-filling functions; and the logging channels the installer configures.
// The 32-bit registry view is read throughout: the tests write the values there.
#include "host/ImeLocations.h"
#include "host/XLog.h"

#include "support/E2eSupport.h"

#include <PvXLogApi.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <string>

namespace {

constexpr const wchar_t* kDefaultInstallDir = L"C:\\Program Files\\Pelvo\\PelvoPinyin";

// A folder that holds the input method's marker file, for one scope.
class MarkedFolder {
public:
    explicit MarkedFolder(std::wstring path) : path_(std::move(path))
    {
        ::SHCreateDirectoryExW(nullptr, path_.c_str(), nullptr);
        WriteBytes(path_ + L"\\PelvoPinyin.exe", {});
    }
    ~MarkedFolder() { std::filesystem::remove_all(path_, ignored_); }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
    std::error_code ignored_;
};

TEST(ImeLocations, BuffersTakeCapacityLessOneUnitsAndATerminator)
{
    wchar_t exe[kPathUnits] = {};
    ASSERT_GT(GetExePath(exe, kPathUnits), 4u);
    wchar_t small[6] = {L'#', L'#', L'#', L'#', L'#', L'#'};
    EXPECT_EQ(4u, GetExePath(small, 5));
    EXPECT_EQ(std::wstring(exe, 4), std::wstring(small));
    EXPECT_EQ(L'#', small[5]);
    EXPECT_EQ(0u, GetExePath(small, 0));
    wchar_t one[1] = {L'#'};
    EXPECT_EQ(0u, GetExePath(one, 1));
    EXPECT_EQ(L'\0', one[0]);

    const std::wstring longFolder = L"C:\\" + std::wstring(297, L'a');
    e2e::ScopedRegValue appData(HKEY_CURRENT_USER, e2e::kImeRegKey, L"AppData", longFolder);
    wchar_t buffer[kPathUnits + 10];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(kPathUnits - 1, GetUserDataDir(buffer, kPathUnits, false));
    EXPECT_EQ(longFolder.substr(0, kPathUnits - 1), std::wstring(buffer));
    EXPECT_EQ(L'#', buffer[kPathUnits]);
}

// One sequence: the last valid folder is remembered for the whole process.
TEST(ImeLocations, InstallFolderIsTheFirstOneWithTheMarker)
{
    ScratchDir scratch(L"ime");
    const std::wstring unmarked = scratch.Path().wstring() + L"\\unmarked";
    std::error_code ignored;
    std::filesystem::remove_all(kDefaultInstallDir, ignored);
    {
        SCOPED_TRACE("registry folder with the marker wins over the default folder");
        const MarkedFolder registered(scratch.Path().wstring() + L"\\marked");
        const MarkedFolder defaultDir(kDefaultInstallDir);
        e2e::ScopedRegValue exePath(HKEY_LOCAL_MACHINE, e2e::kImeRegKey, L"exePath", registered.Path());
        EXPECT_EQ(registered.Path(), GetImeInstallDir());
    }
    e2e::ScopedRegValue exePath(HKEY_LOCAL_MACHINE, e2e::kImeRegKey, L"exePath", unmarked);
    {
        SCOPED_TRACE("registry folder without the marker: the default folder");
        const MarkedFolder defaultDir(kDefaultInstallDir);
        EXPECT_EQ(kDefaultInstallDir, GetImeInstallDir());
    }
    SCOPED_TRACE("nothing marked any more: the last valid folder");
    EXPECT_EQ(kDefaultInstallDir, GetImeInstallDir());
}

TEST(Logging, OnlyTheSharedChannelIsOnForEveryLevel)
{
    ScratchDir common(L"log");
    e2e::ScopedRegValue commonData(HKEY_LOCAL_MACHINE, e2e::kImeRegKey, L"CommonAppData", common.Path().wstring());
    ASSERT_GE(InitLogging(), 0);
    const auto getController = reinterpret_cast<GetLogController2Fn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(kLogLibraryName), "GetLogController2")));
    ASSERT_NE(getController, nullptr) << "pvxlog.dll must sit beside the test program";
    PvLogController* controller = nullptr;
    ASSERT_EQ(getController(&controller), 0);
    uint32_t level = 99;
    EXPECT_EQ(controller->ops->GetOutputLevel(controller, 5, &level), 0);
    EXPECT_EQ(level, 0u);
    for (const uint32_t channel : {0u, 2u, 3u, 5u})
        EXPECT_EQ(controller->ops->IsChannelEnabled(controller, channel), channel == 5 ? 1 : 0) << channel;
}

}  // namespace
