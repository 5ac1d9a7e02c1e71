#include "win/FormatWide.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FormatCase {
    const char* name;
    std::wstring expected;
    std::wstring actual;
};

TEST(FormatWide, ReadsFormatsTheMicrosoftWay)
{
    const FormatCase cases[] = {
        {"lower s is wide", L"[C:\\dict 词库]", win::FormatWide(L"[%s]", L"C:\\dict 词库")},
        {"upper S is narrow", L"<narrow>", win::FormatWide(L"<%S>", "narrow")},
        {"ls is wide", L"wide", win::FormatWide(L"%ls", L"wide")},
        {"integers", L"-7 4294967295 0x1f", win::FormatWide(L"%d %u 0x%x", -7, 4294967295u, 31u)},
        {"padded level", L"0x40", win::FormatWide(L"0x%02x", 0x40u)},
        {"percent", L"100%", win::FormatWide(L"100%%")},
        {"empty", L"", win::FormatWide(L"")},
        {"null format", L"", win::FormatWide(nullptr)},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, c.actual);
    }
}

TEST(FormatWide, GrowsPastItsFirstBuffer)
{
    for (std::size_t length : {254u, 255u, 256u, 257u, 4000u}) {
        SCOPED_TRACE(length);
        const std::wstring long_text(length, L'x');
        EXPECT_EQ(L"<" + long_text + L">", win::FormatWide(L"<%s>", long_text.c_str()));
    }
}

}  // namespace
