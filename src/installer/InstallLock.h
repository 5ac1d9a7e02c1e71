#pragma once
// The lock that serialises installs between processes: a named mutex that
// processes of other users, of low integrity and packaged apps can open too.

#include "win/UniqueResource.h"

#include <windows.h>

inline constexpr const wchar_t* kInstallMutexName = L"PELVO_PINYIN_DICT_INSTALL_MUTEX";

// Holds the mutex while it is owned; releasing ends the install step.
class InstallLock {
public:
    InstallLock() = default;
    ~InstallLock() { Release(); }
    InstallLock(const InstallLock&) = delete;
    InstallLock& operator=(const InstallLock&) = delete;

    void Release();
    bool IsOwned() const { return owned_; }

private:
    friend bool AcquireInstallLock(InstallLock& lock);

    win::UniqueHandle mutex_;
    bool owned_ = false;
};

// Creates or opens the install mutex and waits for it without a time limit; a
// mutex abandoned by a process that ended while holding it is taken over.
// False when the mutex cannot be created or opened, or the wait fails outright.
[[nodiscard]] bool AcquireInstallLock(InstallLock& lock);
