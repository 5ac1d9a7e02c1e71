#include "core/CommandLineSplitter.h"
#include "core/SimpleOptParser.h"

#include <gtest/gtest.h>

namespace {

// An option table like the program's: flags and value-taking names.
constexpr const wchar_t* kProgramLikeSpec =
    L"-reg -unreg -silent -accountdir -datadir -dest %s -deselect -sourcedir %s -removesource -delete";

using Args = std::vector<std::wstring>;

// What the system splitter returns; the first argument follows the
// program-name rules, the others the argument rules.
TEST(CommandLineSplitter, SplitsByTheWindowsRules)
{
    // clang-format off
    const struct { const char* name; std::wstring line; Args expect; } rows[] = {
        {"blanks around and between", L" a\tb  ", {L"", L"a", L"b"}},
        {"blanks only", L"   ", {L""}},
        {"other control characters are no blanks", L"a\nb\vc\rd e", {L"a\nb\vc\rd", L"e"}},
        {"a quoted program name ends at its quote", L"\"C:\\My Dicts\\a\"b c", {L"C:\\My Dicts\\a", L"b", L"c"}},
        {"an empty quoted program name", L"\"\"\"a", {L"", L"a"}},
        {"no escapes in the program name", L"a\\\"b\" c", {L"a\\\"b\"", L"c"}},
        {"quotes join and end arguments", L"x a\"b c\"d \"\" \"\t\" \"e", {L"x", L"ab cd", L"", L"\t", L"e"}},
        {"backslashes before quotes", L"x a\\b\\\\c\\ a\\\"b a\\\\\"b c\" a\\\\\\\"b a\\\\\\\\\"b c\"",
         {L"x", L"a\\b\\\\c\\", L"a\"b", L"a\\b c", L"a\\\"b", L"a\\\\b c"}},
        {"a folder's closing backslash", L"x \"C:\\D\\\\\" y \"C:\\D\\\" y", {L"x", L"C:\\D\\", L"y", L"C:\\D\" y"}},
        {"doubled quotes", L"x \"\"\"b \"a\"\"b\"", {L"x", L"\"b", L"a\"b"}},
        {"a doubled quote inside stays quoted", L"x \"b\"\"c\" d", {L"x", L"b\"c d"}},
        {"runs of quotes", L"x \"a\"\"\"b\" \"\"\"\"\"\" a\"\"b", {L"x", L"a\"b", L"\"\"", L"ab"}},
        {"CJK, ideographic space and surrogate pairs",
         L"\u8BCD\u5E93 \"\u4E2D\u6587 \u8BCD.pvdict\" a\u3000b \U0001F600\\\"\U00020000",
         {L"\u8BCD\u5E93", L"\u4E2D\u6587 \u8BCD.pvdict", L"a\u3000b", L"\U0001F600\"\U00020000"}},
        {"a NUL ends the line", std::wstring(L"a \"b\0c\" d", 9), {L"a", L"b"}},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Args args;
        ASSERT_TRUE(SplitCommandLine(row.line, args));
        EXPECT_EQ(args, row.expect);
        EXPECT_EQ(SplitCommandLinePortable(row.line), row.expect);
    }
}

// Each option of the table as "name=" for a text option, "name" for a flag, in order.
TEST(SimpleOptParser, BuildsTheOptionTableFromItsText)
{
    // clang-format off
    const struct { const char* name; std::wstring specification, expect; } rows[] = {
        {"any blanks separate", L"\t-x\n-y  %s\r\nname %s", L"-x -y= name= "},
        {"a %s with no name before it is a name", L"%s -a %s %s", L"%s -a= "},
        {"a %s name can take a value", L"-a %s %s %s", L"%s= -a= "},
        {"the last of a repeated name counts", L"-a %s -a -b -c -b %s", L"-a -b= -c "},
        {"only a whole %s is a value", L"-a %s%s -b %S", L"%S %s%s -a -b "},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SimpleOptParser parser(row.specification);
        std::wstring table;
        for (const auto& [name, option] : parser.options) {
            table += name + (option->needsValue ? L"= " : L" ");
            EXPECT_EQ(option->needsValue != 0, dynamic_cast<SimpleOptParser::TextOption*>(option.get()) != nullptr);
            EXPECT_FALSE(option->isSet);
        }
        EXPECT_EQ(table, row.expect);
    }
}

// The options set, each text option with its value, then the positionals in brackets.
std::wstring Outcome(const SimpleOptParser& parser)
{
    std::wstring text;
    for (const auto& [name, option] : parser.options) {
        if (parser.options.IsSet(name))
            text += name + (option->needsValue ? L"=" + parser.options.GetValue(name) : L"") + L" ";
    }
    for (const auto& arg : parser.positionals)
        text += L"[" + arg + L"]";
    return text;
}

TEST(SimpleOptParser, ParsesCommandLines)
{
    // clang-format off
    const struct { const char* name; std::wstring line; bool ok; std::wstring outcome; } rows[] = {
        {"empty", L"", true, L""},
        {"a quoted path", L"\"C:\\My Dicts\\a b.pvdict\"", true, L"[C:\\My Dicts\\a b.pvdict]"},
        {"flags anywhere, repeated", L"a -silent b -deselect c -silent", true, L"-deselect -silent [a][b][c]"},
        {"a value that names an option", L"-dest -reg", true, L"-dest=-reg "},
        {"the last value counts, an empty one too", L"-sourcedir a -sourcedir \"b c\" -dest \"\"", true,
         L"-dest= -sourcedir=b c "},
        {"names match exactly", L"-REG /reg -bogus -- -unreg", true, L"-unreg [-REG][/reg][-bogus][--]"},
        {"a leading blank gives an empty argument", L" \"-reg\"", true, L"-reg []"},
        {"a value option last fails", L"f.pvdict -silent -dest", false, L"-silent [f.pvdict]"},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SimpleOptParser parser(kProgramLikeSpec);
        EXPECT_EQ(parser.Parse(row.line), row.ok);
        EXPECT_EQ(parser.commandLine, row.line);
        EXPECT_EQ(Outcome(parser), row.outcome);
        EXPECT_FALSE(parser.options.IsSet(L"-bogus"));
    }
    // Another parse clears the flags and positionals but keeps the values; a rejected value fails.
    SimpleOptParser parser(L"-name %s %s -strict");
    parser.options[L"-strict"] = std::make_shared<SimpleOptParser::OptionBase>(1);
    ASSERT_TRUE(parser.Parse(L"%s -name first a"));
    EXPECT_EQ(Outcome(parser), L"%s -name=first [a]");
    parser.commandLine = L"b";
    ASSERT_TRUE(parser.Parse());
    EXPECT_EQ(Outcome(parser), L"[b]");
    EXPECT_EQ(parser.options.GetValue(L"-name"), L"first");
    EXPECT_FALSE(parser.Parse(L"-strict x"));
    EXPECT_EQ(Outcome(parser), L"");
}

}  // namespace
