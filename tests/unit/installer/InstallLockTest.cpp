#include "installer/InstallLock.h"

#include "support/E2eSupport.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

// Waits on the lock from another thread; true when it got the lock within the time.
// A thread still waiting when the time is up is left to finish on its own: it
// takes the lock once free and lets go of it at once.
bool OtherThreadAcquires(DWORD waitMs)
{
    struct State {
        std::atomic<bool> acquired{false};
        HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ~State() { ::CloseHandle(done); }
    };
    auto state = std::make_shared<State>();
    std::thread([state] {
        InstallLock lock;
        state->acquired = AcquireInstallLock(lock);
        lock.Release();
        ::SetEvent(state->done);
    }).detach();
    return ::WaitForSingleObject(state->done, waitMs) == WAIT_OBJECT_0 && state->acquired;
}

TEST(InstallLockTest, AnotherObjectOfTheNameFailsTheLock)
{
    // Must not run while something holds the real mutex: the name is then taken.
    HANDLE squatter = ::CreateEventW(nullptr, FALSE, FALSE, kInstallMutexName);
    if (::GetLastError() == ERROR_ALREADY_EXISTS || !squatter)
        GTEST_SKIP() << "the mutex exists in this session";
    InstallLock lock;
    EXPECT_FALSE(AcquireInstallLock(lock));
    EXPECT_FALSE(lock.IsOwned());
    ::CloseHandle(squatter);
}

TEST(InstallLockTest, ExcludesOthersUntilReleased)
{
    InstallLock lock;
    ASSERT_TRUE(AcquireInstallLock(lock));
    EXPECT_TRUE(lock.IsOwned());
    lock.Release();
    EXPECT_FALSE(lock.IsOwned());
    EXPECT_TRUE(OtherThreadAcquires(10000)) << "a released lock is free";
    // Taking it again after the other thread's release works too.
    ASSERT_TRUE(AcquireInstallLock(lock));
}

TEST(InstallLockTest, AbandonedByAThreadIsTakenOver)
{
    // The holder is leaked on purpose: its thread ends while owning the mutex.
    auto* abandoned = new InstallLock;
    std::thread holder([abandoned] { EXPECT_TRUE(AcquireInstallLock(*abandoned)); });
    holder.join();
    InstallLock lock;
    EXPECT_TRUE(AcquireInstallLock(lock));
    lock.Release();
    EXPECT_TRUE(OtherThreadAcquires(10000)) << "taking over leaves no extra ownership behind";
    delete abandoned;
}

TEST(InstallLockTest, KilledHolderProcessDoesNotBlock)
{
    const std::wstring eventName = L"lexinst-test-lock-ready-" + std::to_wstring(::GetCurrentProcessId());
    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    ASSERT_NE(ready, nullptr);
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    e2e::Process holder = e2e::Start(self, L"--hold-install-lock " + eventName);
    ASSERT_TRUE(holder.Started());
    ASSERT_EQ(::WaitForSingleObject(ready, 30000), WAIT_OBJECT_0) << "the holder did not take the lock";
    ::CloseHandle(ready);

    EXPECT_FALSE(OtherThreadAcquires(300)) << "held by the other process";
    ::TerminateProcess(holder.Handle(), 9);
    holder.Wait();
    EXPECT_TRUE(OtherThreadAcquires(30000)) << "the abandoned lock is taken over";
}

TEST(InstallLockTest, EveryoneMayUseTheMutex)
{
    InstallLock lock;
    ASSERT_TRUE(AcquireInstallLock(lock));
    HANDLE mutex = ::OpenMutexW(READ_CONTROL, FALSE, kInstallMutexName);
    ASSERT_NE(mutex, nullptr);
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(::GetSecurityInfo(mutex, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    ::CloseHandle(mutex);

    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    bool everyoneMayWait = dacl == nullptr;  // a null DACL lets everyone in
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (::GetAce(dacl, i, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            ::EqualSid(&ace->SidStart, everyone))
            everyoneMayWait = (ace->Mask & (SYNCHRONIZE | MUTEX_MODIFY_STATE | GENERIC_ALL)) != 0;
    }
    ::FreeSid(everyone);
    ::LocalFree(descriptor);
    EXPECT_TRUE(everyoneMayWait);
}

}  // namespace
