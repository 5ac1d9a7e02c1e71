// The list rules at the edges that a whole-program run cannot single out.
#include "core/DictListRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

DictList ListOf(const std::wstring& text)
{
    DictList list;
    list.Parse(text);
    return list;
}

TEST(DictListRulesTest, NewNamesReplaceEveryListedVersion)
{
    struct Row {
        const char* name;
        std::wstring installed;
        std::vector<std::wstring> names;
        std::wstring expectInstalled, expectObsolete;
        bool expectChanged;
    };
    // clang-format off
    const Row rows[] = {
        {"the later of two names wins", L"", {L"6_2_0_0.pvdict", L"6_1_0_0.pvdict"}, L"6_1_0_0.pvdict;",
         L"6_2_0_0.pvdict;", true},
        {"a listed name keeps its siblings", L"7_1_0_0.pvdict;7_2_0_0.pvdict;", {L"7_1_0_0.pvdict"},
         L"7_1_0_0.pvdict;7_2_0_0.pvdict;", L"", false},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DictList installed = ListOf(row.installed), obsolete;
        EXPECT_EQ(AddInstalledNames(installed, row.names, obsolete), row.expectChanged);
        EXPECT_EQ(installed.Join(), row.expectInstalled);
        EXPECT_EQ(obsolete.Join(), row.expectObsolete);
    }
}

TEST(DictListRulesTest, ActiveListFollowsObsoleteAndActivate)
{
    struct Row {
        const char* name;
        std::wstring active, obsolete;
        bool activate;
        std::wstring expectActive;
        bool expectChanged;
    };
    // clang-format off
    const Row rows[] = {
        {"already active", L"9_2_0_0.pvdict;", L"", true, L"9_2_0_0.pvdict;", false},
        {"deselect still drops the old version", L"9_1_0_0.pvdict;x;", L"9_1_0_0.pvdict;", false, L"x;", true},
        {"obsolete but inactive", L"x;", L"9_1_0_0.pvdict;", false, L"x;", false},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DictList active = ListOf(row.active);
        EXPECT_EQ(UpdateActiveNames(active, ListOf(row.obsolete), {L"9_2_0_0.pvdict"}, row.activate),
                  row.expectChanged);
        EXPECT_EQ(active.Join(), row.expectActive);
    }
}

TEST(DictListRulesTest, OrderedListDropsWhatOccursInTheInstalledText)
{
    struct Row {
        const char* name;
        std::wstring ordered, installed, expect;
    };
    // clang-format off
    const Row rows[] = {
        {"part of a name", L"0_0_0;zzz;", L"1_0_0_0.pvdict;", L"zzz;"},
        {"across a separator", L"pvdict;3;q;", L"1.pvdict;3.pvdict;", L"q;"},
        {"absent list", L"", L"1.pvdict;", L""},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CleanOrderedList(row.ordered, row.installed), row.expect);
    }
}

TEST(DictListRulesTest, SelectionBySubstring)
{
    struct Row {
        const char* name;
        std::vector<std::wstring> selectors;
        std::wstring expectLeft;
        std::vector<std::wstring> expectTaken;
    };
    // clang-format off
    const Row rows[] = {
        {"identifier digits anywhere", {L"12"}, L"7_1_0_0.pvdict;",
         {L"112_1_0_0.pvdict", L"12_1_0_0.pvdict", L"5_12_0_0.pvdict"}},
        {"two selectors, one element taken once", {L"7_", L"7_1"}, L"112_1_0_0.pvdict;12_1_0_0.pvdict;5_12_0_0.pvdict;",
         {L"7_1_0_0.pvdict"}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DictList names = ListOf(L"12_1_0_0.pvdict;112_1_0_0.pvdict;5_12_0_0.pvdict;7_1_0_0.pvdict;");
        EXPECT_EQ(TakeSelected(names, row.selectors), row.expectTaken);
        EXPECT_EQ(names.Join(), row.expectLeft);
    }
}

}  // namespace
