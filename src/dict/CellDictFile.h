#pragma once
// Reader and validator of .pvdict files.

#include "dict/CellDictHeader.h"

#include <cstdint>
#include <string>
#include <vector>

class CellDictFile {
public:
    CellDictFile();
    virtual ~CellDictFile() = default;

    // Opens, measures and reads the header; with validate, also checks the magic
    // and walks the three sections. False on any failure (no message of its own).
    bool Load(const std::wstring& filePath, bool validate);

    // Appends distinct words of section 1, in file order, until `words` holds
    // maxCount; returns words.size(). Reopens the file by `path`; never fails.
    unsigned ReadSampleWords(std::vector<std::wstring>& words, unsigned maxCount) const;

    std::wstring path;
    bool loaded = false;
    CellDictHeader header;
    uint32_t fileSize = 0;
};

// What the engine hands to the UI: the header, the stored name, up to 10 samples.
struct CellDictInfo {
    CellDictHeader header;
    std::wstring storedName;
    std::vector<std::wstring> samples;

    // Every sample followed by one space, then "..."; "<无>" when there are none.
    std::wstring GetSampleText() const;
};
