#include "core/CellDictFile.h"

#include "core/FileIO.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>

namespace {

using Problem = CellDictVerdict::Problem;

// File positions are signed 32-bit quantities: a seek beyond this fails, and a
// file whose size does not fit cannot be measured.
constexpr int64_t kMaxPosition = INT32_MAX;

// Large enough for the longest section-1 word (2 * 32767 bytes) in one piece.
constexpr std::size_t kBlockSize = 256 * 1024;

// Reads a file forward through one fixed buffer, so that walking millions of
// small records costs a few large reads instead of a seek and a read each, and
// memory stays the same whatever the file's size.
class BlockReader {
public:
    explicit BlockReader(std::FILE* file) : file_(file), buffer_(std::make_unique_for_overwrite<uint8_t[]>(kBlockSize))
    {
        // The block reads are the buffering: a stream buffer would only copy twice.
        std::setvbuf(file_, nullptr, _IONBF, 0);
    }

    // The file's bytes from `position` to the end of the buffer, refilled when
    // fewer than `minimum` (at most kBlockSize) are buffered there; shorter than
    // `minimum` only where the file ends.
    std::span<const uint8_t> Window(int64_t position, std::size_t minimum)
    {
        if (position < start_ || position + static_cast<int64_t>(minimum) > start_ + static_cast<int64_t>(filled_))
            Fill(position);
        const int64_t skip = position - start_;
        if (skip >= static_cast<int64_t>(filled_))
            return {};
        return {buffer_.get() + skip, filled_ - static_cast<std::size_t>(skip)};
    }

private:
    void Fill(int64_t position)
    {
        start_ = position;
        filled_ = 0;
        if (position >= 0 && position <= kMaxPosition && SeekFile(file_, position, SEEK_SET))
            filled_ = std::fread(buffer_.get(), 1, kBlockSize, file_);
    }

    std::FILE* file_;
    std::unique_ptr<uint8_t[]> buffer_;
    int64_t start_ = 0;
    std::size_t filled_ = 0;
};

// One section's records, whose fixed `headSize`-byte heads must lie inside the
// file and whose length follows from that head; a tail may run past the end.
// The records are followed window by window, with no test per record but the
// window's end: following them is a chain of dependent loads, and each test
// on it costs as much as the load.
template <std::size_t headSize, std::size_t (*recordSize)(const uint8_t*)>
CellDictVerdict WalkSection(BlockReader& reader, int section, uint32_t count, int64_t& pos)
{
    for (uint32_t done = 0; done < count;) {
        const std::span<const uint8_t> window = reader.Window(pos, headSize);
        if (window.size() < headSize)
            return CellDictVerdict{Problem::RecordHeadUnreadable, section, done, pos};
        const std::size_t stop = window.size() - headSize;
        std::size_t at = 0;
        while (done < count && at <= stop) {
            at += recordSize(window.data() + at);
            ++done;
        }
        pos += static_cast<int64_t>(at);
        // Only the last record of a window can end beyond it, and beyond the file.
        if (pos > kMaxPosition)
            return CellDictVerdict{Problem::SeekFailed, section, done - 1, pos};
    }
    return {};
}

// The walk measures a section-1 record by byte 0 of its head, deliberately: 15 bits are for the samples.
std::size_t Section1RecordSize(const uint8_t* head) { return 4 * std::size_t{head[0]} + 4; }
std::size_t Section2RecordSize(const uint8_t* head) { return std::size_t{head[0]} + 4; }
std::size_t Section3RecordSize(const uint8_t* head) { return 2 * (std::size_t{head[0]} + head[4] + head[6]) + 8; }

// The three sections: where the header counts their records and places them
// (the first section's place is not checked), and how each is walked.
struct SectionRule {
    int section;
    uint32_t CellDictHeader::*count;
    uint32_t CellDictHeader::*offset;
    CellDictVerdict (*walk)(BlockReader&, int section, uint32_t count, int64_t& pos);
};
constexpr SectionRule kSections[] = {
    {1, &CellDictHeader::section1Count, nullptr, WalkSection<6, Section1RecordSize>},
    {2, &CellDictHeader::section2Count, &CellDictHeader::section2Offset, WalkSection<5, Section2RecordSize>},
    {3, &CellDictHeader::section3Count, &CellDictHeader::section3Offset, WalkSection<10, Section3RecordSize>},
};

// The magic, then the records of the three sections, each non-empty section
// after the first starting where the previous one ended. A failing offset
// names the unreadable head, the seek target beyond the largest file position,
// or where the previous section ended.
CellDictVerdict WalkSections(std::FILE* file, const CellDictHeader& header)
{
    if (!header.HasValidMagic())
        return CellDictVerdict{Problem::BadMagic};
    int64_t pos = static_cast<int32_t>(header.section1Offset);
    if (pos < 0)
        return CellDictVerdict{Problem::SeekFailed, 1, 0, header.section1Offset};

    BlockReader reader(file);
    for (const SectionRule& rule : kSections) {
        const uint32_t count = header.*rule.count;
        if (rule.offset && count != 0 && pos != header.*rule.offset)
            return CellDictVerdict{Problem::SectionMisplaced, rule.section, 0, pos, header.*rule.offset};
        CellDictVerdict verdict = rule.walk(reader, rule.section, count, pos);
        if (!verdict.Ok())
            return verdict;
    }
    return {};
}

// The file's size as a 32-bit position: seek to the start and to the end.
bool MeasureFile(std::FILE* file, int64_t& size)
{
    if (!SeekFile(file, 0, SEEK_SET))
        return false;
    const int64_t start = TellFile(file);
    if (!SeekFile(file, 0, SEEK_END))
        return false;
    const int64_t end = TellFile(file);
    size = end - start;
    return start >= 0 && end >= start && size <= kMaxPosition;
}

// The words that ReadSampleWords gathers. A run of records of one word costs a
// byte compare each, not a conversion: equal bytes give equal words.
class SampleList {
public:
    SampleList(std::vector<std::wstring>& words, unsigned maxCount) : words_(words), maxCount_(maxCount) {}

    bool Full() const { return words_.size() >= maxCount_; }

    // Adds the word in `bytes` (whole UTF-16 units up to the first NUL unit)
    // unless the list holds it.
    void Add(std::span<const uint8_t> bytes)
    {
        if (haveLast_ && std::equal(bytes.begin(), bytes.end(), last_.begin(), last_.end()))
            return;
        last_.assign(bytes.begin(), bytes.end());
        haveLast_ = true;
        const std::size_t units = bytes.size() / 2;
        std::size_t length = 0;
        while (length < units && (bytes[2 * length] | bytes[2 * length + 1]) != 0)
            ++length;
        AssignWideFromUtf16Le(word_, bytes.data(), length);
        if (std::find(words_.begin(), words_.end(), word_) == words_.end())
            words_.push_back(word_);
    }

private:
    std::vector<std::wstring>& words_;
    const unsigned maxCount_;
    std::vector<uint8_t> last_;
    bool haveLast_ = false;
    std::wstring word_;  // conversion scratch space, so that a repeat costs no allocation
};

}  // namespace

CellDictFile::CellDictFile() : header{} {}

bool CellDictFile::Load(const std::wstring& filePath, bool validate) { return LoadFile(filePath, validate).Ok(); }

CellDictVerdict CellDictFile::LoadAndCheck(const std::wstring& filePath) { return LoadFile(filePath, true); }

CellDictVerdict CellDictFile::LoadFile(const std::wstring& filePath, bool validate)
{
    if (&filePath != &path)
        path = filePath;
    loaded = false;

    UniqueFile file = OpenFile(path, "rb");
    if (!file)
        return CellDictVerdict{Problem::CannotOpen};
    int64_t size = 0;
    if (!MeasureFile(file.get(), size))
        return CellDictVerdict{Problem::TooLarge};
    fileSize = static_cast<uint32_t>(size);
    if (fileSize < kCellDictHeaderSize)
        return CellDictVerdict{Problem::TooShort, 0, 0, size};
    if (!SeekFile(file.get(), 0, SEEK_SET) || std::fread(&header, kCellDictHeaderSize, 1, file.get()) != 1)
        return CellDictVerdict{Problem::HeaderUnreadable};

    if (validate) {
        CellDictVerdict verdict = WalkSections(file.get(), header);
        if (!verdict.Ok())
            return verdict;
    }
    loaded = true;
    return {};
}

unsigned CellDictFile::ReadSampleWords(std::vector<std::wstring>& words, unsigned maxCount) const
{
    UniqueFile file = OpenFile(path, "rb");
    int64_t size = 0;
    if (!file || !MeasureFile(file.get(), size) || size < static_cast<int64_t>(kCellDictHeaderSize))
        return 0;

    BlockReader reader(file.get());
    SampleList samples(words, maxCount);
    int64_t pos = header.section1Offset;
    uint32_t index = 0;
    while (index < header.section1Count && !samples.Full() && pos < size) {
        const std::span<const uint8_t> window = reader.Window(pos, 2);
        if (window.size() < 2)
            break;
        // The records whose heads and words lie in the window, as in the walk.
        const std::size_t stop = window.size() - 2;
        std::size_t at = 0;
        bool crossing = false;
        while (index < header.section1Count && at <= stop && !samples.Full()) {
            const unsigned head = window[at] | window[at + 1] << 8;
            // The samples measure a record by the head's 15 bits, deliberately: the walk uses byte 0.
            const std::size_t units = head & 0x7fffu;
            if ((head & 0x8000u) == 0) {  // flagged records give no sample
                const std::size_t wordAt = at + 4 + 2 * units;
                crossing = wordAt + 2 * units > window.size();
                if (crossing)
                    break;
                samples.Add(window.subspan(wordAt, 2 * units));
            }
            at += 4 + 4 * units;
            ++index;
        }
        pos += static_cast<int64_t>(at);
        if (!crossing)
            continue;
        // A word that runs past the window: its record from the start, or as
        // much of it as the file holds.
        const std::size_t units = window[at] | (window[at + 1] & 0x7fu) << 8;
        const std::size_t wordAt = 4 + 2 * units;
        if (pos + static_cast<int64_t>(wordAt) > kMaxPosition)
            break;
        const std::span<const uint8_t> record = reader.Window(pos, 4 + 4 * units);
        samples.Add(record.size() > wordAt ? record.subspan(wordAt, std::min(2 * units, record.size() - wordAt))
                                           : std::span<const uint8_t>());
        pos += static_cast<int64_t>(4 + 4 * units);
        ++index;
    }
    return static_cast<unsigned>(words.size());
}
