#pragma once
// What a command that changes the dictionary lists is about to do, kept as a
// record while it does it, so that the next command can finish the work of one
// that was killed. Every operation is a set operation: applying the record twice
// leaves what applying it once does.

#include "core/DictList.h"

#include <functional>
#include <string>

// The names of the record itself, beside the stored files in their folder.
inline constexpr const wchar_t* kPendingRecordName = L"lexinst.pending";
inline constexpr const wchar_t* kPendingStagingName = L"lexinst.pending.new";
inline constexpr const wchar_t* kPendingAsideName = L"lexinst.pending.unreadable";

struct PendingWork {
    DictList addInstalled;  // names to add to the installed list
    DictList addActive;     // names to add to the active list
    DictList unlist;        // names to take out of both lists
    DictList deleteFiles;   // paths of stored files to delete
    std::wstring tmpFile;   // the command's temporary file, if any

    // The list operations that turn the lists as they are into the lists as a
    // command is about to write them.
    [[nodiscard]] static PendingWork FromListChanges(const DictList& installedBefore, const DictList& installedAfter,
                                                     const DictList& activeBefore, const DictList& activeAfter);
    // Applies the list operations, names to take out first; true when a list changed.
    bool ApplyToLists(DictList& installed, DictList& active) const;
    bool Empty() const;

    // Keeps only what a record of this program may act on: stored files directly
    // in `dictFolder` and names to list whose files exist there, and its own
    // temporary files there or in `dataFolder` (where "-datadir" stores); both
    // folders end in a backslash. Returns how many entries it dropped.
    std::size_t Confine(const std::wstring& dictFolder, const std::wstring& dataFolder,
                        const std::function<bool(const std::wstring&)>& fileExists);

    // The record as text: a header, one NUL-terminated entry per operation and an
    // end mark, so that any name or path that can be stored fits in one entry.
    [[nodiscard]] std::wstring Format() const;
    // False, leaving `work` unspecified, for a text that Format did not make whole.
    [[nodiscard]] static bool Parse(const std::wstring& text, PendingWork& work);
};
