#pragma once
// The capacity quota of the input method's dictionaries.

#include <cstdint>
#include <string>

class CellDictFile;

inline constexpr uint32_t kMaxDictFileSize = 0x1000000;  // 16 MiB, exclusive
inline constexpr uint64_t kMaxIndexBudget = 0x10000000;  // 256 MiB, exclusive

// Size in bytes of the input method's dictionary index at indexPath, 0 when it
// cannot be opened (absent, or held open by another process).
uint32_t GetDictIndexSize(const std::wstring& indexPath);

// The quota for the files of one command. The index's size is read anew for
// every file, since the input method may index or hold it open at any time; only
// where the index lives is looked up once, at the first file that gets as far as
// the index: within one run the per-user data folder is a fixed place.
class CapacityQuota {
public:
    // False for a missing file, a file of 16 MiB or more, or when the index size
    // plus four times the file's size reaches 256 MiB.
    [[nodiscard]] bool HasCapacityFor(const CellDictFile* dictFile);

private:
    std::wstring indexPath_;
};
