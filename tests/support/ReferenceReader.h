#pragma once
// Record-by-record readers of .pvdict files held in memory, written step for
// step as the format's algorithms read (a seek and a small read per record),
// with file positions, text decoding and all of their own, so that a fault in
// the reader's helpers shows as a difference. Tests and fuzzers compare the
// block-reading CellDictFile with these.

#include "core/CellDictFile.h"

#include "support/DictBytes.h"

// Loads `path`, which holds `bytes`, every way CellDictFile can, its verdict
// into `verdict`, and adds its samples to `words`; names what disagrees with
// the reference, "" for nothing.
std::string CompareWithReference(const std::wstring& path, const ByteVector& bytes, std::vector<std::wstring>& words,
                                 unsigned maxCount, CellDictVerdict& verdict);
