#pragma once
// The account's pending-work record: "lexinst.pending" in its dictionary folder,
// where every command of the account finds it, on the stored files' volume. A
// command that holds the install lock writes it before it changes anything a kill
// could leave half done, and clears it after its last step; the next command that
// takes the lock completes what a killed one left.

#include "core/PendingWork.h"

class InstallLock;

// Acquires the install lock, then completes what a killed command left. False,
// with nothing completed, when the lock cannot be had.
[[nodiscard]] bool TakeInstallLock(InstallLock& lock);

// Writes the record whole: under another name, flushed, then renamed over the old
// one. A record that cannot be written leaves the command as it was without one.
void RecordPendingWork(const PendingWork& work);

// The record of a command that has made its temporary file and changed nothing
// else yet: a kill from here on leaves nothing but that file to clean up.
void RecordTmpFile(const std::wstring& tmpPath);

// Removes the record, once the command's last step is done.
void ClearPendingWork();
