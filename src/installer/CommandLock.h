#pragma once
// The install lock as every command that changes the dictionary folder or the
// lists takes it: the mutex, then the completion of what a killed command left.

#include "installer/InstallLock.h"

enum class LockOutcome {
    kTaken,
    kNoMutex,      // the mutex cannot be created or opened
    kRecordStuck,  // a record of a killed command that cannot be removed: logged
};

// Acquires the install lock, then completes the record of a killed command: its
// lists, then its files, confined to the dictionary folder, and removes it. A
// record is applied at most once: one that could not be removed afterwards is
// not applied at all, and the command must stop.
[[nodiscard]] LockOutcome TakeInstallLock(InstallLock& lock);

// TakeInstallLock for the installs, which log "Error opening mutex." without a mutex.
[[nodiscard]] LockOutcome TakeInstallLockToInstall(InstallLock& lock);

// Removes the command's own record after its last step. One that stays is
// logged; the next command completes it again, which changes nothing.
void ClearPendingWork();
