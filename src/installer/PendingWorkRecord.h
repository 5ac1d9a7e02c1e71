#pragma once
// The account's record of pending work: "lexinst.pending" in its dictionary
// folder, where every command of the account finds it, on the stored files'
// volume. A command that holds the install lock writes it before it changes
// anything a kill could leave half done, and removes it after its last step.

#include "core/PendingWork.h"

#include <string>

// The folder of the record, the account's dictionary folder; "" without a
// settings store, when no command changes any list either.
std::wstring PendingRecordFolder();

// Writes the record whole: beside its place, flushed, then renamed over it. A
// record that cannot be written leaves the command as it was without one.
void RecordPendingWork(const PendingWork& work);

// The record of a command that has made its temporary file and changed nothing
// else yet: a kill from here on leaves nothing but that file to clean up.
void RecordTmpFile(const std::wstring& tmpPath);

enum class RecordState { kNone, kRead, kUnreadable };

// Reads the record of `folder`. A record killed before its rename describes work
// that is ready to be done and takes the place of the old one when it is whole;
// a torn one never took effect and is dropped.
RecordState ReadPendingWork(const std::wstring& folder, PendingWork& work);

// Moves an unreadable record aside, where it is kept for a person to look at.
void KeepRecordAside(const std::wstring& folder);

// Whether the record can be removed now: a read-only one is made writable.
[[nodiscard]] bool CanRemovePendingRecord(const std::wstring& folder);

// Removes the record; false when it is still there.
[[nodiscard]] bool RemovePendingRecord(const std::wstring& folder);
