#include "core/CommandLineSplitter.h"
#include "core/SimpleOptParser.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::wstring>;

// What the system splitter returns; the first argument follows the
// program-name rules, the others the argument rules.
TEST(CommandLineSplitter, SplitsByTheWindowsRules)
{
    const std::pair<std::wstring, Args> cases[] = {
        {L" a\tb  ", {L"", L"a", L"b"}},
        {L"   ", {L""}},
        {L"a\nb\vc\rd e", {L"a\nb\vc\rd", L"e"}},
        {L"\"C:\\My Dicts\\a\"b c", {L"C:\\My Dicts\\a", L"b", L"c"}},
        {L"\"\"\"a", {L"", L"a"}},
        {L"a\\\"b\" c", {L"a\\\"b\"", L"c"}},
        {L"x a\"b c\"d \"\" \"\t\" \"e", {L"x", L"ab cd", L"", L"\t", L"e"}},
        {L"x a\\b\\\\c\\ a\\\"b a\\\\\"b c\" a\\\\\\\"b a\\\\\\\\\"b c\"", {L"x", L"a\\b\\\\c\\", L"a\"b", L"a\\b c", L"a\\\"b", L"a\\\\b c"}},
        {L"x \"C:\\D\\\\\" y \"C:\\D\\\" y", {L"x", L"C:\\D\\", L"y", L"C:\\D\" y"}},
        {L"x \"\"\"b \"a\"\"b\"", {L"x", L"\"b", L"a\"b"}},
        {L"x \"b\"\"c\" d", {L"x", L"b\"c d"}},
        {L"x \"a\"\"\"b\" \"\"\"\"\"\" a\"\"b", {L"x", L"a\"b", L"\"\"", L"ab"}},
        {L"\u8BCD\u5E93 \"\u4E2D\u6587 \u8BCD.pvdict\" a\u3000b \U0001F600\\\"\U00020000", {L"\u8BCD\u5E93", L"\u4E2D\u6587 \u8BCD.pvdict", L"a\u3000b", L"\U0001F600\"\U00020000"}},
        {std::wstring(L"a \"b\0c\" d", 9), {L"a", L"b"}},
    };
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(line));
        Args args;
        ASSERT_TRUE(SplitCommandLine(line, args));
        EXPECT_EQ(args, expected);
        EXPECT_EQ(SplitCommandLinePortable(line), expected);
    }
}

#ifdef _WIN32
// Every line of up to 7 characters that the rules treat specially: the system splitter decides.
TEST(CommandLineSplitter, AgreesWithTheSystem)
{
    std::vector<std::wstring> lines{L""};
    for (std::size_t i = 0; lines[i].size() < 7; ++i)
        for (wchar_t c : std::wstring_view(L" \t\"\\ab"))
            lines.push_back(lines[i] + c);
    // The system splitter reads an empty line as the program's path.
    for (auto line = lines.begin() + 1; line != lines.end(); ++line) {
        Args system;
        ASSERT_TRUE(SplitCommandLine(*line, system)) << testing::PrintToString(*line);
        ASSERT_EQ(SplitCommandLinePortable(*line), system) << testing::PrintToString(*line);
    }
}
#endif

TEST(SimpleOptParser, BuildsTheOptionTableFromTheSpecification)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        // Each option as "name=" for a text option, "name" for a flag, in order.
        {kLexinstOptionSpec, L"-accountdir -datadir -delete -deselect -dest= -reg -removesource -silent -sourcedir= -unreg "},
        {L"\t-x\n-y  %s\r\nname %s", L"-x -y= name= "},
        {L"%s -a %s %s", L"%s -a= "},
        {L"-a %s %s %s", L"%s= -a= "},
        {L"-a %s -a -b -c -b %s", L"-a -b= -c "},
        {L"-a %s%s -b %S", L"%S %s%s -a -b "},
    };
    for (const auto& [specification, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(specification));
        SimpleOptParser parser(specification);
        std::wstring table;
        for (const auto& [name, option] : parser.options) {
            table += name + (option->needsValue ? L"= " : L" ");
            EXPECT_EQ(option->needsValue != 0, dynamic_cast<SimpleOptParser::TextOption*>(option.get()) != nullptr);
            EXPECT_FALSE(option->isSet);
        }
        EXPECT_EQ(table, expected);
    }
}

// The options set, each text option with its value, then the positionals in brackets.
std::wstring Outcome(const SimpleOptParser& parser)
{
    std::wstring text;
    for (const auto& [name, option] : parser.options)
        text += parser.options.IsSet(name) ? name + (option->needsValue ? L"=" + parser.options.GetValue(name) : L"") + L" " : L"";
    for (const auto& arg : parser.positionals)
        text += L"[" + arg + L"]";
    return text;
}

TEST(SimpleOptParser, ParsesCommandLines)
{
    const std::tuple<std::wstring, bool, std::wstring> cases[] = {
        {L"", true, L""},
        {L"\"C:\\My Dicts\\a b.pvdict\"", true, L"[C:\\My Dicts\\a b.pvdict]"},
        {L"a -silent b -deselect c -silent", true, L"-deselect -silent [a][b][c]"},
        {L"-dest -reg", true, L"-dest=-reg "},
        {L"-sourcedir a -sourcedir \"b c\" -dest \"\"", true, L"-dest= -sourcedir=b c "},
        {L"-REG /reg -bogus -- -unreg", true, L"-unreg [-REG][/reg][-bogus][--]"},
        {L" \"-reg\"", true, L"-reg []"},
        {L"f.pvdict -silent -dest", false, L"-silent [f.pvdict]"},
    };
    for (const auto& [line, ok, outcome] : cases) {
        SCOPED_TRACE(testing::PrintToString(line));
        SimpleOptParser parser(kLexinstOptionSpec);
        EXPECT_EQ(parser.Parse(line), ok);
        EXPECT_EQ(parser.commandLine, line);
        EXPECT_EQ(Outcome(parser), outcome);
        EXPECT_FALSE(parser.options.IsSet(L"-bogus"));
    }
    // Another parse clears the flags and positionals but keeps the values; a rejected value fails.
    SimpleOptParser parser(L"-name %s %s -strict");
    parser.options[L"-strict"] = std::make_shared<SimpleOptParser::OptionBase>(1);
    ASSERT_TRUE(parser.Parse(L"%s -name first a"));
    EXPECT_EQ(Outcome(parser), L"%s -name=first [a]");
    parser.commandLine = L"b";
    ASSERT_TRUE(parser.Parse());
    EXPECT_EQ(std::tuple(Outcome(parser), parser.options.GetValue(L"-name")), std::tuple(L"[b]", L"first"));
    EXPECT_FALSE(parser.Parse(L"-strict x"));
    EXPECT_EQ(Outcome(parser), L"");
}

}  // namespace
