#pragma once
// Record-by-record readers of .pvdict files, written step for step as the
// format's algorithms read (a seek and a small read per record). Tests,
// fuzzers and benchmarks compare the block-reading CellDictFile with these.

#include "dict/CellDictFile.h"

struct ReferenceLoadResult {
    bool ok = false;
    CellDictHeader header{};  // all zero unless the file's first 848 bytes were read
    uint32_t fileSize = 0;    // 0 unless the file was opened and measured
};

// Opens, measures, reads the header and, with `validate`, walks the sections.
ReferenceLoadResult ReferenceLoad(const std::wstring& path, bool validate);

// Reopens `path` and gathers section-1 sample words as ReadSampleWords must.
unsigned ReferenceReadSampleWords(const std::wstring& path, const CellDictHeader& header,
                                  std::vector<std::wstring>& words, unsigned maxCount);

// Loads `path` every way CellDictFile can, its verdict into `verdict`, and adds
// its samples to `words`; names what disagrees with the reference, "" for nothing.
std::string CompareWithReference(const std::wstring& path, std::vector<std::wstring>& words, unsigned maxCount,
                                 CellDictVerdict& verdict);
