#include "support/ReferenceReader.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

struct ReferenceLoadResult {
    bool ok = false;
    CellDictHeader header{};  // all zero unless the file's first 848 bytes were read
    uint32_t fileSize = 0;    // 0 unless the file was measured
};

// A file as the format's algorithms see it: a position that a seek sets, and
// reads that return what lies between the position and the end.
class MemoryFile {
public:
    explicit MemoryFile(const ByteVector& bytes) : bytes_(bytes) {}

    // A target outside 0 .. INT32_MAX fails; a seek past the end succeeds.
    bool Seek(int64_t target)
    {
        if (target < 0 || target > INT32_MAX)
            return false;
        pos_ = target;
        return true;
    }
    bool Skip(int64_t delta) { return Seek(pos_ + delta); }

    // Up to `count` bytes into `out`; how many were read.
    std::size_t Read(void* out, std::size_t count)
    {
        const int64_t size = static_cast<int64_t>(bytes_.size());
        const std::size_t got = pos_ >= size ? 0 : static_cast<std::size_t>(std::min<int64_t>(count, size - pos_));
        std::memcpy(out, bytes_.data() + pos_, got);
        pos_ += static_cast<int64_t>(got);
        return got;
    }

private:
    const ByteVector& bytes_;
    int64_t pos_ = 0;
};

// UTF-16 units as a wide string: copied where wchar_t is 16 bits, else with
// surrogate pairs joined and lone surrogates kept as they are.
std::wstring Decode(const std::u16string& units)
{
    std::wstring text;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char32_t unit = units[i];
        const bool pair = sizeof(wchar_t) == 4 && unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() &&
                          units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000;
        text += static_cast<wchar_t>(pair ? 0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00) : unit);
    }
    return text;
}

// `count` records: read `headSize` bytes (after a seek to pos when `seekFirst`),
// then seek on to the record's end, `length(head)` bytes from its start.
template <typename Length>
bool WalkRecords(MemoryFile& file, uint32_t count, std::size_t headSize, bool seekFirst, uint32_t& pos, Length length)
{
    uint8_t head[10];
    for (uint32_t i = 0; i < count; ++i) {
        if ((seekFirst && !file.Seek(static_cast<int32_t>(pos))) || file.Read(head, headSize) != headSize ||
            !file.Skip(int64_t{length(head)} - static_cast<int64_t>(headSize)))
            return false;
        pos += length(head);
    }
    return true;
}

bool WalkSections(MemoryFile& file, const CellDictHeader& h)
{
    uint32_t pos = h.section1Offset;
    auto s1 = [](const uint8_t* b) { return 4u * b[0] + 4; };
    auto s2 = [](const uint8_t* b) { return b[0] + 4u; };
    auto s3 = [](const uint8_t* b) { return 2u * (b[0] + b[4] + b[6]) + 8; };
    return h.magic[0] == kCellDictMagic0 && h.magic[1] == kCellDictMagic1 && file.Seek(static_cast<int32_t>(pos)) &&
           WalkRecords(file, h.section1Count, 6, false, pos, s1) &&
           (h.section2Count == 0 ||
            (pos == h.section2Offset && WalkRecords(file, h.section2Count, 5, false, pos, s2))) &&
           (h.section3Count == 0 || (pos == h.section3Offset && WalkRecords(file, h.section3Count, 10, true, pos, s3)));
}

bool Measurable(const ByteVector& file) { return file.size() <= INT32_MAX; }

// Measures `file`, reads the header and, with `validate`, walks the sections.
ReferenceLoadResult ReferenceLoad(const ByteVector& bytes, bool validate)
{
    ReferenceLoadResult result;
    if (!Measurable(bytes))
        return result;
    result.fileSize = static_cast<uint32_t>(bytes.size());
    MemoryFile file(bytes);
    if (result.fileSize >= kCellDictHeaderSize && file.Read(&result.header, kCellDictHeaderSize) == kCellDictHeaderSize)
        result.ok = !validate || WalkSections(file, result.header);
    return result;
}

// Gathers section-1 sample words of `file` as ReadSampleWords must.
unsigned ReferenceReadSampleWords(const ByteVector& bytes, const CellDictHeader& header,
                                  std::vector<std::wstring>& words, unsigned maxCount)
{
    if (!Measurable(bytes) || bytes.size() < kCellDictHeaderSize)
        return 0;
    MemoryFile file(bytes);
    uint32_t pos = header.section1Offset;
    for (uint32_t index = 0; index < header.section1Count; ++index) {
        uint8_t head[2];
        if (words.size() >= maxCount || pos >= bytes.size() || !file.Seek(static_cast<int32_t>(pos)) ||
            file.Read(head, 2) != 2)
            break;
        const uint32_t n = (head[0] | head[1] << 8) & 0x7fff;
        if (head[1] & 0x80) {
            pos += 4 * n + 4;
            continue;
        }
        pos += 4 + 2 * n;  // the word's start
        if (!file.Seek(pos))
            break;
        // Only whole units that were read count; the word ends at the first NUL unit.
        std::u16string units(n, u'\0');
        units.resize(file.Read(units.data(), 2 * n) / 2);
        const std::wstring word = Decode(units.substr(0, units.find(u'\0')));
        if (std::find(words.begin(), words.end(), word) == words.end())
            words.push_back(word);
        pos += 2 * n;
    }
    return static_cast<unsigned>(words.size());
}

}  // namespace

std::string CompareWithReference(const std::wstring& path, const ByteVector& bytes, std::vector<std::wstring>& words,
                                 unsigned maxCount, CellDictVerdict& verdict)
{
    CellDictFile checked, plain;
    verdict = checked.LoadAndCheck(path);
    const ReferenceLoadResult reference = ReferenceLoad(bytes, true);
    std::string differences = verdict.Ok() == reference.ok && checked.loaded == reference.ok ? "" : "verdict ";
    differences += plain.Load(path, false) == ReferenceLoad(bytes, false).ok ? "" : "plain load ";
    differences += plain.fileSize == reference.fileSize ? "" : "size ";
    differences += std::memcmp(&plain.header, &reference.header, kCellDictHeaderSize) == 0 ? "" : "header ";
    std::vector<std::wstring> expected = words;
    const unsigned count = plain.ReadSampleWords(words, maxCount);
    differences += count == ReferenceReadSampleWords(bytes, plain.header, expected, maxCount) && words == expected
                       ? ""
                       : "samples ";
    return differences;
}
