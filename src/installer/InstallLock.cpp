#include "installer/InstallLock.h"

#include "win/Security.h"

namespace {

// Made once per process: the same descriptor serves every acquisition.
SECURITY_ATTRIBUTES* MutexSecurity()
{
    static win::SharedObjectSecurity security;
    return security.Attributes();
}

}  // namespace

void InstallLock::Release()
{
    if (owned_)
        ::ReleaseMutex(mutex_.Get());
    owned_ = false;
    mutex_.Reset();
}

bool AcquireInstallLock(InstallLock& lock)
{
    lock.Release();
    lock.mutex_.Reset(::CreateMutexW(MutexSecurity(), FALSE, kInstallMutexName));
    if (!lock.mutex_)
        return false;
    // An abandoned mutex is granted to the waiter together with the report of its
    // abandonment, so both results mean that this process now owns it. Waiting
    // again after an abandonment would only raise the recursion count, which a
    // single release would then not undo.
    const DWORD result = ::WaitForSingleObject(lock.mutex_.Get(), INFINITE);
    if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED) {
        lock.mutex_.Reset();
        return false;
    }
    lock.owned_ = true;
    return true;
}
