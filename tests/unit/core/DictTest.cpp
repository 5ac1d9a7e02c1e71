#include "core/CellDictFile.h"
#include "core/CellDictInfo.h"
#include "core/DictList.h"
#include "core/StoredName.h"

#include "support/DictBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(CellDictHeaderTest, Texts)
{
    // The length fields cap the texts, which end at a NUL or the header's end.
    const std::u16string full(32, u'满');
    const struct Row {
        const char* name;
        DictBytes dict;
        uint32_t nameLength, descriptionLength;
        std::wstring expectName, expectDescription;
        // clang-format off
    } rows[] = {
        {"length 0 gives nothing", DictBytes().Name(u"名字").Description(u"述"), 0, 0, L"", L""},
        {"the length is a cap", DictBytes().Name(u"0123456789").Description(u"abc"), 100, 2, L"0123456789", L"ab"},
        {"a full slot runs on", DictBytes().Name(full + u"后续"), 40, 0, std::wstring(32, L'满') + L"后续", L""},
        {"the header's end ends a text", DictBytes().Description(std::u16string(256, u'述')), 0, ~0u, L"",
         std::wstring(256, L'述')},
        {"surrogate pairs", DictBytes().Name(u"\U00020000词"), 3, 0, L"\U00020000词", L""},
    };
    // clang-format on
    for (Row row : rows) {
        SCOPED_TRACE(row.name);
        row.dict.header.nameLength = row.nameLength;
        row.dict.header.descriptionLength = row.descriptionLength;
        EXPECT_EQ(row.dict.header.GetName(), row.expectName);
        EXPECT_EQ(row.dict.header.GetDescription(), row.expectDescription);
    }
    // clang-format off
    const struct { const char* name; const char16_t* text; const wchar_t* expect; } categories[] = {
        {"the part before a comma", u"城市,地名", L"城市"}, {"no comma", u"城市", L"城市"},
        {"empty", u"", L"其他"}, {"nothing before the comma", u",地名", L"其他"},
    };
    // clang-format on
    for (const auto& row : categories) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DictBytes().Category(row.text).header.GetCategory(), row.expect);
    }
    CellDictInfo info;
    EXPECT_EQ(info.GetSampleText(), L"<无>");
    info.samples = {L"a", L"", L"b"};
    EXPECT_EQ(info.GetSampleText(), L"a  b ...");
}

TEST(CellDictHeaderTest, EntryCountAndVersionOrder)
{
    const std::wstring filler(500, L'x');  // longer than a first guess at the size
    // clang-format off
    const struct { const char* name; uint32_t s1, s2, s3; std::wstring format, expect; } counts[] = {
        {"the sum of the sections", 5, 0, 2, L"%d", L"7"},
        {"the sum wraps at 32 bits", 0xFFFFFFFFu, 2, 0, L"%d", L"1"},
        {"a negative count in a long text", 0x80000000u, 0, 0, filler + L"共%d条", filler + L"共-2147483648条"},
    };
    // clang-format on
    for (const auto& row : counts) {
        SCOPED_TRACE(row.name);
        CellDictHeader header{};
        std::tie(header.section1Count, header.section2Count, header.section3Count) = std::tie(row.s1, row.s2, row.s3);
        EXPECT_EQ(header.FormatEntryCount(row.format.c_str()), row.expect);
    }
    // At the first differing part, the 32-bit two's-complement difference decides.
    // clang-format off
    const struct { const char* name; uint32_t a[3], b[3]; bool newer; } versions[] = {
        {"the second part decides", {1, 2, 3}, {1, 1, 9}, true},
        {"equal", {1, 2, 3}, {1, 2, 3}, false},
        {"2^31 ahead is behind", {0x80000000u, 9, 9}, {0, 0, 0}, false},
        {"one ahead across the wrap", {0, 0, 0}, {0xFFFFFFFFu, 9, 9}, true},
    };
    // clang-format on
    for (const auto& row : versions) {
        SCOPED_TRACE(row.name);
        const CellDictHeader a = DictBytes().Identity(1, row.a[0], row.a[1], row.a[2]).header;
        const CellDictHeader b = DictBytes().Identity(1, row.b[0], row.b[1], row.b[2]).header;
        EXPECT_EQ(IsNewerVersion(a, b), row.newer);
        EXPECT_FALSE(row.newer && IsNewerVersion(b, a));
    }
}

TEST(StoredNameTest, MakeStoredName)
{
    const std::wstring n255(255, L'n');
    // clang-format off
    const struct { const char* name; uint32_t id, build; std::wstring path, expect; } rows[] = {
        {"identifier and version", 12345, 3, L"C:\\any\\source.txt", L"12345_1_2_3.pvdict"},
        {"unsigned parts", ~0u, 1u << 31, L"x", L"4294967295_1_2_2147483648.pvdict"},
        // Without an identifier: the source's own file name and extension, when
        // its parts fit the split buffers (256 units with the NUL).
        {"no identifier: the file name", 0, 3, L"d:/mixed\\seps/城市.dict.scel", L"城市.dict.scel"},
        {"no identifier, no file name", 0, 0, L"C:\\folder\\", L""},
        {"parts that just fit", 0, 0, L"C:\\" + n255.substr(0, 253) + L"\\" + n255 + L".b", n255 + L".b"},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(MakeStoredName(row.path, DictBytes().Identity(row.id, 1, 2, row.build).header), row.expect);
    }
}

TEST(StoredNameTest, CompareNames)
{
    // a, b, the same dictionary, the sign of a's version against b's
    // clang-format off
    const struct { const char* name; const wchar_t *a, *b; bool same; int sign; } rows[] = {
        {"numbers, not texts", L"7_1_10_0.pvdict", L"7_1_9_5.pvdict", true, 1},
        {"more parts are newer", L"7.pvdict", L"7_0_0_0.pvdict", true, -1},
        {"only a lower-case pvdict is dropped", L"7_1_2_3.pvdict", L"7_1_2_3.PVDICT", true, -1},
        {"an empty part is 0", L"7__3", L"7_0_3", true, 0},
        {"parts read as _wtoi reads them", L"7_ +12_0", L"7_12x_0", true, 0},
        {"a negative part", L"7_-5", L"7_abc5", true, -1},
        {"empty against pvdict", L"", L"pvdict", false, 0},
        {"the identity is case-sensitive", L"Cities.pvdict", L"cities", false, 0},
        // Beyond 32 bits numbers clamp, and differences keep their sign.
        {"clamped above", L"7_99999999999", L"7_2147483647", true, 0},
        {"the whole range apart, below", L"7_-2147483648", L"7_2147483647", true, -1},
        {"the whole range apart, above", L"7_2147483647", L"7_-99999999999", true, 1},
    };
    // clang-format on
    const auto Sign = [](int value) { return (value > 0) - (value < 0); };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(IsSameDictionary(row.a, row.b), row.same);
        EXPECT_EQ(IsSameDictionary(row.b, row.a), row.same);
        EXPECT_EQ(Sign(CompareStoredVersions(row.a, row.b)), row.sign);
        EXPECT_EQ(Sign(CompareStoredVersions(row.b, row.a)), -row.sign);
    }
}

TEST(DictList, ParseJoinAndEdit)
{
    // clang-format off
    const struct { const char* name; const wchar_t *separator, *text, *joined; } rows[] = {
        {"separators only", L";", L";;;", L""},
        {"sorted, unique, blanks kept", L";", L"beta; a ;;alpha; A;beta", L" A; a ;alpha;beta;"},
        {"a separator of two units", L"||", L"a|||||b", L"a|||b||"},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DictList list(row.separator);
        list.Insert(L"stale");
        list.Parse(row.text);
        EXPECT_EQ(list.Join(), row.joined);
    }
    DictList list;
    list.Parse(L"5_a;6;5_b;");
    list.AddTokens(L"7;6");
    EXPECT_TRUE(list.Insert(L"a") && !list.Insert(L"a") && !list.Remove(L"A") && list.Remove(L"a"));
    EXPECT_FALSE(list.Contains(L"a"));
    for (auto it = list.begin(); it != list.end();)
        it = it->starts_with(L"5_") ? list.Erase(it) : std::next(it);
    EXPECT_EQ(list.Join(), L"6;7;");
}

}  // namespace
