#include "app/SimpleOptParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::wstring>;

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

enum class Kind { Flag, Text };

std::map<std::wstring, Kind> KindsOf(const SimpleOptParser::OptionMap& options)
{
    std::map<std::wstring, Kind> kinds;
    for (const auto& [name, option] : options) {
        bool text = dynamic_cast<SimpleOptParser::TextOption*>(option.get()) != nullptr;
        EXPECT_EQ(option->needsValue, text ? 1u : 0u) << Narrow(name);
        EXPECT_FALSE(option->isSet) << Narrow(name);
        kinds[name] = text ? Kind::Text : Kind::Flag;
    }
    return kinds;
}

struct SpecCase {
    const char* label;
    const wchar_t* specification;
    std::map<std::wstring, Kind> expected;
};

TEST(SimpleOptParser, BuildsTheOptionTableFromTheSpecification)
{
    const SpecCase cases[] = {
        {"program", kLexinstOptionSpec,
         {{L"-accountdir", Kind::Flag}, {L"-datadir", Kind::Flag}, {L"-delete", Kind::Flag},
          {L"-deselect", Kind::Flag}, {L"-dest", Kind::Text}, {L"-reg", Kind::Flag},
          {L"-removesource", Kind::Flag}, {L"-silent", Kind::Flag}, {L"-sourcedir", Kind::Text},
          {L"-unreg", Kind::Flag}}},
        {"empty", L"", {}},
        {"blanks only", L" \t\n ", {}},
        {"any white space separates", L"\t-x\n-y  %s\r\n", {{L"-x", Kind::Flag}, {L"-y", Kind::Text}}},
        {"names need no hyphen", L"name %s other", {{L"name", Kind::Text}, {L"other", Kind::Flag}}},
        {"%s first is a flag", L"%s -a", {{L"%s", Kind::Flag}, {L"-a", Kind::Flag}}},
        {"second %s is a flag", L"-a %s %s", {{L"-a", Kind::Text}, {L"%s", Kind::Flag}}},
        {"third %s makes %s a text option", L"-a %s %s %s", {{L"-a", Kind::Text}, {L"%s", Kind::Text}}},
        {"later flag replaces a text option", L"-a %s -a", {{L"-a", Kind::Flag}}},
        {"later %s turns a flag into text", L"-a -b -a %s", {{L"-a", Kind::Text}, {L"-b", Kind::Flag}}},
        {"%s only applies to a whole token", L"-a %s%s -b %S", {{L"-a", Kind::Flag}, {L"%s%s", Kind::Flag},
                                                                {L"-b", Kind::Flag}, {L"%S", Kind::Flag}}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.label);
        SimpleOptParser parser(row.specification);
        EXPECT_EQ(KindsOf(parser.options), row.expected);
        EXPECT_TRUE(parser.commandLine.empty());
        EXPECT_TRUE(parser.positionals.empty());
    }
}

struct ParseCase {
    const char* label;
    const wchar_t* line;
    bool ok;
    Strings set;
    std::map<std::wstring, std::wstring> values;
    Strings positionals;
};

const ParseCase kParseCases[] = {
    {"empty line", L"", true, {}, {}, {}},
    {"one path", L"C:\\d\\a.pvdict", true, {}, {}, {L"C:\\d\\a.pvdict"}},
    {"quoted path with spaces", L"\"C:\\My Dicts\\a b.pvdict\"", true, {}, {}, {L"C:\\My Dicts\\a b.pvdict"}},
    {"flags and positionals mixed", L"a -silent b -deselect c", true, {L"-silent", L"-deselect"}, {},
     {L"a", L"b", L"c"}},
    {"reg and unreg", L"-reg -unreg", true, {L"-reg", L"-unreg"}, {}, {}},
    {"flag given twice", L"-silent -silent", true, {L"-silent"}, {}, {}},
    {"option name as a value", L"-dest -reg", true, {L"-dest"}, {{L"-dest", L"-reg"}}, {}},
    {"value given twice", L"-sourcedir a -sourcedir b", true, {L"-sourcedir"}, {{L"-sourcedir", L"b"}}, {}},
    {"quoted value", L"-dest \"my dict\" f.pvdict", true, {L"-dest"}, {{L"-dest", L"my dict"}}, {L"f.pvdict"}},
    {"empty quoted value", L"-dest \"\" f", true, {L"-dest"}, {{L"-dest", L""}}, {L"f"}},
    {"case differs", L"-REG", true, {}, {}, {L"-REG"}},
    {"slash for hyphen", L"/reg", true, {}, {}, {L"/reg"}},
    {"unknown option", L"-bogus f.pvdict", true, {}, {}, {L"-bogus", L"f.pvdict"}},
    {"no terminator", L"-- -reg", true, {L"-reg"}, {}, {L"--"}},
    {"quoted option name is still the option", L"\"-reg\"", true, {L"-reg"}, {}, {}},
    {"leading blank gives an empty first argument", L" -reg", true, {L"-reg"}, {}, {L""}},
    {"value option last", L"f.pvdict -dest", false, {}, {}, {L"f.pvdict"}},
    {"value option last after a flag", L"-silent -sourcedir", false, {L"-silent"}, {}, {}},
};

TEST(SimpleOptParser, ParsesCommandLines)
{
    for (const auto& row : kParseCases) {
        SCOPED_TRACE(row.label);
        SimpleOptParser parser(kLexinstOptionSpec);
        EXPECT_EQ(parser.Parse(row.line), row.ok);
        EXPECT_EQ(parser.commandLine, row.line);
        EXPECT_EQ(parser.positionals, row.positionals);
        for (const auto& [name, option] : parser.options) {
            bool expected = std::find(row.set.begin(), row.set.end(), name) != row.set.end();
            EXPECT_EQ(parser.options.IsSet(name), expected) << Narrow(name);
        }
        for (const auto& name : {L"-dest", L"-sourcedir"}) {
            auto it = row.values.find(name);
            EXPECT_EQ(parser.options.GetValue(name), it == row.values.end() ? L"" : it->second) << Narrow(name);
        }
    }
}

TEST(SimpleOptParser, ArgumentPercentSSetsTheFlagOfThatName)
{
    SimpleOptParser parser(L"-name %s %s");
    ASSERT_TRUE(parser.Parse(L"%s -name %s"));
    EXPECT_TRUE(parser.options.IsSet(L"%s"));
    EXPECT_EQ(parser.options.GetValue(L"-name"), L"%s");
    EXPECT_TRUE(parser.positionals.empty());
}

TEST(SimpleOptParser, SecondParseClearsFlagsAndPositionalsButKeepsValues)
{
    SimpleOptParser parser(kLexinstOptionSpec);
    ASSERT_TRUE(parser.Parse(L"-dest first -sourcedir dir -reg a.pvdict"));
    parser.commandLine = L"b.pvdict -sourcedir other";
    ASSERT_TRUE(parser.Parse());
    EXPECT_FALSE(parser.options.IsSet(L"-reg"));
    EXPECT_FALSE(parser.options.IsSet(L"-dest"));
    EXPECT_TRUE(parser.options.IsSet(L"-sourcedir"));
    EXPECT_EQ(parser.options.GetValue(L"-dest"), L"first");
    EXPECT_EQ(parser.options.GetValue(L"-sourcedir"), L"other");
    EXPECT_EQ(parser.positionals, (Strings{L"b.pvdict"}));

    ASSERT_TRUE(parser.Parse(L""));
    EXPECT_FALSE(parser.options.IsSet(L"-sourcedir"));
    EXPECT_TRUE(parser.positionals.empty());
    EXPECT_EQ(parser.options.GetValue(L"-sourcedir"), L"other");
}

TEST(SimpleOptParser, ParseOfItsOwnCommandLineKeepsTheText)
{
    SimpleOptParser parser(kLexinstOptionSpec);
    parser.commandLine = L"-silent \"a b\"";
    ASSERT_TRUE(parser.Parse(parser.commandLine));
    EXPECT_EQ(parser.commandLine, L"-silent \"a b\"");
    EXPECT_EQ(parser.positionals, (Strings{L"a b"}));
}

TEST(SimpleOptParser, RejectedValueFailsTheParse)
{
    SimpleOptParser parser(L"-x");
    parser.options[L"-strict"] = std::make_shared<SimpleOptParser::OptionBase>(1);
    EXPECT_FALSE(parser.Parse(L"-x -strict value"));
    EXPECT_TRUE(parser.options.IsSet(L"-x"));
    EXPECT_FALSE(parser.options.IsSet(L"-strict"));
}

}  // namespace
