#pragma once
// The capacity quota of the input method's dictionaries, and deletion of stored files.

#include <cstdint>
#include <string>

class CellDictFile;

inline constexpr uint32_t kMaxDictFileSize = 0x1000000;  // 16 MiB, exclusive
inline constexpr uint64_t kMaxIndexBudget = 0x10000000;  // 256 MiB, exclusive

// Windows-style results of the file operations.
inline constexpr int32_t kResultOk = 0;
inline constexpr int32_t kResultNothingToDo = 1;
inline constexpr int32_t kResultFail = static_cast<int32_t>(0x80004005u);

// Size in bytes of the input method's dictionary index, 0 when it cannot be opened
// (absent, or held open by another process).
uint32_t GetDictIndexSize();
// The same for an index path already looked up.
uint32_t GetDictIndexSize(const std::wstring& indexPath);

// "<per-user data folder>\pvdictindex.dat"; the folder is created when missing.
std::wstring GetDictIndexPath();

// False for a missing file, a file of 16 MiB or more, or when the index size plus
// four times the file's size reaches 256 MiB.
[[nodiscard]] bool HasCapacityFor(const CellDictFile* dictFile);

// The capacity test for the files of one batch. The index's size is read anew for
// every file, since the input method may index or hold it open at any time; only
// where the index lives is looked up once, at the first file that gets as far as
// the index. Within one run the per-user data folder is a fixed place.
class BatchCapacityQuota {
public:
    [[nodiscard]] bool HasCapacityFor(const CellDictFile* dictFile);

private:
    std::wstring indexPath_;
};

// Clears read-only and deletes: kResultOk, kResultNothingToDo when no file is
// there, kResultFail otherwise (the reason in GetLastError).
[[nodiscard]] int32_t DeleteDictFile(const std::wstring& path);
