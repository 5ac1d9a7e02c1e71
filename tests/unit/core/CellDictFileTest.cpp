#include "dict/CellDictFile.h"

#include "support/DictBytes.h"
#include "support/ReferenceReader.h"
#include "support/ScratchFile.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <functional>
#include <random>

namespace {

using Problem = CellDictVerdict::Problem;

// Loads `path` every way there is and checks that they agree with each other
// and with the record-by-record reference; returns the verdict.
CellDictVerdict LoadAllWays(const std::wstring& path)
{
    CellDictFile checked;
    CellDictVerdict verdict = checked.LoadAndCheck(path);
    CellDictFile validated;
    EXPECT_EQ(validated.Load(path, true), verdict.Ok());
    EXPECT_EQ(checked.loaded, verdict.Ok());

    ReferenceLoadResult reference = ReferenceLoad(path, true);
    EXPECT_EQ(reference.ok, verdict.Ok());
    if (reference.opened) {
        EXPECT_EQ(validated.fileSize, reference.fileSize);
    }
    if (reference.headerRead) {
        EXPECT_EQ(0, std::memcmp(&validated.header, &reference.header, kCellDictHeaderSize));
    }

    CellDictFile plain;
    EXPECT_EQ(plain.Load(path, false), ReferenceLoad(path, false).ok);
    return verdict;
}

ByteVector Truncated(ByteVector bytes, std::size_t removed)
{
    bytes.resize(bytes.size() - removed);
    return bytes;
}

struct WalkCase {
    const char* name;
    std::function<ByteVector()> make;
    Problem problem;
    int section = 0;
    uint32_t record = 0;
    int64_t offset = 0;
    int64_t expected = 0;
};

const uint32_t kS1 = static_cast<uint32_t>(kCellDictHeaderSize);  // where section 1 starts

const WalkCase kWalkCases[] = {
    {"847 bytes", [] { return Truncated(DictBytes().Bytes(), 1); }, Problem::TooShort, 0, 0, 847},
    {"bare header", [] { return DictBytes().Bytes(); }, Problem::None},
    {"empty sections, section 1 offset beyond the end",
     [] { DictBytes d; d.header.section1Offset = 1u << 30; return d.Bytes(); }, Problem::None},
    {"section 1 offset of 2^31",
     [] { DictBytes d; d.header.section1Offset = 0x80000000u; return d.Bytes(); },
     Problem::SeekFailed, 1, 0, 0x80000000},
    {"wrong magic", [] { DictBytes d; d.header.magic[1] = 0x77737671; return d.Bytes(); }, Problem::BadMagic},
    {"all three sections",
     [] { return DictBytes().Word(u"词典").Word(u"x", true).Section2(7).Section2(0).Section3(1, 2, 3).Section3(0, 0, 1).Bytes(); },
     Problem::None},
    {"bytes after the last section",
     [] { return DictBytes().Word(u"ab").Section3(2, 0, 0).Tail(ByteVector(100, 0xEE)).Bytes(); }, Problem::None},
    {"no section 2: its offset is ignored",
     [] { DictBytes d; d.Word(u"abc").Section3(1, 1, 1); d.header.section2Offset = 7; return d.Bytes(); },
     Problem::None},
    {"no section 1: section 2 at section 1's offset",
     [] { return DictBytes().Section2(3).Bytes(); }, Problem::None},
    {"no section 1: section 2 elsewhere",
     [] { DictBytes d; d.Section2(3); d.header.section2Offset = kS1 + 1; return d.Bytes(); },
     Problem::SectionMisplaced, 2, 0, kS1, kS1 + 1},
    {"section 3 not where section 2 ends",
     [] { DictBytes d; d.Word(u"a").Section2(1).Section3(1, 0, 0); d.header.section3Offset -= 1; return d.Bytes(); },
     Problem::SectionMisplaced, 3, 0, kS1 + 8 + 5, kS1 + 8 + 4},
    {"section 1 measured by byte 0 alone (n = 256 counts as 4 bytes)",
     [] {
         DictBytes d;
         d.Section1Raw(0x0100, std::vector<uint16_t>(512, 0x41)).Section2(1);
         return d.Bytes();
     },
     Problem::SectionMisplaced, 2, 0, kS1 + 4, kS1 + 4 + 1024},
    {"n = 0 last with 2 bytes to spare", [] { return DictBytes().EmptyWords(3, false).Tail({0, 0}).Bytes(); }, Problem::None},
    {"n = 0 last with 1 byte to spare", [] { return DictBytes().EmptyWords(3, false).Tail({0}).Bytes(); },
     Problem::RecordHeadUnreadable, 1, 2, kS1 + 8},
    {"L = 0 last with 1 byte to spare", [] { return DictBytes().Section2(0).Tail({0}).Bytes(); }, Problem::None},
    {"L = 0 last at the very end", [] { return DictBytes().Section2(4).Section2(0).Bytes(); },
     Problem::RecordHeadUnreadable, 2, 1, kS1 + 8},
    {"x = y = z = 0 last with 2 bytes to spare", [] { return DictBytes().Section3(0, 0, 0).Tail({0, 0}).Bytes(); },
     Problem::None},
    {"x = y = z = 0 last with 1 byte to spare", [] { return DictBytes().Section3(0, 0, 0).Tail({0}).Bytes(); },
     Problem::RecordHeadUnreadable, 3, 0, kS1},
    {"last record cut after its 6-byte head", [] { return Truncated(DictBytes().Word(u"abc").Bytes(), 16 - 6); },
     Problem::None},
    {"last record cut inside its head", [] { return Truncated(DictBytes().Word(u"abc").Bytes(), 16 - 5); },
     Problem::RecordHeadUnreadable, 1, 0, kS1},
    {"last section-3 record cut after its head",
     [] { return Truncated(DictBytes().Section3(9, 9, 9).Bytes(), 54 - 10); }, Problem::None},
    {"more records counted than present",
     [] { DictBytes d; d.Word(u"ab").Word(u"cd"); d.header.section1Count = 0xFFFFFFFFu; return d.Bytes(); },
     Problem::RecordHeadUnreadable, 1, 2, kS1 + 24},
    {"section 2 offset 2^31 past where section 1 ends",
     [] { DictBytes d; d.Word(u"a").Section2(1); d.header.section2Offset += 0x80000000u; return d.Bytes(); },
     Problem::SectionMisplaced, 2, 0, kS1 + 8, int64_t{kS1} + 8 + 0x80000000u},
};

void PrintTo(const WalkCase& c, std::ostream* os)
{
    *os << c.name;
}

class WalkTest : public testing::TestWithParam<WalkCase> {};

TEST_P(WalkTest, VerdictMatchesTheRecordByRecordWalk)
{
    const WalkCase& c = GetParam();
    ScratchFile file(c.make());
    CellDictVerdict verdict = LoadAllWays(file.Path());
    EXPECT_EQ(verdict.problem, c.problem);
    if (c.problem != Problem::None && c.problem != Problem::BadMagic) {
        EXPECT_EQ(verdict.section, c.section);
        EXPECT_EQ(verdict.record, c.record);
        EXPECT_EQ(verdict.offset, c.offset);
        EXPECT_EQ(verdict.expected, c.expected);
    }
}

std::string CaseName(const testing::TestParamInfo<WalkCase>& info)
{
    std::string name = std::to_string(info.index) + "_";
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Files, WalkTest, testing::ValuesIn(kWalkCases), CaseName);

TEST(CellDictFileTest, MissingFileKeepsHeaderAndSize)
{
    ScratchFile file(DictBytes().Identity(7, 1, 2, 3).Word(u"ab").Bytes());
    CellDictFile dict;
    ASSERT_TRUE(dict.Load(file.Path(), true));
    const uint32_t size = dict.fileSize;

    const std::wstring missing = file.Path() + L".missing";
    EXPECT_EQ(dict.LoadAndCheck(missing).problem, Problem::CannotOpen);
    EXPECT_FALSE(dict.loaded);
    EXPECT_EQ(dict.path, missing);
    EXPECT_EQ(dict.fileSize, size);
    EXPECT_EQ(dict.header.dictId, 7u);
}

TEST(CellDictFileTest, ReloadingFromItsOwnPathMember)
{
    ScratchFile file(DictBytes().Word(u"ab").Bytes());
    CellDictFile dict;
    dict.path = file.Path();
    EXPECT_TRUE(dict.Load(dict.path, true));
    EXPECT_EQ(dict.path, file.Path());
}

// Random files larger than the reader's block (record heads across block edges),
// whole and broken late in the file: the block-reading walk and samples must
// agree with the record-by-record reference on each.
TEST(CellDictFileTest, RandomLargeFilesAgreeWithTheReference)
{
    for (uint32_t seed = 1; seed <= 18; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        std::mt19937 random(seed);
        const uint32_t wordMax = seed % 4 == 0 ? 255 : 6;
        DictBytes d;
        for (uint32_t size = 0; size < 200'000 + seed * 10'000;) {
            const uint32_t n = random() % (wordMax + 1);
            if (random() % 7 == 0) {
                std::vector<uint16_t> units(2 * n, 0x3000);
                d.Section1Raw(static_cast<uint16_t>(n | (random() % 2 ? 0x8000 : 0) | (random() % 4 == 0 ? 0x100 : 0)), units);
            } else {
                d.Word(std::u16string(n, static_cast<char16_t>(u'a' + random() % 3)), random() % 3 == 0);
            }
            size = d.Section1Size();
        }
        for (int i = 0; i < 2000; ++i)
            d.Section2(static_cast<uint8_t>(random()));
        for (int i = 0; i < 1000; ++i)
            d.Section3(static_cast<uint8_t>(random() % 4), static_cast<uint8_t>(random() % 4), static_cast<uint8_t>(random()));
        ByteVector bytes = d.Bytes();
        switch (seed % 6) {
        case 1: bytes.resize(kCellDictHeaderSize + random() % (bytes.size() - kCellDictHeaderSize)); break;
        case 2: PutU32(bytes, offsetof(CellDictHeader, section2Offset), d.header.section2Offset + 4 * (random() % 3)); break;
        case 3: PutU32(bytes, offsetof(CellDictHeader, section1Count), d.header.section1Count + random() % 5); break;
        case 4: PutU32(bytes, offsetof(CellDictHeader, section3Count), d.header.section3Count + 1); break;
        case 5: PutU32(bytes, offsetof(CellDictHeader, section3Offset), d.header.section3Offset + 2); break;
        default: break;
        }
        ScratchFile file(bytes);
        LoadAllWays(file.Path());

        CellDictFile dict;
        ASSERT_TRUE(dict.Load(file.Path(), false));
        for (unsigned maxCount : {10u, 1000u}) {
            std::vector<std::wstring> words, expected;
            dict.ReadSampleWords(words, maxCount);
            ReferenceReadSampleWords(file.Path(), dict.header, expected, maxCount);
            EXPECT_EQ(words, expected);
        }
    }
}

}  // namespace
