// Exclusion by the install lock and its abandonment are exercised by the
// whole-program concurrency scenarios; this checks who may open the lock.
#include "installer/InstallLock.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <windows.h>

namespace {

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
