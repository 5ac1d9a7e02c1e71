#include "core/CellDictFile.h"

#include "support/DictShapes.h"
#include "support/ReferenceReader.h"
#include "support/ScratchFile.h"

#include <gtest/gtest.h>

namespace {

using enum CellDictVerdict::Problem;
using Words = std::vector<std::wstring>;

// The verdict on `bytes`, and its samples added to `samples`; every way of
// loading and reading must agree with the record-by-record reference.
CellDictVerdict ReadAllWays(const ByteVector& bytes, Words* samples = nullptr, unsigned maxCount = 10)
{
    const ScratchDir dir;
    CellDictVerdict verdict;
    Words none;
    const std::wstring path = dir.Write(L"t.pvdict", bytes);
    EXPECT_EQ(CompareWithReference(path, bytes, samples ? *samples : none, maxCount, verdict), "");
    return verdict;
}

// Well over the reader's 256 KiB block: records repeating `pattern` (a leading
// '!' flags one; fills differ from record to record, so that repeats are not
// byte for byte), then the word "尾".
ByteVector Repeated(const std::vector<std::u16string>& pattern)
{
    DictBytes dict;
    for (uint32_t i = 0; dict.Section1Size() < 1'500'000; ++i) {
        const std::u16string& record = pattern[i % pattern.size()];
        const bool flagged = record.starts_with(u'!');
        dict.Word(record.substr(flagged), flagged, static_cast<uint16_t>(i * 0x9E37u));
    }
    return dict.Word(u"尾").Tail(ByteVector(64)).Bytes();
}

ByteVector Cut(ByteVector bytes, std::size_t removed)
{
    bytes.resize(bytes.size() - removed);
    return bytes;
}

ByteVector With(DictBytes dict, uint32_t CellDictHeader::*field, uint32_t value)
{
    dict.header.*field = value;
    return dict.Bytes();
}

constexpr uint32_t kS1 = kCellDictHeaderSize;  // where section 1 starts
constexpr auto kS1Offset = &CellDictHeader::section1Offset, kS2Offset = &CellDictHeader::section2Offset;
constexpr auto kS3Offset = &CellDictHeader::section3Offset, kS1Count = &CellDictHeader::section1Count;

TEST(CellDictFileTest, WalkVerdicts)
{
    const DictBytes s1s2 = DictBytes().Word(u"a").Section2(1);
    DictBytes badMagic;
    badMagic.header.magic[1] = 0x77737671;
    const struct {
        const char* name;
        ByteVector bytes;
        CellDictVerdict expected = {};
        // clang-format off
    } rows[] = {
        {"847 bytes", Cut(DictBytes().Bytes(), 1), {TooShort, 0, 0, 847}},
        {"section 1 at 2^31", With(DictBytes(), kS1Offset, 1u << 31), {SeekFailed, 1, 0, 1u << 31}},
        {"wrong magic", badMagic.Bytes(), {BadMagic}},
        {"three sections", DictBytes().Word(u"词典").Word(u"x", true).Section2(7).Section2(0).Section3(1, 2, 3)
                               .Section3(0, 0, 1).Bytes()},
        {"no section 2: its offset is ignored", With(DictBytes().Word(u"abc").Section3(1, 1, 1), kS2Offset, 7)},
        {"no section 1: section 2 at its offset", DictBytes().Section2(3).Bytes()},
        {"no section 1: section 2 elsewhere", With(DictBytes().Section2(3), kS2Offset, kS1 + 1),
         {SectionMisplaced, 2, 0, kS1, kS1 + 1}},
        {"section 3 misplaced", With(DictBytes(s1s2).Section3(1, 0, 0), kS3Offset, kS1 + 12),
         {SectionMisplaced, 3, 0, kS1 + 13, kS1 + 12}},
        {"section 2 offset 2^31 on", With(s1s2, kS2Offset, kS1 + 8 + (1u << 31)),
         {SectionMisplaced, 2, 0, kS1 + 8, kS1 + 8 + (1ll << 31)}},
        {"n = 256 measured by byte 0", DictBytes().Word(std::u16string(256, u'长')).Section2(1).Bytes(),
         {SectionMisplaced, 2, 0, kS1 + 4, kS1 + 1028}},
        {"n = 0 last, 2 bytes spare", DictBytes().Word(u"").Word(u"").Tail({0, 0}).Bytes()},
        {"n = 0 last, 1 byte spare", DictBytes().Word(u"").Word(u"").Tail({0}).Bytes(),
         {RecordHeadUnreadable, 1, 1, kS1 + 4}},
        {"L = 0 last, 1 byte spare", DictBytes().Section2(0).Tail({0}).Bytes()},
        {"L = 0 last at the end", DictBytes().Section2(4).Section2(0).Bytes(), {RecordHeadUnreadable, 2, 1, kS1 + 8}},
        {"x = y = z = 0 last, 2 bytes spare", DictBytes().Section3(0, 0, 0).Section3(0, 0, 0).Tail({0, 0}).Bytes()},
        {"x = y = z = 0 last, 1 byte spare", DictBytes().Section3(0, 0, 0).Section3(0, 0, 0).Tail({0}).Bytes(),
         {RecordHeadUnreadable, 3, 1, kS1 + 8}},
        {"last record cut after its head", Cut(DictBytes().Word(u"abc").Bytes(), 10)},
        {"last record cut in its head", Cut(DictBytes().Word(u"abc").Bytes(), 11), {RecordHeadUnreadable, 1, 0, kS1}},
        {"more records counted than present", With(DictBytes().Word(u"ab").Word(u"cd"), kS1Count, ~0u),
         {RecordHeadUnreadable, 1, 2, kS1 + 24}},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const CellDictVerdict v = ReadAllWays(row.bytes), e = row.expected;
        EXPECT_EQ(static_cast<int>(v.problem), static_cast<int>(e.problem));
        EXPECT_EQ(v.section, e.section);
        EXPECT_EQ(v.record, e.record);
        EXPECT_EQ(v.offset, e.offset);
        EXPECT_EQ(v.expected, e.expected);
    }
}

TEST(CellDictFileTest, Samples)
{
    const std::u16string nul(1, u'\0');
    const DictBytes oneAbcd = DictBytes().Word(u"一").Word(u"abcd");
    const struct {
        const char* name;
        ByteVector bytes;
        Words before, expected;
        unsigned maxCount = 10;
        // clang-format off
    } rows[] = {
        {"distinct words in file order", DictBytes().Word(u"北京").Word(u"上海").Word(u"广州").Bytes(), {},
         {L"北京", L"上海", L"广州"}},
        {"stops at the maximum", DictBytes().Word(u"a").Word(u"b").Word(u"c").Bytes(), {}, {L"a", L"b"}, 2},
        {"flagged records are no samples", DictBytes().Word(u"隐", true).Word(u"显").Word(u"隐藏", true).Bytes(), {},
         {L"显"}},
        {"repeats listed once", DictBytes().Word(u"同").Word(u"异").Word(u"同").Bytes(), {L"异"}, {L"异", L"同"}},
        {"n = 0 gives one empty word", DictBytes().Word(u"").Word(u"").Word(u"z").Bytes(), {}, {L"", L"z"}},
        {"a NUL unit ends the word", DictBytes().Word(std::u16string(u"ab\0cd", 5)).Word(u"ab").Bytes(), {}, {L"ab"}},
        {"a word cut by the end keeps whole units", Cut(oneAbcd.Bytes(), 3), {}, {L"一", L"ab"}},
        {"a word past the end is empty", Cut(oneAbcd.Bytes(), 9), {}, {L"一", L""}},
        {"section 1 beyond the end", With(DictBytes().Word(u"a"), kS1Offset, 0x90000000u), {}, {}},
        {"n is 15 bits for samples", DictBytes().Word(std::u16string(256, u'长')).Word(u"短").Bytes(), {},
         {std::wstring(256, L'长'), L"短"}},
        // Files larger than the reader's block whose records mostly repeat listed words.
        {"NUL units give a listed word", Repeated({u"ab", u"ab" + nul + u"x", u"ab" + nul + u"y"}), {}, {L"ab", L"尾"}},
        {"words listed before", Repeated({u"旧", u""}), {L"旧", L""}, {L"旧", L"", L"尾"}},
        {"a word flagged and not", Repeated({u"!甲", u"乙", u"!乙", u"!尾"}), {}, {L"乙", L"尾"}},
        {"the empty word from a NUL, then n = 0", Repeated({nul, u""}), {}, {L"", L"尾"}},
        {"more words than it takes", Repeated({u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10", u"11"}),
         {}, {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10"}},
        {"most records", MostRecordsDict(600'000), {}, {L""}},
        {"a new word only at the end", LateSampleDict(600'000), {}, {L"", L"末尾"}},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Words samples = row.before;
        ReadAllWays(row.bytes, &samples, row.maxCount);
        EXPECT_EQ(samples, row.expected);
    }
}

}  // namespace
