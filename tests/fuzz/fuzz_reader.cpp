// Arbitrary bytes as a .pvdict file: every way of loading it must agree with
// the record-by-record reference, and reading it must never crash.

#include "dict/CellDictFile.h"

#include "support/DictBytes.h"
#include "support/ReferenceReader.h"
#include "support/ScratchFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "mismatch: %s\n", what);
        std::abort();
    }
}

void CheckFile(const std::wstring& path, unsigned maxSamples)
{
    CellDictFile checked;
    CellDictVerdict verdict = checked.LoadAndCheck(path);
    ReferenceLoadResult reference = ReferenceLoad(path, true);
    Check(verdict.Ok() == reference.ok, "LoadAndCheck against the reference walk");
    Check(checked.loaded == verdict.Ok(), "loaded against the verdict");

    CellDictFile validated;
    Check(validated.Load(path, true) == verdict.Ok(), "Load(validate) against LoadAndCheck");
    CellDictFile plain;
    Check(plain.Load(path, false) == ReferenceLoad(path, false).ok, "Load without validation");
    if (reference.opened)
        Check(plain.fileSize == reference.fileSize, "file size");
    if (!reference.headerRead)
        return;
    Check(std::memcmp(&plain.header, &reference.header, kCellDictHeaderSize) == 0, "header bytes");

    std::vector<std::wstring> words;
    std::vector<std::wstring> expected;
    unsigned count = plain.ReadSampleWords(words, maxSamples);
    unsigned expectedCount = ReferenceReadSampleWords(path, reference.header, expected, maxSamples);
    Check(count == expectedCount && words == expected, "sample words");
    Check(words.size() <= maxSamples, "sample count");

    CellDictInfo info;
    info.header = plain.header;
    info.samples = words;
    (void)info.GetSampleText();
    (void)plain.header.GetName();
    (void)plain.header.GetDescription();
    (void)plain.header.GetCategory();
    Check(plain.header.FormatEntryCount(L"%d") == std::to_wstring(static_cast<int>(plain.header.GetEntryCount())),
          "entry count text");
}

// The input as section-1 records repeated into a file of 16 KiB to 336 KiB,
// so that the reader's lanes and the edge of its 256 KiB block are reached:
// byte 0 picks the size and whether the count runs out before the records,
// bytes 1 to 4 the count, byte 5 where section 1 starts, the rest the records.
ByteVector RepeatedRecords(const uint8_t* data, size_t size)
{
    const uint8_t shape = data[0];
    uint32_t count = 0;
    std::memcpy(&count, data + 1, sizeof count);
    const uint8_t shift = data[5];
    const std::size_t target = std::size_t{16 * 1024} * (1 + shape % 21);

    ByteVector bytes = DictBytes().Bytes();
    const std::size_t section1 = bytes.size();
    bytes.resize(section1 + shift % 8, 0);
    while (bytes.size() < target)
        bytes.insert(bytes.end(), data + 6, data + size);
    bytes.resize(target);
    PutU32(bytes, offsetof(CellDictHeader, section1Offset), static_cast<uint32_t>(section1 + shift % 8));
    PutU32(bytes, offsetof(CellDictHeader, section1Count), shape & 0x80 ? count % (target / 4) : UINT32_MAX);
    return bytes;
}

// Section-1 records that repeat a few short words, about 300 KiB of them so
// that the repeats cross a block edge: bytes 0 to 7 give four words of 0 to 9
// units drawn from the input; each further byte picks the next record's word
// (bits 0-1), its flag (bit 2) and its fill (bits 3-7), cycling through the
// input. A new word of 1 to 9 units comes in at a place given by bytes 8 to
// 10, and byte 13 sets how many bytes follow section 1.
ByteVector WordRuns(const uint8_t* data, size_t size)
{
    auto at = [&](std::size_t i) { return data[i % size]; };
    std::u16string words[4];
    for (int w = 0; w < 4; ++w) {
        words[w].resize(at(2 * w) % 10);
        // Units near each other's, with NUL units in some words (equal words from different bytes).
        const bool withNul = at(2 * w + 1) % 4 == 0;
        for (std::size_t u = 0; u < words[w].size(); ++u)
            words[w][u] = withNul && u % 3 == 1 ? u'\0' : static_cast<char16_t>(0x4E00 + at(u + w) % 4);
    }
    const uint32_t newWordAt = (at(8) | at(9) << 8 | (at(10) % 8) << 16) % 48'000u;
    DictBytes dict;
    for (uint32_t i = 0; dict.Section1Size() < 300 * 1024; ++i) {
        if (i == newWordAt)
            dict.Word(std::u16string(1 + at(11) % 9, u'新'));
        const uint8_t pick = at(12 + i);
        dict.Word(words[pick % 4], (pick & 4) != 0, static_cast<uint16_t>(pick >> 3));
    }
    return dict.Tail(ByteVector(at(13) % 64, 0)).Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ScratchDir dir;
    ByteVector bytes(data, data + size);
    const unsigned maxSamples = size == 0 ? 10 : data[size - 1] % 16;
    CheckFile(dir.Write(L"input.pvdict", bytes), maxSamples);

    // The same bytes with the right magic, so that the walk itself is reached.
    if (bytes.size() >= 8) {
        PutU32(bytes, 0, kCellDictMagic0);
        PutU32(bytes, 4, kCellDictMagic1);
        CheckFile(dir.Write(L"input.pvdict", bytes), maxSamples);
    }
    if (size > 6)
        CheckFile(dir.Write(L"repeated.pvdict", RepeatedRecords(data, size)), maxSamples);
    if (size > 12)
        CheckFile(dir.Write(L"runs.pvdict", WordRuns(data, size)), maxSamples);
    return 0;
}
