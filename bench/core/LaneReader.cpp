// The reader as it was before the plain walk, kept only to measure the two in
// one run. Not part of any product build.

#include "LaneReader.h"

#include "dict/FileIO.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <type_traits>

namespace before {

namespace {

// File positions are signed 32-bit quantities: a seek beyond this fails, and a
// file whose size does not fit cannot be measured.
constexpr int64_t kMaxPosition = INT32_MAX;

// Large enough for the longest section-1 word (2 * 32767 bytes) in one piece.
constexpr std::size_t kBlockSize = 256 * 1024;

// Record scanning in lanes (see ScanRecords).
constexpr int kLanes = 8;
constexpr uint32_t kPlainSteps = 64;       // records followed one by one before lanes pay off
constexpr std::size_t kMinLaneBytes = 2048;
constexpr std::size_t kMinRecordSize = 4;  // the shortest record of any section
constexpr uint32_t kKeptPositions = 64;     // per lane, where the true chain looks for the lane's
// Records of up to 64 units, the usual ones, take the lanes' fast path.
constexpr std::size_t kUsualStride = 4 * 64 + 4;
constexpr std::size_t kPositionSlots = kBlockSize / kMinRecordSize + kLanes;

// Reads a file forward through one fixed buffer, so that walking millions of
// small records costs a few large reads instead of a seek and a read each.
class BlockReader {
public:
    explicit BlockReader(std::FILE* file)
        : file_(file),
          buffer_(std::make_unique_for_overwrite<uint8_t[]>(kBlockSize)),
          positions_(std::make_unique_for_overwrite<uint32_t[]>(kPositionSlots))
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

    // Scratch space for ScanRecords over a window of this reader.
    uint32_t* Positions() { return positions_.get(); }

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
    std::unique_ptr<uint32_t[]> positions_;
    int64_t start_ = 0;
    std::size_t filled_ = 0;
};

// Records found by one ScanRecords call: how many, and where the last one ends;
// both hold only while the visitor did not stop the scan.
struct ScanResult {
    uint32_t records = 0;
    std::size_t end = 0;
    bool stopped = false;
};

// The walk's scan wants no record and visits none.
struct NoRecords {
    bool operator()(const uint8_t*) const { return false; }
};
struct NoVisit {
    bool operator()(std::size_t) const { return true; }
};

// Where ScanRecords starts its lanes: on multiples of the length of the
// pattern that the sizes of the first records repeat (of up to 8 records, at
// most 1 KiB), else on the records' alignment. In a file made of one such
// pattern, a chain started between the records of a pattern can run beside
// the true one for ever without meeting it; started on a whole pattern, it is
// on the true chain from its first record.
template <std::size_t alignment>
std::size_t LaneSpacing(const uint32_t (&sizes)[kPlainSteps])
{
    constexpr uint32_t kMaxPattern = 8;
    constexpr std::size_t kMaxSpacing = 1024;
    for (uint32_t length = 1; length <= kMaxPattern; ++length) {
        uint32_t i = length;
        while (i < kPlainSteps && sizes[i] == sizes[i - length])
            ++i;
        if (i < kPlainSteps)
            continue;
        std::size_t spacing = 0;
        for (uint32_t k = kPlainSteps - length; k < kPlainSteps; ++k)
            spacing += sizes[k];
        return spacing <= kMaxSpacing && spacing % alignment == 0 ? spacing : alignment;
    }
    return alignment;
}

// Follows up to `limit` records from offset 0 of `bytes`, as far as their
// `headSize`-byte heads lie inside `available` bytes. The records whose head
// passes `wanted` go in order to `visit(offset)`, which returns false to stop
// the scan after it.
//
// Following records one by one is a chain of dependent loads: each record's
// length says where the next one starts. So after a few plain steps the rest of
// the window is cut into lanes, and a chain is started at the beginning of every
// lane (on the records' `alignment`) and walked side by side with the others.
// Each lane keeps its first few record offsets, and the offsets of its wanted
// records in `positions`. Records are at most `maxRecord` bytes long; those
// longer than `maxStride` are rare enough to be taken with a test per step. Two chains that meet one record coincide from there
// on: the true chain, on entering a lane, steps alone until it meets one of the
// lane's kept offsets (usually at once) and then takes the lane's records
// wholesale, visiting its wanted records from that offset on.
template <std::size_t headSize, std::size_t alignment, std::size_t maxRecord, std::size_t maxStride,
          typename RecordSize, typename Wanted = NoRecords, typename Visit = NoVisit>
ScanResult ScanRecords(const uint8_t* bytes, std::size_t available, uint32_t limit, uint32_t* positions,
                       RecordSize recordSize, Wanted wanted = {}, Visit visit = {})
{
    constexpr bool kVisits = !std::is_same_v<Visit, NoVisit>;
    const std::size_t stopAt = available >= headSize ? available - headSize + 1 : 0;
    ScanResult result;
    std::size_t& t = result.end;
    uint32_t& done = result.records;

    // One record of the true chain; false when the scan ends with it.
    auto step = [&]() {
        const std::size_t at = t;
        t += recordSize(bytes + at);
        ++done;
        if constexpr (kVisits) {
            if (wanted(bytes + at) && !visit(at)) {
                result.stopped = true;
                return false;
            }
        }
        return done < limit;
    };

    uint32_t plainSizes[kPlainSteps];
    while (done < limit && done < kPlainSteps && t < stopAt) {
        const std::size_t at = t;
        const bool more = step();
        plainSizes[done - 1] = static_cast<uint32_t>(t - at);
        if (!more)
            return result;
    }
    if (done == limit || t >= stopAt)
        return result;
    if (stopAt - t < kLanes * kMinLaneBytes) {
        while (t < stopAt) {
            if (!step())
                return result;
        }
        return result;
    }

    std::size_t bound[kLanes + 1];
    std::size_t base[kLanes];
    std::size_t cur[kLanes];
    uint32_t count[kLanes];
    uint32_t found[kLanes];
    uint32_t kept[kLanes][kKeptPositions];
    const std::size_t start = t;
    const std::size_t spacing = done == kPlainSteps ? LaneSpacing<alignment>(plainSizes) : alignment;
    for (int j = 0; j < kLanes; ++j) {
        bound[j] = start + (stopAt - start) * j / kLanes / spacing * spacing;
        base[j] = (bound[j] - start) / kMinRecordSize + j;
        cur[j] = bound[j];
        count[j] = 0;
        found[j] = 0;
    }
    bound[kLanes] = stopAt;

    // Lanes that step with a test each until they reach their end: every lane,
    // or only `only`.
    auto checkedRounds = [&](uint32_t rounds, int only) {
        for (bool active = true; active && rounds != 0; --rounds) {
            active = false;
            for (int j = 0; j < kLanes; ++j) {
                if (cur[j] >= bound[j + 1] || (only != kLanes && j != only))
                    continue;
                const uint8_t* head = bytes + cur[j];
                if (count[j] < kKeptPositions)
                    kept[j][count[j]] = static_cast<uint32_t>(cur[j]);
                if constexpr (kVisits) {
                    positions[base[j] + found[j]] = static_cast<uint32_t>(cur[j]);
                    found[j] += wanted(head) ? 1 : 0;
                }
                ++count[j];
                cur[j] += recordSize(head);
                active = true;
            }
        }
    };
    // Then all lanes together, as many steps as none of them can take past its
    // end while no record moves a chain by more than maxStride bytes, with no
    // test but for such a record. Each record takes at least kMinRecordSize
    // bytes of its lane, which bounds `positions` per lane.
    auto uncheckedRounds = [&](std::size_t steps) {
        std::size_t at[kLanes];
        uint32_t* out[kLanes];
        for (int j = 0; j < kLanes; ++j) {
            at[j] = cur[j];
            out[j] = positions + base[j] + found[j];
        }
        std::size_t k = 0;
        int stoppedLane = kLanes;
        for (; k < steps && stoppedLane == kLanes; ++k) {
            for (int j = 0; j < kLanes; ++j) {
                const uint8_t* head = bytes + at[j];
                const std::size_t size = recordSize(head);
                if constexpr (maxStride < maxRecord) {
                    if (size > maxStride) {
                        stoppedLane = j;
                        break;
                    }
                }
                if constexpr (kVisits) {
                    // Wanted records are rare where scans are long.
                    if (wanted(head))
                        *out[j]++ = static_cast<uint32_t>(at[j]);
                }
                at[j] += size;
            }
        }
        // After a stop, the lanes before the stopping one have taken one step more.
        for (int j = 0; j < kLanes; ++j) {
            cur[j] = at[j];
            count[j] += static_cast<uint32_t>(j < stoppedLane ? k : k - 1);
            found[j] = static_cast<uint32_t>(out[j] - (positions + base[j]));
        }
        return stoppedLane;
    };

    checkedRounds(kKeptPositions, kLanes);
    for (;;) {
        std::size_t steps = SIZE_MAX;
        for (int j = 0; j < kLanes; ++j) {
            std::size_t room = bound[j + 1] > cur[j] ? bound[j + 1] - cur[j] : 0;
            steps = std::min(steps, room == 0 ? 0 : (room - 1) / maxStride + 1);
        }
        if (steps < 4)
            break;
        // A long record is taken by its lane alone.
        const int stoppedLane = uncheckedRounds(steps);
        if (stoppedLane != kLanes)
            checkedRounds(1, stoppedLane);
    }
    checkedRounds(UINT32_MAX, kLanes);

    for (int j = 0; j < kLanes && t < stopAt; ++j) {
        const uint32_t keptCount = std::min(count[j], kKeptPositions);
        uint32_t index = 0;
        while (t < bound[j + 1]) {
            while (index < keptCount && kept[j][index] < t)
                ++index;
            // Joined the lane's chain: its records from here on are the true ones,
            // unless the scan must end among them.
            if (index < keptCount && kept[j][index] == t && limit - done >= count[j] - index) {
                if constexpr (kVisits) {
                    const uint32_t* lane = positions + base[j];
                    uint32_t k = 0;
                    while (k < found[j] && lane[k] < t)
                        ++k;
                    for (; k < found[j]; ++k) {
                        if (!visit(lane[k])) {
                            result.stopped = true;
                            return result;
                        }
                    }
                }
                done += count[j] - index;
                t = cur[j];
                if (done == limit)
                    return result;
                break;
            }
            if (!step())
                return result;
        }
    }
    return result;
}

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
template <std::size_t headSize, std::size_t alignment, std::size_t maxRecord, typename RecordSize>
CellDictVerdict WalkSection(BlockReader& reader, int section, uint32_t count, int64_t& pos,
                            RecordSize recordSize)
{
    uint32_t done = 0;
    while (done < count) {
        std::span<const uint8_t> window = reader.Window(pos, headSize);
        if (window.size() < headSize)
            return Fail(Problem::RecordHeadUnreadable, section, done, pos);
        ScanResult scan = ScanRecords<headSize, alignment, maxRecord, std::min(maxRecord, kUsualStride)>(window.data(), window.size(), count - done,
                                                           reader.Positions(), recordSize);
        done += scan.records;
        pos += static_cast<int64_t>(scan.end);
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

    CellDictVerdict verdict = WalkSection<6, 4, 1024>(reader, 1, header.section1Count, pos,
        [](const uint8_t* head) { return 4 * std::size_t{head[0]} + 4; });
    if (!verdict.Ok())
        return verdict;

    if (header.section2Count != 0) {
        if (pos != header.section2Offset)
            return Fail(Problem::SectionMisplaced, 2, 0, pos, header.section2Offset);
        verdict = WalkSection<5, 1, 259>(reader, 2, header.section2Count, pos,
            [](const uint8_t* head) { return std::size_t{head[0]} + 4; });
        if (!verdict.Ok())
            return verdict;
    }

    if (header.section3Count != 0) {
        if (pos != header.section3Offset)
            return Fail(Problem::SectionMisplaced, 3, 0, pos, header.section3Offset);
        verdict = WalkSection<10, 2, 1538>(reader, 3, header.section3Count, pos, [](const uint8_t* head) {
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
// byte is no unit) unless the list holds that word already. `word` is scratch
// space, so that repeated words cost no allocation.
void AddSampleWord(std::vector<std::wstring>& words, std::span<const uint8_t> bytes, std::wstring& word)
{
    std::size_t units = bytes.size() / 2;
    std::size_t length = 0;
    while (length < units && (bytes[2 * length] | bytes[2 * length + 1]) != 0)
        ++length;
    AssignWideFromUtf16Le(word, bytes.data(), length);
    if (std::find(words.begin(), words.end(), word) == words.end())
        words.push_back(word);
}

// The 16-bit head of a section-1 record.
uint32_t HeadValue(const uint8_t* head)
{
    uint16_t value;
    std::memcpy(&value, head, sizeof value);
    return value;
}

// The raw bytes of short words known to be listed, so that the record scan
// itself can drop records that repeat one of them: on a file of one word
// repeated, no record is visited at all. The word remembered last is tried
// first, at the cost of a compare or two; the others sit in a small
// direct-mapped table, where two words that share a slot take turns. A word
// that is not found is only visited, never wrongly dropped.
class ShortWordFilter {
public:
    static constexpr std::size_t kMaxUnits = 8;

    // True when the word of the record at `head` (bit 15 clear) has the raw
    // bytes of a listed word. The word is read in two 8-byte loads, so records
    // that start within kReach bytes of `end` are not judged here.
    bool Listed(const uint8_t* head, const uint8_t* end) const
    {
        if (end - head < kReach)
            return false;
        const std::size_t units = HeadValue(head);
        if (units == last_.units && Matches(head + 4 + 2 * units, last_))
            return true;
        if (units > kMaxUnits)
            return false;
        const Key key = MakeKey(head + 4 + 2 * units, units);
        return Matches(key, slots_[SlotOf(key)]);
    }

    // Remembers `bytes`, the raw bytes of a word that the list holds.
    void Add(std::span<const uint8_t> bytes)
    {
        if (bytes.size() % 2 != 0 || bytes.size() > 2 * kMaxUnits)
            return;
        uint8_t padded[16] = {};
        std::copy(bytes.begin(), bytes.end(), padded);
        last_ = MakeKey(padded, bytes.size() / 2);
        slots_[SlotOf(last_)] = last_;
    }

private:
    static constexpr std::ptrdiff_t kReach = 4 + 2 * kMaxUnits + 16;
    static constexpr std::size_t kSlotBits = 6;

    // A word of `units` units, its bytes in `low` and `high` and zeros after.
    struct Key {
        uint64_t low = 0;
        uint64_t high = 0;
        uint64_t units = UINT64_MAX;  // none: no record's head matches
    };

    // The word's 2 * units bytes, from 16 readable ones.
    static Key MakeKey(const uint8_t* word, std::size_t units)
    {
        uint64_t low;
        uint64_t high;
        std::memcpy(&low, word, sizeof low);
        std::memcpy(&high, word + 8, sizeof high);
        return {low & kLowMask[units], high & kHighMask[units], units};
    }

    static bool Matches(const Key& key, const Key& known)
    {
        return ((key.low ^ known.low) | (key.high ^ known.high) | (key.units ^ known.units)) == 0;
    }

    // `word`, 16 readable bytes, against `known` of the same length.
    static bool Matches(const uint8_t* word, const Key& known)
    {
        uint64_t low;
        uint64_t high;
        std::memcpy(&low, word, sizeof low);
        std::memcpy(&high, word + 8, sizeof high);
        return (((low ^ known.low) & kLowMask[known.units]) | ((high ^ known.high) & kHighMask[known.units])) == 0;
    }

    static std::size_t SlotOf(const Key& key)
    {
        const uint64_t mixed = (key.low ^ std::rotl(key.high, 29) ^ key.units) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(mixed >> (64 - kSlotBits));
    }

    static constexpr uint64_t kLowMask[kMaxUnits + 1] = {
        0, 0xffff, 0xffffffff, 0xffffffffffff, ~0ull, ~0ull, ~0ull, ~0ull, ~0ull};
    static constexpr uint64_t kHighMask[kMaxUnits + 1] = {
        0, 0, 0, 0, 0, 0xffff, 0xffffffff, 0xffffffffffff, ~0ull};

    Key last_;
    Key slots_[std::size_t{1} << kSlotBits];
};

// The list that ReadSampleWords fills, with the raw bytes of a few records
// whose words it is known to hold, so that repeats are found by comparing bytes
// before any conversion. Equal bytes give equal words; different bytes may
// still give a listed word (a NUL unit ends a word), which the slow path finds.
class SampleList {
public:
    SampleList(std::vector<std::wstring>& words, unsigned maxCount) : words_(words), maxCount_(maxCount)
    {
        emptyListed_ = std::find(words_.begin(), words_.end(), std::wstring()) != words_.end();
        if (emptyListed_)
            shortWords_.Add({});
    }

    bool Full() const { return words_.size() >= maxCount_; }
    // A record with n = 0 holds the empty word: once that is listed, such
    // records are as good as flagged.
    bool EmptyListed() const { return emptyListed_; }
    // Short words whose records need no visit.
    const ShortWordFilter& ShortWords() const { return shortWords_; }

    // Adds the word in `units` unless listed; false once the list is full.
    bool Add(std::span<const uint8_t> units)
    {
        // Words are short: a byte loop beats a call to a general comparison.
        if (units.size() == lastSize_) {
            std::size_t i = 0;
            while (i < lastSize_ && units[i] == last_[i])
                ++i;
            if (i == lastSize_)
                return true;
        }
        return AddUnknown(units);
    }

private:
    static constexpr std::size_t kKnownRecords = 16;

    bool AddUnknown(std::span<const uint8_t> units)
    {
        for (std::size_t i = 0; i < knownCount_; ++i) {
            if (std::equal(units.begin(), units.end(), known_[i].begin(), known_[i].end())) {
                SetLast(i);
                return true;
            }
        }
        AddSampleWord(words_, units, word_);
        // Listed now, whether it was new or not.
        shortWords_.Add(units);
        emptyListed_ = emptyListed_ || word_.empty();
        if (knownCount_ < kKnownRecords) {
            known_[knownCount_].assign(units.begin(), units.end());
            SetLast(knownCount_++);
        }
        return !Full();
    }

    void SetLast(std::size_t i)
    {
        last_ = known_[i].data();
        lastSize_ = known_[i].size();
    }

    std::vector<std::wstring>& words_;
    const unsigned maxCount_;
    bool emptyListed_ = false;
    ShortWordFilter shortWords_;
    std::wstring word_;  // conversion scratch space
    std::vector<uint8_t> known_[kKnownRecords];
    std::size_t knownCount_ = 0;
    // The entry that matched last, tried first; no record's word has SIZE_MAX bytes.
    const uint8_t* last_ = nullptr;
    std::size_t lastSize_ = SIZE_MAX;
};

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
    SampleList samples(words, maxCount);
    // Words that cross the end of the reader's window are read on their own.
    auto spill = std::make_unique_for_overwrite<uint8_t[]>(2 * 0x7fff);
    int64_t pos = header.section1Offset;
    bool stopped = false;

    auto recordSize = [](const uint8_t* head) { return 4 * std::size_t{HeadValue(head) & 0x7fffu} + 4; };
    uint32_t index = 0;
    while (index < header.section1Count && !stopped) {
        if (samples.Full() || pos >= size || pos > kMaxPosition)
            break;
        std::span<const uint8_t> window = reader.Window(pos, 2);
        if (window.size() < 2)
            break;
        const int64_t windowStart = pos;
        // Heads below 0x8000 carry a word; head 0 is the empty word.
        const uint32_t firstCandidate = samples.EmptyListed() ? 1 : 0;
        const uint8_t* const windowEnd = window.data() + window.size();
        // A copy, which the scan's visits cannot change under the lanes.
        auto candidate = [firstCandidate, listed = samples.ShortWords(), windowEnd](const uint8_t* head) {
            return HeadValue(head) - firstCandidate < 0x8000u - firstCandidate && !listed.Listed(head, windowEnd);
        };
        auto visit = [&](std::size_t offset) {
            const std::size_t n = HeadValue(window.data() + offset) & 0x7fffu;
            const std::size_t wordOffset = offset + 4 + 2 * n;
            if (wordOffset + 2 * n <= window.size())
                return samples.Add(window.subspan(wordOffset, 2 * n));
            const int64_t wordStart = windowStart + static_cast<int64_t>(wordOffset);
            if (wordStart > kMaxPosition || !SeekFile(file.get(), wordStart, SEEK_SET)) {
                stopped = true;
                return false;
            }
            return samples.Add({spill.get(), std::fread(spill.get(), 1, 2 * n, file.get())});
        };
        ScanResult scan = ScanRecords<2, 4, 131072, kUsualStride>(window.data(), window.size(), header.section1Count - index,
                                                    reader.Positions(), recordSize, candidate, visit);
        if (scan.stopped)
            break;
        index += scan.records;
        pos += static_cast<int64_t>(scan.end);
    }
    return static_cast<unsigned>(words.size());
}

}  // namespace before
