#pragma once
// Making valid .pvdict files: every word becomes a section-1 record, sections 2
// and 3 stay empty, and the fields the installer does not interpret are zero.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pvdict {

struct CellDictContent {
    std::wstring name;
    std::wstring category;
    std::wstring description;
    uint32_t dictId = 0;
    std::array<uint32_t, 3> version{};
    uint16_t formatLevel = 0;
    std::vector<std::wstring> words;
};

// Limits in UTF-16 units. A section-1 record is measured by its first byte
// alone, so a word may not need more than 255 units.
inline constexpr std::size_t kMaxNameUnits = 32;
inline constexpr std::size_t kMaxCategoryUnits = 32;
inline constexpr std::size_t kMaxDescriptionUnits = 256;
inline constexpr std::size_t kMaxWordUnits = 255;
// Readers hold file positions as signed 32-bit values.
inline constexpr uint64_t kMaxFileSize = (uint64_t{1} << 31) - 1;

// p*10000 + q*100 + r in 32-bit arithmetic.
uint32_t PackDecimalVersion(const std::array<uint32_t, 3>& version);

// Writes `out` through a temporary file beside it that replaces `out` only once
// it is complete: on any failure `out` is left as it was and no file remains.
// False with a message in `error` when the content cannot be written.
bool WriteCellDictFile(const std::filesystem::path& out, const CellDictContent& content, std::string& error);

}  // namespace pvdict
