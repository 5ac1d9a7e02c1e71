#include "dict/CellDictHeader.h"

#include "support/DictBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(CellDictHeaderTest, TextRule)
{
    const struct {
        const char* name;
        DictBytes dict;
        std::wstring expectedName;
        std::wstring expectedDescription;
    } cases[] = {
        {"length 0 gives nothing", [] { DictBytes d; d.Name(u"名字"); d.header.nameLength = 0; return d; }(), L"", L""},
        {"length is a cap, not a length",
         [] { DictBytes d; d.Name(u"0123456789"); d.header.nameLength = 100; return d; }(), L"0123456789", L""},
        {"cut to the length", [] { DictBytes d; d.Name(u"0123456789"); d.header.nameLength = 3; return d; }(), L"012", L""},
        {"a full slot runs on into the next field",
         [] {
             DictBytes d;
             d.Text2(u"后续");
             d.Name(std::u16string(32, u'满'));
             d.header.nameLength = 40;
             return d;
         }(),
         std::wstring(32, L'满') + L"后续", L""},
        {"the header's end ends the description",
         [] {
             DictBytes d;
             d.Description(std::u16string(256, u'述'));
             d.header.descriptionLength = 100000;
             return d;
         }(),
         L"", std::wstring(256, L'述')},
        {"surrogate pairs", [] { DictBytes d; d.Name(u"\U00020000词"); return d; }(), L"\U00020000词", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.dict.header.GetName(), c.expectedName);
        EXPECT_EQ(c.dict.header.GetDescription(), c.expectedDescription);
    }
}

TEST(CellDictHeaderTest, Category)
{
    const struct {
        std::u16string text;
        std::wstring expected;
    } cases[] = {
        {u"城市,地名", L"城市"}, {u"城市", L"城市"}, {u"", L"其他"}, {u",地名", L"其他"}, {u"a,b,c", L"a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "length " << c.text.size());
        EXPECT_EQ(DictBytes().Category(c.text).header.GetCategory(), c.expected);
    }
}

TEST(CellDictHeaderTest, EntryCount)
{
    const std::wstring filler(500, L'x');  // longer than a first guess at the size
    const struct {
        uint32_t counts[3];
        std::wstring format;
        uint32_t expected;
        std::wstring text;
    } cases[] = {
        {{5, 0, 2}, L"%d", 7, L"7"},
        {{0, 0, 0}, L"%d", 0, L"0"},
        {{0xFFFFFFFFu, 2, 0}, L"%d", 1, L"1"},
        {{0x80000000u, 0, 0}, L"%d", 0x80000000u, L"-2147483648"},
        {{1, 2, 3}, L"共 %d 条", 6, L"共 6 条"},
        {{42, 0, 0}, filler + L"%d", 42, filler + L"42"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.counts[0] << " " << c.counts[1] << " " << c.counts[2]);
        DictBytes d;
        d.header.section1Count = c.counts[0];
        d.header.section2Count = c.counts[1];
        d.header.section3Count = c.counts[2];
        EXPECT_EQ(d.header.GetEntryCount(), c.expected);
        EXPECT_EQ(d.header.FormatEntryCount(c.format.c_str()), c.text);
    }
}

TEST(CellDictHeaderTest, VersionOrder)
{
    const struct {
        uint32_t a[3];
        uint32_t b[3];
        bool newer;
    } cases[] = {
        {{1, 2, 3}, {1, 1, 9}, true},
        {{1, 2, 3}, {1, 2, 3}, false},
        {{1, 1, 9}, {1, 2, 3}, false},
        {{2, 0, 0}, {1, 99, 99}, true},
        {{1, 2, 4}, {1, 2, 3}, true},
        // Parts differ as 32-bit two's-complement values.
        {{0x80000000u, 0, 0}, {0, 0, 0}, false},
        {{0, 0, 0}, {0xFFFFFFFFu, 0, 0}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a[0] << "." << c.a[1] << "." << c.a[2] << " vs " << c.b[0] << "."
                                        << c.b[1] << "." << c.b[2]);
        DictBytes a, b;
        a.Identity(1, c.a[0], c.a[1], c.a[2]);
        b.Identity(1, c.b[0], c.b[1], c.b[2]);
        EXPECT_EQ(IsNewerVersion(a.header, b.header), c.newer);
        if (c.newer) {
            EXPECT_FALSE(IsNewerVersion(b.header, a.header));
        }
    }
}

}  // namespace
