#include "dict/CellDictFile.h"

#include "dict/FileIO.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>

namespace {

// File positions are signed 32-bit quantities: a seek beyond this fails, and a
// file whose size does not fit cannot be measured.
constexpr int64_t kMaxPosition = INT32_MAX;

// Large enough for the longest section-1 word (2 * 32767 bytes) in one piece.
constexpr std::size_t kBlockSize = 256 * 1024;

// Reads a file forward through one fixed buffer, so that walking millions of
// small records costs a few large reads instead of a seek and a read each.
class BlockReader {
public:
    explicit BlockReader(std::FILE* file)
        : file_(file), buffer_(std::make_unique_for_overwrite<uint8_t[]>(kBlockSize))
    {
        // The block reads are the buffering: a stream buffer would only copy twice.
        std::setvbuf(file_, nullptr, _IONBF, 0);
    }

    // Up to `length` bytes (at most kBlockSize) of the file from `position`;
    // fewer only where the file ends.
    std::span<const uint8_t> Read(int64_t position, std::size_t length)
    {
        if (position < start_ || position + static_cast<int64_t>(length) > start_ + static_cast<int64_t>(filled_))
            Fill(position);
        int64_t skip = position - start_;
        if (skip < 0 || skip >= static_cast<int64_t>(filled_))
            return {};
        std::size_t available = filled_ - static_cast<std::size_t>(skip);
        return {buffer_.get() + skip, std::min(length, available)};
    }

    // Everything buffered from `position` on, refilling when fewer than
    // `minimum` bytes are buffered there; shorter than `minimum` only at the end.
    std::span<const uint8_t> Window(int64_t position, std::size_t minimum)
    {
        std::span<const uint8_t> first = Read(position, minimum);
        if (first.size() < minimum)
            return first;
        return {first.data(), filled_ - static_cast<std::size_t>(position - start_)};
    }

private:
    void Fill(int64_t position)
    {
        start_ = position;
        filled_ = 0;
        if (position < 0 || position > kMaxPosition || !SeekFile(file_, position, SEEK_SET))
            return;
        filled_ = std::fread(buffer_.get(), 1, kBlockSize, file_);
    }

    std::FILE* file_;
    std::unique_ptr<uint8_t[]> buffer_;
    int64_t start_ = 0;
    std::size_t filled_ = 0;
};

using Problem = CellDictVerdict::Problem;

CellDictVerdict Fail(Problem problem, int section = 0, uint32_t record = 0, int64_t offset = 0,
                     int64_t expected = 0)
{
    CellDictVerdict verdict;
    verdict.problem = problem;
    verdict.section = section;
    verdict.record = record;
    verdict.offset = offset;
    verdict.expected = expected;
    return verdict;
}

// One section of the walk over records whose length follows from their fixed
// head: `headSize` bytes must be readable at each record, after which the
// position moves to the record's end. The verdict's offset names the failing
// head, or the seek target beyond the largest file position.
template <std::size_t headSize, typename RecordSize>
CellDictVerdict WalkSection(BlockReader& reader, int section, uint32_t count, int64_t& pos,
                            RecordSize recordSize)
{
    uint32_t done = 0;
    while (done < count) {
        std::span<const uint8_t> window = reader.Window(pos, headSize);
        if (window.size() < headSize)
            return Fail(Problem::RecordHeadUnreadable, section, done, pos);
        const uint8_t* bytes = window.data();
        const std::size_t available = window.size();
        std::size_t offset = 0;
        uint32_t left = count - done;
        while (left != 0 && offset + headSize <= available) {
            offset += recordSize(bytes + offset);
            --left;
        }
        done = count - left;
        pos += static_cast<int64_t>(offset);
        // Only the last record of a window can overshoot: the heads before it were read.
        if (pos > kMaxPosition)
            return Fail(Problem::SeekFailed, section, done - 1, pos);
    }
    return {};
}

// The section walk over an open file: the magic, then the records of the three
// sections, each non-empty section starting where the previous one ended. Each
// record's fixed head (6, 5 or 10 bytes) must lie inside the file; its tail may
// run past the end.
CellDictVerdict WalkSections(std::FILE* file, const CellDictHeader& header)
{
    if (!header.HasValidMagic())
        return Fail(Problem::BadMagic);

    BlockReader reader(file);
    int64_t pos = static_cast<int32_t>(header.section1Offset);
    if (pos < 0)
        return Fail(Problem::SeekFailed, 1, 0, header.section1Offset);

    CellDictVerdict verdict = WalkSection<6>(reader, 1, header.section1Count, pos,
        [](const uint8_t* head) { return 4 * std::size_t{head[0]} + 4; });
    if (!verdict.Ok())
        return verdict;

    if (header.section2Count != 0) {
        if (pos != header.section2Offset)
            return Fail(Problem::SectionMisplaced, 2, 0, pos, header.section2Offset);
        verdict = WalkSection<5>(reader, 2, header.section2Count, pos,
            [](const uint8_t* head) { return std::size_t{head[0]} + 4; });
        if (!verdict.Ok())
            return verdict;
    }

    if (header.section3Count != 0) {
        if (pos != header.section3Offset)
            return Fail(Problem::SectionMisplaced, 3, 0, pos, header.section3Offset);
        verdict = WalkSection<10>(reader, 3, header.section3Count, pos, [](const uint8_t* head) {
            return 2 * (std::size_t{head[0]} + head[4] + head[6]) + 8;
        });
    }
    return verdict;
}

// The file's size as a 32-bit position: seek to the start and to the end.
bool MeasureFile(std::FILE* file, int64_t& size)
{
    if (!SeekFile(file, 0, SEEK_SET))
        return false;
    int64_t start = TellFile(file);
    if (!SeekFile(file, 0, SEEK_END))
        return false;
    int64_t end = TellFile(file);
    size = end - start;
    return start >= 0 && end >= start && size <= kMaxPosition;
}

// Appends the UTF-16 units in `bytes` up to the first NUL unit (a trailing odd
// byte is no unit) unless the list holds that word already.
void AddSampleWord(std::vector<std::wstring>& words, std::span<const uint8_t> bytes)
{
    std::size_t units = bytes.size() / 2;
    std::size_t length = 0;
    while (length < units && (bytes[2 * length] | bytes[2 * length + 1]) != 0)
        ++length;
    std::wstring word = WideFromUtf16Le(bytes.data(), length);
    if (std::find(words.begin(), words.end(), word) == words.end())
        words.push_back(std::move(word));
}

}  // namespace

CellDictFile::CellDictFile() : header{} {}

bool CellDictFile::Load(const std::wstring& filePath, bool validate)
{
    return LoadFile(filePath, validate).Ok();
}

CellDictVerdict CellDictFile::LoadAndCheck(const std::wstring& filePath)
{
    return LoadFile(filePath, true);
}

CellDictVerdict CellDictFile::LoadFile(const std::wstring& filePath, bool validate)
{
    if (&filePath != &path)
        path = filePath;
    loaded = false;

    UniqueFile file = OpenFile(path, "rb");
    if (!file)
        return Fail(Problem::CannotOpen);

    int64_t size = 0;
    if (!MeasureFile(file.get(), size))
        return Fail(Problem::TooLarge);
    fileSize = static_cast<uint32_t>(size);
    if (fileSize < kCellDictHeaderSize)
        return Fail(Problem::TooShort, 0, 0, size);

    if (!SeekFile(file.get(), 0, SEEK_SET) || std::fread(&header, kCellDictHeaderSize, 1, file.get()) != 1)
        return Fail(Problem::HeaderUnreadable);

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
    if (!file)
        return 0;
    int64_t size = 0;
    if (!MeasureFile(file.get(), size) || size < static_cast<int64_t>(kCellDictHeaderSize))
        return 0;

    BlockReader reader(file.get());
    int64_t pos = header.section1Offset;
    for (uint32_t index = 0; index < header.section1Count; ++index) {
        if (words.size() >= maxCount || pos >= size || pos > kMaxPosition)
            break;
        std::span<const uint8_t> headBytes = reader.Read(pos, 2);
        if (headBytes.size() < 2)
            break;
        const unsigned head = headBytes[0] | (headBytes[1] << 8);
        const int64_t n = head & 0x7fff;
        if ((head & 0x8000) == 0) {
            const int64_t wordStart = pos + 4 + 2 * n;
            if (wordStart > kMaxPosition)
                break;
            AddSampleWord(words, reader.Read(wordStart, static_cast<std::size_t>(2 * n)));
        }
        pos += 4 * n + 4;
    }
    return static_cast<unsigned>(words.size());
}

std::wstring CellDictInfo::GetSampleText() const
{
    if (samples.empty())
        return L"<无>";
    std::wstring text;
    for (const std::wstring& sample : samples) {
        text += sample;
        text += L' ';
    }
    text += L"...";
    return text;
}
