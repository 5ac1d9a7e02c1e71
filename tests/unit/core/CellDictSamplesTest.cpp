#include "dict/CellDictFile.h"

#include "support/DictBytes.h"
#include "support/ReferenceReader.h"
#include "support/ScratchFile.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace std::string_view_literals;
using Words = std::vector<std::wstring>;

struct SampleCase {
    const char* name;
    std::function<ByteVector()> make;
    Words before;  // already in the list
    unsigned maxCount;
    Words expected;
};

void PrintTo(const SampleCase& c, std::ostream* os)
{
    *os << c.name;
}

ByteVector Cut(ByteVector bytes, std::size_t removed)
{
    bytes.resize(bytes.size() - removed);
    return bytes;
}

const SampleCase kSampleCases[] = {
    {"distinct words in file order", [] { return DictBytes().Word(u"北京").Word(u"上海").Word(u"广州").Bytes(); },
     {}, 10, {L"北京", L"上海", L"广州"}},
    {"stops at the maximum", [] { return DictBytes().Word(u"a").Word(u"b").Word(u"c").Bytes(); }, {}, 2, {L"a", L"b"}},
    {"a full list takes nothing", [] { return DictBytes().Word(u"a").Bytes(); }, {L"x", L"y"}, 2, {L"x", L"y"}},
    {"flagged records are never samples",
     [] { return DictBytes().Word(u"隐", true).Word(u"显").Word(u"隐藏", true).Bytes(); }, {}, 10, {L"显"}},
    {"a repeated word is listed once",
     [] { return DictBytes().Word(u"同").Word(u"异").Word(u"同").Bytes(); }, {}, 10, {L"同", L"异"}},
    {"a word already in the list is not added", [] { return DictBytes().Word(u"旧").Word(u"新").Bytes(); },
     {L"旧"}, 10, {L"旧", L"新"}},
    {"n = 0 gives one empty word", [] { return DictBytes().EmptyWords(3, false).Word(u"z").Bytes(); }, {}, 10,
     {L"", L"z"}},
    {"a NUL unit ends the word", [] { return DictBytes().Word(u"ab\0cd"sv).Bytes(); }, {}, 10, {L"ab"}},
    {"a surrogate pair is one character", [] { return DictBytes().Word(u"\U0001F600x").Bytes(); }, {}, 10,
     {L"\U0001F600x"}},
    {"a word cut by the file's end keeps its whole units",
     [] { return Cut(DictBytes().Word(u"一").Word(u"abcd").Bytes(), 3); }, {}, 10, {L"一", L"ab"}},
    {"a word starting past the end is empty",
     [] { return Cut(DictBytes().Word(u"一").Word(u"abcd").Bytes(), 9); }, {}, 10, {L"一", L""}},
    {"count larger than the records", [] {
         DictBytes d;
         d.Word(u"a");
         d.header.section1Count = 1000;
         return d.Bytes();
     }, {}, 10, {L"a"}},
    {"section 1 beyond the end", [] {
         DictBytes d;
         d.Word(u"a");
         d.header.section1Offset = 0x90000000u;
         return d.Bytes();
     }, {}, 10, {}},
    {"only heads of 15 bits count: n = 256 is not byte 0",
     [] { return DictBytes().Word(std::u16string(256, u'长')).Word(u"短").Bytes(); }, {}, 10,
     {std::wstring(256, L'长'), L"短"}},
};

class SampleTest : public testing::TestWithParam<SampleCase> {};

TEST_P(SampleTest, GathersTheSameWordsAsTheRecordByRecordReader)
{
    const SampleCase& c = GetParam();
    ScratchFile file(c.make());
    CellDictFile dict;
    ASSERT_TRUE(dict.Load(file.Path(), false));

    Words words = c.before;
    EXPECT_EQ(dict.ReadSampleWords(words, c.maxCount), c.expected.size());
    EXPECT_EQ(words, c.expected);

    Words reference = c.before;
    unsigned referenceCount = ReferenceReadSampleWords(file.Path(), dict.header, reference, c.maxCount);
    EXPECT_EQ(referenceCount, reference.size());
    EXPECT_EQ(words, reference);
}

INSTANTIATE_TEST_SUITE_P(Files, SampleTest, testing::ValuesIn(kSampleCases));

TEST(CellDictSamplesTest, UnreadableFileGivesZeroWhateverTheListHolds)
{
    CellDictFile dict;
    dict.path = L"no-such-folder/no-such.pvdict";
    dict.header.section1Count = 1;
    Words words{L"kept"};
    EXPECT_EQ(dict.ReadSampleWords(words, 10), 0u);
    EXPECT_EQ(words, Words{L"kept"});

    ScratchFile shortFile(ByteVector(847, 0));
    dict.path = shortFile.Path();
    EXPECT_EQ(dict.ReadSampleWords(words, 10), 0u);
}

// Every record up to the last is skipped or a repeat: the reader must cross
// its buffer many times and still find the one new word at the end.
TEST(CellDictSamplesTest, NewWordOnlyAtTheEndOfALargeFile)
{
    for (bool skipped : {true, false}) {
        SCOPED_TRACE(skipped ? "flagged records" : "repeated words");
        DictBytes d;
        d.Word(u"首");
        for (int i = 0; i < 200'000; ++i)
            d.Word(skipped ? u"跳过" : u"首", skipped);
        d.Word(u"尾");
        ScratchFile file(d.Bytes());
        CellDictFile dict;
        ASSERT_TRUE(dict.Load(file.Path(), true));
        Words words;
        EXPECT_EQ(dict.ReadSampleWords(words, 10), 2u);
        EXPECT_EQ(words, (Words{L"首", L"尾"}));
    }
}

// Large files whose records mostly repeat words that are already listed, in
// ways that a scan dropping such records early could get wrong. Each file is
// well over one read block, so repeats also straddle the block edges.
struct LongRunCase {
    const char* name;
    Words before;
    std::vector<std::u16string> pattern;  // records, repeated in turn; a leading '!' flags one
    std::vector<std::u16string> last;     // records after the repeats
    Words expected;
};

void PrintTo(const LongRunCase& c, std::ostream* os)
{
    *os << c.name;
}

const LongRunCase kLongRunCases[] = {
    {"several short words in turn", {}, {u"一", u"二三", u"四五六七", u"八九十百千万亿兆"}, {u"尾"},
     {L"一", L"二三", L"四五六七", L"八九十百千万亿兆", L"尾"}},
    {"a new word as long as the repeated ones", {}, {u"甲", u"乙"}, {u"丙"}, {L"甲", L"乙", L"丙"}},
    {"a longer word after a shorter one with the same start", {}, {u"ab", u"abc", u"ab"}, {u"abcd"},
     {L"ab", L"abc", L"abcd"}},
    {"a NUL unit makes a different record give a listed word", {}, {u"ab", std::u16string(u"ab\0x", 4), std::u16string(u"ab\0y", 4)}, {u"z"},
     {L"ab", L"z"}},
    {"words listed before the call", {L"旧", L""}, {u"旧", u""}, {u"新"}, {L"旧", L"", L"新"}},
    {"a word as flagged and not", {}, {u"!甲", u"乙", u"!乙", u"!丙"}, {u"丙"}, {L"乙", L"丙"}},
    {"words just longer than the short ones", {}, {u"一二三四五六七八九", u"一二三四五六七八"},
     {u"一二三四五六七八九十"}, {L"一二三四五六七八九", L"一二三四五六七八", L"一二三四五六七八九十"}},
    {"the empty word from a NUL unit, then n = 0", {}, {std::u16string(1, u'\0'), u""}, {u"x"}, {L"", L"x"}},
    {"more short words than the list takes", {}, {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10", u"11"},
     {}, {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10"}},
};

class LongRunTest : public testing::TestWithParam<LongRunCase> {};

TEST_P(LongRunTest, GathersTheSameWordsAsTheRecordByRecordReader)
{
    const LongRunCase& c = GetParam();
    DictBytes d;
    auto add = [&d](std::u16string_view record, uint16_t fill) {
        const bool flagged = !record.empty() && record[0] == u'!';
        d.Word(flagged ? record.substr(1) : record, flagged, fill);
    };
    // Fills differ from record to record, so that repeats are not byte for byte.
    for (uint32_t i = 0; d.Section1Size() < 1'500'000; ++i)
        add(c.pattern[i % c.pattern.size()], static_cast<uint16_t>(i * 0x9E37u));
    for (const std::u16string& record : c.last)
        add(record, 0);
    ScratchFile file(d.Tail(ByteVector(64, 0)).Bytes());
    CellDictFile dict;
    ASSERT_TRUE(dict.Load(file.Path(), true));

    Words words = c.before;
    EXPECT_EQ(dict.ReadSampleWords(words, 10), c.expected.size());
    EXPECT_EQ(words, c.expected);
    Words reference = c.before;
    ReferenceReadSampleWords(file.Path(), dict.header, reference, 10);
    EXPECT_EQ(words, reference);
}

INSTANTIATE_TEST_SUITE_P(Files, LongRunTest, testing::ValuesIn(kLongRunCases));

TEST(CellDictInfoTest, SampleText)
{
    const struct {
        Words samples;
        std::wstring text;
    } cases[] = {
        {{}, L"<无>"},
        {{L"北京"}, L"北京 ..."},
        {{L"a", L"", L"b"}, L"a  b ..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.samples.size() << " samples");
        CellDictInfo info;
        info.samples = c.samples;
        EXPECT_EQ(info.GetSampleText(), c.text);
    }
}

}  // namespace
