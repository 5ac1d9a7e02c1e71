#pragma once
// Reader and validator of .pvdict files.

#include "core/CellDictHeader.h"

#include <cstdint>
#include <string>
#include <vector>

// Why a file failed to load with validation, and where: for tools that tell people.
struct CellDictVerdict {
    enum class Problem {
        None,
        CannotOpen,
        TooShort,  // fewer than 848 bytes
        HeaderUnreadable,
        BadMagic,
        SeekFailed,            // a position the walk had to reach cannot be sought to
        RecordHeadUnreadable,  // the fixed head of a record lies past the end of the file
        SectionMisplaced,      // a section does not start where the previous one ended
        TooLarge,              // the size cannot be measured as a 32-bit file position
    };
    Problem problem = Problem::None;
    int section = 0;       // 1 to 3, for the walk's problems
    uint32_t record = 0;   // index of the record within its section
    int64_t offset = 0;    // the record head, the failed seek target, or where the previous section ended
    int64_t expected = 0;  // SectionMisplaced: the section's offset in the header

    [[nodiscard]] bool Ok() const { return problem == Problem::None; }
};

class CellDictFile {
public:
    CellDictFile();
    virtual ~CellDictFile() = default;

    // Opens, measures and reads the header; with validate, also checks the magic
    // and walks the three sections. False on any failure (no message of its own).
    [[nodiscard]] bool Load(const std::wstring& filePath, bool validate);
    // Load with validation, telling why it failed; Load(p, true) == LoadAndCheck(p).Ok().
    [[nodiscard]] CellDictVerdict LoadAndCheck(const std::wstring& filePath);

    // Appends distinct words of section 1, in file order, until `words` holds
    // maxCount; returns words.size(), or 0 when the file cannot be opened or is
    // shorter than a header. Reopens the file by `path`; never fails.
    unsigned ReadSampleWords(std::vector<std::wstring>& words, unsigned maxCount) const;

    std::wstring path;
    bool loaded = false;
    // Aligned so that references to its fields (as EXPECT_EQ and std::min take) are valid.
    alignas(8) CellDictHeader header;
    uint32_t fileSize = 0;

private:
    [[nodiscard]] CellDictVerdict LoadFile(const std::wstring& filePath, bool validate);
};
