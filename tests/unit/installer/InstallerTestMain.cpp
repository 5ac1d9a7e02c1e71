// The test program doubles as a lock holder for the abandonment test: started with
// "--hold-install-lock EVENT", it takes the install lock, signals EVENT and waits
// to be killed.
#include "installer/InstallLock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && std::wcscmp(argv[1], L"--hold-install-lock") == 0) {
        InstallLock lock;
        if (!AcquireInstallLock(lock))
            return 2;
        HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
        if (!ready)
            return 3;
        ::SetEvent(ready);
        ::Sleep(INFINITE);
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
