// Arbitrary bytes as .pvdict files: every way of loading and reading each must
// agree with the record-by-record reference. Byte 0 picks the shape, whether
// the empty word is listed before the samples, and how many samples are read.

#include "support/DictBytes.h"
#include "support/ReferenceReader.h"
#include "support/ScratchFile.h"
#include "FuzzInput.h"

#include <algorithm>
#include <cstring>

namespace {

// A right header, then section 1 where byte 1 says, counting as many records
// as bytes 2 to 5 say: the rest of the input repeated to `fileSize` bytes.
// With bit 7 of byte 1, each copy's last byte differs, so that words keep coming.
ByteVector RepeatedRecords(const uint8_t* data, size_t size, size_t fileSize)
{
    ByteVector bytes = DictBytes().Bytes();
    const std::size_t start = bytes.size() + data[1] % 8, period = size - 6;
    PutU32(bytes, offsetof(CellDictHeader, section1Offset), static_cast<uint32_t>(start));
    std::memcpy(&bytes[offsetof(CellDictHeader, section1Count)], data + 2, 4);
    bytes.resize(fileSize);
    std::memcpy(&bytes[start], data + 6, std::min(period, fileSize - start));
    for (std::size_t have = period; start + have < fileSize; have *= 2)
        std::memcpy(&bytes[start + have], &bytes[start], std::min(have, fileSize - start - have));
    for (std::size_t i = start + period - 1, copy = 0; data[1] & 0x80 && i < fileSize; i += period)
        bytes[i] ^= static_cast<uint8_t>(copy++);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ScratchDir dir;
    if (size < 7)
        return 0;
    ByteVector bytes(data + 1, data + size);
    if (data[0] >> 6 == 1) {  // the right magic, so that the walk itself is reached
        bytes.resize(std::max<size_t>(bytes.size(), 8));
        PutU32(bytes, 0, kCellDictMagic0);
        PutU32(bytes, 4, kCellDictMagic1);
    }
    // A header and up to 4 KiB of records: small files, so that each run is quick.
    if (data[0] >> 6 >= 2)
        bytes = RepeatedRecords(data, size, kCellDictHeaderSize + (data[0] >> 6 == 2 ? 1 : 16) * data[1] + 8);
    std::vector<std::wstring> words(data[0] >> 5 & 1);  // the empty word, or none
    CellDictVerdict verdict;
    const std::string differences =
        CompareWithReference(dir.Write(L"input.pvdict", bytes), bytes, words, data[0] % 16, verdict);
    if (!differences.empty())
        std::fprintf(stderr, "differs from the reference: %s\n", differences.c_str());
    FUZZ_CHECK(differences.empty());
    return 0;
}
