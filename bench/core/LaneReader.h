#pragma once
// The reader as it was before the plain walk, under another name, kept only to
// measure the two in one run.

#include "dict/CellDictFile.h"

namespace before {

class CellDictFile {
public:
    CellDictFile();
    bool Load(const std::wstring& filePath, bool validate);
    CellDictVerdict LoadAndCheck(const std::wstring& filePath);
    unsigned ReadSampleWords(std::vector<std::wstring>& words, unsigned maxCount) const;

    std::wstring path;
    bool loaded = false;
    alignas(8) CellDictHeader header;
    uint32_t fileSize = 0;

private:
    CellDictVerdict LoadFile(const std::wstring& filePath, bool validate);
};

}  // namespace before
