// Several installers at once into one account, and a lock holder that dies.
#include "EngineE2eFixture.h"

namespace e2e {
namespace {

using ConcurrencyE2eTest = EngineE2eTest;

TEST_F(ConcurrencyE2eTest, EightSilentInstallersLoseNothing)
{
    constexpr uint32_t kProcesses = 8;
    constexpr uint32_t kPerProcess = 6;
    std::vector<Process> processes;
    std::vector<std::wstring> expected;
    for (uint32_t p = 0; p < kProcesses; ++p) {
        std::wstring args = L"-silent -sourcedir " + QuoteArg(SourceDir());
        for (uint32_t i = 0; i < kPerProcess; ++i) {
            const uint32_t id = 1000 + p * 100 + i;
            WriteSource(std::to_wstring(id) + L".pvdict", MakeDict(id, 1, p, i));
            args += L" " + std::to_wstring(id) + L".pvdict";
            expected.push_back(StoredName(id, 1, p, i));
        }
        processes.push_back(Start(LexinstPath(), args));
    }
    for (Process& process : processes) {
        ASSERT_TRUE(process.Started());
        EXPECT_EQ(process.Wait(), 0);
    }

    std::sort(expected.begin(), expected.end());
    std::wstring expectedList;
    for (const std::wstring& name : expected)
        expectedList += name + L";";
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), expectedList);
    EXPECT_EQ(Setting(L"/Dict/ActiveDict"), expectedList);
    for (uint32_t p = 0; p < kProcesses; ++p) {
        for (uint32_t i = 0; i < kPerProcess; ++i) {
            const uint32_t id = 1000 + p * 100 + i;
            SCOPED_TRACE(id);
            EXPECT_EQ(ReadFileBytes(AccountDictDir() + StoredName(id, 1, p, i)), MakeDict(id, 1, p, i));
        }
    }
    EXPECT_EQ(ListFolder(AccountDictDir()).size(), expected.size()) << "nothing else left in the folder";
}

TEST_F(ConcurrencyE2eTest, KilledLockHolderDoesNotBlockTheNextInstaller)
{
    // installer_tests.exe has a mode that takes the install lock and waits to be killed.
    const std::wstring holderExe = BinDir() + L"\\installer_tests.exe";
    if (!FileExists(holderExe))
        GTEST_SKIP() << "installer_tests.exe is not built";
    const std::wstring eventName = L"lexinst-e2e-lock-ready-" + std::to_wstring(::GetCurrentProcessId());
    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    ASSERT_NE(ready, nullptr);
    Process holder = Start(holderExe, L"--hold-install-lock " + eventName);
    ASSERT_TRUE(holder.Started());
    ASSERT_EQ(::WaitForSingleObject(ready, 30000), WAIT_OBJECT_0);
    ::CloseHandle(ready);

    const std::wstring src = WriteSource(L"d.pvdict", MakeDict(55, 1, 0, 0));
    Process waiting = Start(LexinstPath(), L"-silent " + QuoteArg(src));
    ASSERT_TRUE(waiting.Started());
    EXPECT_EQ(::WaitForSingleObject(waiting.Handle(), 1000), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the installer waits while the lock is held";
    ::TerminateProcess(holder.Handle(), 9);
    holder.Wait();
    EXPECT_EQ(waiting.Wait(), 0);
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), StoredName(55, 1, 0, 0) + L";");
}

}  // namespace
}  // namespace e2e
