#include "support/ReferenceReader.h"

#include "dict/FileIO.h"

#include <algorithm>
#include <cstring>

namespace {

// A file position is a signed 32-bit value: a seek whose target falls outside
// 0 .. INT32_MAX fails, a seek past the end of the file succeeds.
bool Seek(std::FILE* file, int64_t offset, int origin)
{
    const int64_t target = origin == SEEK_SET ? offset : TellFile(file) + offset;
    return target >= 0 && target <= INT32_MAX && SeekFile(file, target, SEEK_SET);
}

// Opens `path` and measures it; null when either fails.
UniqueFile OpenMeasured(const std::wstring& path, uint32_t& size)
{
    UniqueFile file = OpenFile(path, "rb");
    const int64_t start = file && SeekFile(file.get(), 0, SEEK_SET) ? TellFile(file.get()) : -1;
    const int64_t end = start >= 0 && SeekFile(file.get(), 0, SEEK_END) ? TellFile(file.get()) : -1;
    size = static_cast<uint32_t>(end - start);
    return start >= 0 && end >= start && end - start <= INT32_MAX ? std::move(file) : nullptr;
}

// `count` records: read `headSize` bytes (after a seek to pos when `seekFirst`),
// then seek on to the record's end, `length(head)` bytes from its start.
template <typename Length>
bool WalkRecords(std::FILE* file, uint32_t count, std::size_t headSize, bool seekFirst, uint32_t& pos, Length length)
{
    uint8_t head[10];
    for (uint32_t i = 0; i < count; ++i) {
        if ((seekFirst && !Seek(file, static_cast<int32_t>(pos), SEEK_SET)) || std::fread(head, 1, headSize, file) != headSize ||
            !Seek(file, int64_t{length(head)} - static_cast<int64_t>(headSize), SEEK_CUR))
            return false;
        pos += length(head);
    }
    return true;
}

bool WalkSections(std::FILE* file, const CellDictHeader& h)
{
    uint32_t pos = h.section1Offset;
    return h.magic[0] == kCellDictMagic0 && h.magic[1] == kCellDictMagic1 && Seek(file, static_cast<int32_t>(pos), SEEK_SET) &&
           WalkRecords(file, h.section1Count, 6, false, pos, [](const uint8_t* b) { return 4u * b[0] + 4; }) &&
           (h.section2Count == 0 ||
            (pos == h.section2Offset && WalkRecords(file, h.section2Count, 5, false, pos, [](const uint8_t* b) { return b[0] + 4u; }))) &&
           (h.section3Count == 0 ||
            (pos == h.section3Offset && WalkRecords(file, h.section3Count, 10, true, pos, [](const uint8_t* b) { return 2u * (b[0] + b[4] + b[6]) + 8; })));
}

}  // namespace

ReferenceLoadResult ReferenceLoad(const std::wstring& path, bool validate)
{
    ReferenceLoadResult result;
    UniqueFile file = OpenMeasured(path, result.fileSize);
    if (!file)
        result.fileSize = 0;
    else if (result.fileSize >= kCellDictHeaderSize && SeekFile(file.get(), 0, SEEK_SET) &&
             std::fread(&result.header, kCellDictHeaderSize, 1, file.get()) == 1)
        result.ok = !validate || WalkSections(file.get(), result.header);
    return result;
}

unsigned ReferenceReadSampleWords(const std::wstring& path, const CellDictHeader& header,
                                  std::vector<std::wstring>& words, unsigned maxCount)
{
    uint32_t size = 0;
    UniqueFile file = OpenMeasured(path, size);
    if (!file || size < kCellDictHeaderSize)
        return 0;
    uint32_t pos = header.section1Offset;
    for (uint32_t index = 0; index < header.section1Count; ++index) {
        uint8_t head[2];
        if (words.size() >= maxCount || pos >= size || !Seek(file.get(), static_cast<int32_t>(pos), SEEK_SET) ||
            std::fread(head, 1, 2, file.get()) != 2)
            break;
        const uint32_t n = (head[0] | head[1] << 8) & 0x7fff;
        if (head[1] & 0x80) {
            pos += 4 * n + 4;
            continue;
        }
        pos += 4 + 2 * n;  // the word's start
        if (!Seek(file.get(), pos, SEEK_SET))
            break;
        // Only whole units that were read count; the word ends at the first NUL unit.
        std::u16string units(n, u'\0');
        units.resize(std::fread(units.data(), 2, n, file.get()));
        const std::wstring word = WideFromUtf16Le(reinterpret_cast<const uint8_t*>(units.data()), std::min(units.size(), units.find(u'\0')));
        if (std::find(words.begin(), words.end(), word) == words.end())
            words.push_back(word);
        pos += 2 * n;
    }
    return static_cast<unsigned>(words.size());
}

std::string CompareWithReference(const std::wstring& path, std::vector<std::wstring>& words, unsigned maxCount,
                                 CellDictVerdict& verdict)
{
    CellDictFile checked, plain;
    verdict = checked.LoadAndCheck(path);
    const ReferenceLoadResult reference = ReferenceLoad(path, true);
    std::string differences = verdict.Ok() == reference.ok && checked.loaded == reference.ok ? "" : "verdict ";
    differences += plain.Load(path, false) == ReferenceLoad(path, false).ok ? "" : "plain load ";
    differences += plain.fileSize == reference.fileSize ? "" : "size ";
    differences += std::memcmp(&plain.header, &reference.header, kCellDictHeaderSize) == 0 ? "" : "header ";
    std::vector<std::wstring> expected = words;
    const unsigned count = plain.ReadSampleWords(words, maxCount);
    differences += count == ReferenceReadSampleWords(path, plain.header, expected, maxCount) && words == expected ? "" : "samples ";
    return differences;
}
