#include "installer/DictList.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::wstring>;

Strings Elements(const DictList& list)
{
    return Strings(list.begin(), list.end());
}

struct ParseCase {
    const char* label;
    const wchar_t* separator;
    const wchar_t* text;
    Strings expected;
};

TEST(DictList, ParseSplitsAtEverySeparatorAndSorts)
{
    const ParseCase cases[] = {
        {"empty", L";", L"", {}},
        {"separators only", L";", L";;;", {}},
        {"one without separator", L";", L"a", {L"a"}},
        {"leading and doubled separators", L";", L";b;;a;", {L"a", L"b"}},
        {"duplicates", L";", L"beta;alpha;alpha;;", {L"alpha", L"beta"}},
        {"pieces are verbatim", L";", L" a ; A;a", {L" A", L" a ", L"a"}},
        {"prefix sorts first", L";", L"ab;a;abc", {L"a", L"ab", L"abc"}},
        {"stored names", L";", L"12_1_0_3.pvdict;9_2_0_0.pvdict;my.pvdict",
         {L"12_1_0_3.pvdict", L"9_2_0_0.pvdict", L"my.pvdict"}},
        {"non-ASCII", L";", L"\u8BCD\u5E93;abc;", {L"abc", L"\u8BCD\u5E93"}},
        {"whole separator is searched", L"||", L"a|b||c||", {L"a|b", L"c"}},
        {"odd separator characters stay", L"||", L"|||", {L"|"}},
        {"overlapping separators", L"||", L"a|||||b", {L"a", L"|b"}},
        {"other separator leaves ';'", L"||", L"a;b", {L"a;b"}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.label);
        DictList list(row.separator);
        list.Insert(L"stale");
        list.Parse(row.text);
        EXPECT_EQ(Elements(list), row.expected);

        std::wstring joined;
        for (const auto& name : row.expected)
            joined += name + row.separator;
        EXPECT_EQ(list.Join(), joined);
    }
}

TEST(DictList, AddTokensUnitesWithTheContents)
{
    DictList list;
    list.Parse(L"beta;alpha;alpha;;");
    list.AddTokens(L"gamma;beta");
    EXPECT_EQ(list.Join(), L"alpha;beta;gamma;");
    list.AddTokens(L"");
    EXPECT_EQ(list.Join(), L"alpha;beta;gamma;");
}

TEST(DictList, InsertAndRemoveReportWhetherTheyChangedTheList)
{
    DictList list;
    EXPECT_TRUE(list.Insert(L"a"));
    EXPECT_FALSE(list.Insert(L"a"));
    EXPECT_TRUE(list.Contains(L"a"));
    EXPECT_FALSE(list.Contains(L"A"));
    EXPECT_FALSE(list.Remove(L"A"));
    EXPECT_TRUE(list.Remove(L"a"));
    EXPECT_FALSE(list.Remove(L"a"));
    EXPECT_FALSE(list.Contains(L"a"));
    EXPECT_EQ(list.size(), 0u);
}

TEST(DictList, EraseWhileIteratingContinuesWithTheNextElement)
{
    struct Case {
        const char* label;
        const wchar_t* text;
        Strings kept;
        Strings visited;
    };
    const Case cases[] = {
        {"every other", L"5_a;5_b;6_a;7_a;5_c;", {L"6_a", L"7_a"}, {L"5_a", L"5_b", L"5_c", L"6_a", L"7_a"}},
        {"all", L"5_a;5_b;", {}, {L"5_a", L"5_b"}},
        {"last only", L"1;2;5_z;", {L"1", L"2"}, {L"1", L"2", L"5_z"}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.label);
        DictList list;
        list.Parse(row.text);
        Strings visited;
        for (auto it = list.begin(); it != list.end();) {
            visited.push_back(*it);
            it = it->rfind(L"5_", 0) == 0 ? list.Erase(it) : std::next(it);
        }
        EXPECT_EQ(visited, row.visited);
        EXPECT_EQ(Elements(list), row.kept);
    }
}

}  // namespace
