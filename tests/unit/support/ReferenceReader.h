#pragma once
// Record-by-record readers of .pvdict files, written step for step as the
// format's algorithms read (a seek and a small read per record). Tests and
// fuzzers compare the block-reading CellDictFile with these. Too slow for
// large files, which is why the product does not use them.

#include "dict/CellDictHeader.h"

#include <cstdint>
#include <string>
#include <vector>

struct ReferenceLoadResult {
    bool ok = false;
    bool opened = false;      // the file could be opened and measured
    bool headerRead = false;  // `header` holds the file's first 848 bytes
    CellDictHeader header{};
    uint32_t fileSize = 0;
};

// Opens, measures, reads the header and, with `validate`, walks the sections
// with fread and fseek on the stream itself.
ReferenceLoadResult ReferenceLoad(const std::wstring& path, bool validate);

// Reopens `path` and gathers section-1 sample words with a seek and a read per
// record, as CellDictFile::ReadSampleWords must.
unsigned ReferenceReadSampleWords(const std::wstring& path, const CellDictHeader& header,
                                  std::vector<std::wstring>& words, unsigned maxCount);
