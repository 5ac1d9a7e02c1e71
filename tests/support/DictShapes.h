#pragma once
// Whole dictionaries of the shapes that stress the reader, for benchmarks and
// large-file tests. Each one is valid under the section walk and `size` bytes long.

#include "support/DictBytes.h"

// The largest file that passes the capacity limit.
inline constexpr uint32_t kLargestDictSize = 16'777'215;

// The most records that fit: 4-byte section-1 records with n = 0.
ByteVector MostRecordsDict(uint32_t size = kLargestDictSize);

// As a real dictionary looks: mostly 2- to 4-character words (some flagged) in
// section 1, and sections 2 and 3 of mixed record sizes.
ByteVector RealisticDict(uint32_t size = kLargestDictSize, uint32_t seed = 1);

// Section 1 where only the first and the last record give a new word: the
// records between are flagged or give the first word again.
ByteVector LateSampleDict(uint32_t size = kLargestDictSize);
