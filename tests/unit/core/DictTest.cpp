#include "core/CellDictFile.h"
#include "core/CellDictInfo.h"
#include "core/StoredName.h"
#include "core/DictList.h"

#include "support/DictBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(CellDictHeaderTest, Texts)
{
    // The length fields cap the texts, which end at a NUL or the header's end.
    const std::tuple<const char*, DictBytes, uint32_t, uint32_t, std::wstring, std::wstring> cases[] = {
        {"length 0 gives nothing", DictBytes().Name(u"名字").Description(u"述"), 0, 0, L"", L""},
        {"the length is a cap", DictBytes().Name(u"0123456789").Description(u"abc"), 100, 2, L"0123456789", L"ab"},
        {"a full slot runs on", DictBytes().Name(std::u16string(32, u'满') + u"后续"), 40, 0, std::wstring(32, L'满') + L"后续", L""},
        {"the header's end ends a text", DictBytes().Description(std::u16string(256, u'述')), 0, ~0u, L"", std::wstring(256, L'述')},
        {"surrogate pairs", DictBytes().Name(u"\U00020000词"), 3, 0, L"\U00020000词", L""},
    };
    for (auto [label, dict, nameLength, descriptionLength, name, description] : cases) {
        SCOPED_TRACE(label);
        std::tie(dict.header.nameLength, dict.header.descriptionLength) = std::tie(nameLength, descriptionLength);
        EXPECT_EQ(dict.header.GetName(), name);
        EXPECT_EQ(dict.header.GetDescription(), description);
    }
    for (const auto& [text, category] : {std::pair{u"城市,地名", L"城市"}, {u"城市", L"城市"}, {u"", L"其他"}, {u",地名", L"其他"}}) {
        SCOPED_TRACE(testing::Message() << "category " << category);
        EXPECT_EQ(DictBytes().Category(text).header.GetCategory(), category);
    }
    CellDictInfo info;
    EXPECT_EQ(info.GetSampleText(), L"<无>");
    info.samples = {L"a", L"", L"b"};
    EXPECT_EQ(info.GetSampleText(), L"a  b ...");
}

TEST(CellDictHeaderTest, EntryCountAndVersionOrder)
{
    const std::wstring filler(500, L'x');  // longer than a first guess at the size
    const std::tuple<uint32_t, uint32_t, uint32_t, std::wstring, std::wstring> counts[] = {
        {5, 0, 2, L"%d", L"7"},
        {0xFFFFFFFFu, 2, 0, L"%d", L"1"},
        {0x80000000u, 0, 0, filler + L"共%d条", filler + L"共-2147483648条"},
    };
    for (const auto& [s1, s2, s3, format, text] : counts) {
        SCOPED_TRACE(testing::Message() << s1 << " " << s2 << " " << s3);
        CellDictHeader header{};
        std::tie(header.section1Count, header.section2Count, header.section3Count) = std::tie(s1, s2, s3);
        EXPECT_EQ(header.FormatEntryCount(format.c_str()), text);
    }
    // At the first differing part, the 32-bit two's-complement difference decides.
    const std::tuple<std::array<uint32_t, 3>, std::array<uint32_t, 3>, bool> versions[] = {
        {{1, 2, 3}, {1, 1, 9}, true},
        {{1, 2, 3}, {1, 2, 3}, false},
        {{0x80000000u, 9, 9}, {0, 0, 0}, false},
        {{0, 0, 0}, {0xFFFFFFFFu, 9, 9}, true},
    };
    for (const auto& [a, b, newer] : versions) {
        SCOPED_TRACE(testing::Message() << a[0] << "." << a[1] << "." << a[2] << " vs " << b[0] << "." << b[1] << "." << b[2]);
        const CellDictHeader ha = DictBytes().Identity(1, a[0], a[1], a[2]).header;
        const CellDictHeader hb = DictBytes().Identity(1, b[0], b[1], b[2]).header;
        EXPECT_EQ(IsNewerVersion(ha, hb), newer);
        EXPECT_FALSE(newer && IsNewerVersion(hb, ha));
    }
}

TEST(StoredNameTest, MakeStoredName)
{
    const std::wstring n255(255, L'n');
    const std::tuple<uint32_t, uint32_t, std::wstring, std::wstring> cases[] = {
        {12345, 3, L"C:\\any\\source.txt", L"12345_1_2_3.pvdict"},
        {~0u, 1u << 31, L"x", L"4294967295_1_2_2147483648.pvdict"},
        // Without an identifier: the source's own file name and extension, when
        // its parts fit the split buffers (256 units with the NUL).
        {0, 3, L"d:/mixed\\seps/城市.dict.scel", L"城市.dict.scel"},
        {0, 0, L"C:\\folder\\", L""},
        {0, 0, L"C:\\" + n255.substr(0, 253) + L"\\" + n255 + L".b", n255 + L".b"},
    };
    for (const auto& [id, build, path, expected] : cases) {
        SCOPED_TRACE(testing::Message() << id << " " << path.size() << " units");
        EXPECT_EQ(MakeStoredName(path, DictBytes().Identity(id, 1, 2, build).header), expected);
    }
}

TEST(StoredNameTest, CompareNames)
{
    const std::tuple<const wchar_t*, const wchar_t*, bool, int> cases[] = {
        // a, b, the same dictionary, the sign of a's version against b's
        {L"7_1_10_0.pvdict", L"7_1_9_5.pvdict", true, 1},
        {L"7.pvdict", L"7_0_0_0.pvdict", true, -1},
        {L"7_1_2_3.pvdict", L"7_1_2_3.PVDICT", true, -1},
        {L"7__3", L"7_0_3", true, 0},
        {L"7_ +12_0", L"7_12x_0", true, 0},
        {L"7_-5", L"7_abc5", true, -1},
        {L"", L"pvdict", false, 0},
        {L"Cities.pvdict", L"cities", false, 0},
        // Beyond 32 bits numbers clamp, and differences keep their sign.
        {L"7_99999999999", L"7_2147483647", true, 0},
        {L"7_-2147483648", L"7_2147483647", true, -1},
        {L"7_2147483647", L"7_-99999999999", true, 1},
    };
    const auto Sign = [](int value) { return (value > 0) - (value < 0); };
    for (const auto& [a, b, same, sign] : cases) {
        SCOPED_TRACE(testing::Message() << "'" << a << "' against '" << b << "'");
        EXPECT_EQ(IsSameDictionary(a, b), same);
        EXPECT_EQ(IsSameDictionary(b, a), same);
        EXPECT_EQ(Sign(CompareStoredVersions(a, b)), sign);
        EXPECT_EQ(Sign(CompareStoredVersions(b, a)), -sign);
    }
}

TEST(DictList, ParseJoinAndEdit)
{
    const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> cases[] = {
        {L";", L";;;", L""},
        {L";", L"beta; a ;;alpha; A;beta", L" A; a ;alpha;beta;"},
        {L"||", L"a|||||b", L"a|||b||"},
    };
    for (const auto& [separator, text, joined] : cases) {
        SCOPED_TRACE(testing::Message() << "'" << text << "'");
        DictList list(separator);
        list.Insert(L"stale");
        list.Parse(text);
        EXPECT_EQ(list.Join(), joined);
    }
    DictList list;
    list.Parse(L"5_a;6;5_b;");
    list.AddTokens(L"7;6");
    EXPECT_TRUE(list.Insert(L"a") && !list.Insert(L"a") && !list.Remove(L"A") && list.Remove(L"a") && !list.Contains(L"a"));
    for (auto it = list.begin(); it != list.end();)
        it = it->starts_with(L"5_") ? list.Erase(it) : std::next(it);
    EXPECT_EQ(list.Join(), L"6;7;");
}

}  // namespace
