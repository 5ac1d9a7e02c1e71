#pragma once
// Whole dictionaries of the shapes that stress the reader, for benchmarks and
// large-file tests. Each one is valid under the section walk.

#include "support/DictBytes.h"

#include <cstdint>

// The largest file that passes the capacity limit.
inline constexpr uint32_t kLargestDictSize = 16'777'215;

// The most records that fit in `size` bytes: 4-byte section-1 records with
// n = 0, and the 2 bytes that the walk reads past the last one.
ByteVector MostRecordsDict(uint32_t size = kLargestDictSize);

// A dictionary of up to `size` bytes as a real one looks: 2- to 4-character
// words in section 1, and sections 2 and 3 of mixed record sizes.
ByteVector RealisticDict(uint32_t size = kLargestDictSize, uint32_t seed = 1);

// Section 1 where only the first and the last record give a new word: every
// other record is flagged or repeats the first word. Sample reading crosses
// the whole file.
ByteVector LateSampleDict(uint32_t size = kLargestDictSize);
