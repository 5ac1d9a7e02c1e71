#include "LogChannels.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(ChannelSettings, ParsesTheControllerTexts)
{
    struct Case {
        const char* name;
        std::wstring text;
        ChannelSettings before;
        bool enable;
        uint32_t level;
        std::wstring path;
    };
    const Case cases[] = {
        {"shared channel as configured", L"enable:true outlvl:0 ", {}, true, 0, L""},
        {"disabled", L"enable:false", {true, 3, L""}, false, 3, L""},
        {"quoted path with spaces",
         L"enable:false path:`%temp%\\Pelvo\\My Logs\\ime_${T}_${PF}.xlog`",
         {},
         false,
         0,
         L"%temp%\\Pelvo\\My Logs\\ime_${T}_${PF}.xlog"},
        {"hex level", L"outlvl:0x20 enable:true", {}, true, 0x20, L""},
        {"bad level keeps the old one", L"outlvl:abc", {false, 0x10, L""}, false, 0x10, L""},
        {"bad enable keeps the old one", L"enable:maybe", {true, 0, L""}, true, 0, L""},
        {"unknown names ignored", L"colour:red enable:true junk", {}, true, 0, L""},
        {"unterminated quote runs to the end", L"path:`C:\\a b", {}, false, 0, L"C:\\a b"},
        {"empty text", L"", {true, 7, L"p"}, true, 7, L"p"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ChannelSettings parsed = ParseChannelSettings(c.text, c.before);
        EXPECT_EQ(c.enable, parsed.enable);
        EXPECT_EQ(c.level, parsed.outputLevel);
        EXPECT_EQ(c.path, parsed.path);
    }
}

TEST(ChannelSettings, ExpandsThePathPlaceholders)
{
    const std::wstring temp = _wgetenv(L"TEMP") ? _wgetenv(L"TEMP") : L"";
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp + L"\\Pelvo\\log\\ime_20240131_lexinst.exe.xlog",
              ExpandLogPath(L"%temp%\\Pelvo\\log\\ime_${T}_${PF}.xlog", L"20240131", L"lexinst.exe"));
    EXPECT_EQ(L"C:\\x\\${U}_a_a.log", ExpandLogPath(L"C:\\x\\${U}_${PF}_${PF}.log", L"d", L"a"));
}

TEST(LogLine, HasTheSharedFileFormat)
{
    const std::string line = FormatLogLine(L"2024-01-31 08:09:10.011", 4242, 0x10, L"func", 2, L"FUNCTION: 词(x)");
    EXPECT_EQ("2024-01-31 08:09:10.011\t4242\t0x10\tfunc\t    FUNCTION: \xE8\xAF\x8D(x)\r\n", line);

    const std::string broken = FormatLogLine(L"t", 1, 0x40, L"lexinst", -3, L"two\r\nlines");
    EXPECT_EQ("t\t1\t0x40\tlexinst\ttwo  lines\r\n", broken);
}

}  // namespace
