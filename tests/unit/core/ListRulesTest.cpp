// The list rules, and the record of pending work, at the edges that a
// whole-program run cannot single out.
#include "core/DictListRules.h"
#include "core/PendingWork.h"

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

// A record made from a command's list change turns the lists before it into the
// lists after it, and applied once more changes nothing.
TEST(PendingWorkTest, ListChangesApplyOnceAndAgain)
{
    struct Row {
        const char* name;
        std::wstring installedBefore, installedAfter, activeBefore, activeAfter;
    };
    // clang-format off
    const Row rows[] = {
        {"a new name, activated", L"a;", L"a;b;", L"a;", L"a;b;"},
        {"a new version replaces the old in both", L"a_1;b;", L"a_2;b;", L"a_1;", L"a_2;"},
        {"installed but not active", L"", L"a;", L"x;", L"x;"},
        {"two versions in one batch: the older stays active", L"a_0;", L"a_2;", L"", L"a_1;a_2;"},
        {"a removal from both lists", L"a;b;c;", L"a;", L"b;d;", L"d;"},
        {"nothing changes", L"a;", L"a;", L"a;", L"a;"},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const PendingWork work = PendingWork::FromListChanges(ListOf(row.installedBefore), ListOf(row.installedAfter),
                                                              ListOf(row.activeBefore), ListOf(row.activeAfter));
        DictList installed = ListOf(row.installedBefore), active = ListOf(row.activeBefore);
        EXPECT_EQ(work.ApplyToLists(installed, active),
                  row.installedBefore != row.installedAfter || row.activeBefore != row.activeAfter);
        EXPECT_EQ(installed.Join() + L" | " + active.Join(), row.installedAfter + L" | " + row.activeAfter);
        EXPECT_FALSE(work.ApplyToLists(installed, active)) << "applied again";
        EXPECT_EQ(installed.Join() + L" | " + active.Join(), row.installedAfter + L" | " + row.activeAfter);
    }
}

// Whatever the names, a record reads back as written, and no part of one reads
// as a record: a record cut short by a kill is never taken for a smaller one.
TEST(PendingWorkTest, OnlyAWholeRecordReads)
{
    PendingWork work;
    for (const wchar_t* name : {L"1_2_3_4.pvdict", L"名字 with spaces;semicolon", L"i:looks like an entry"})
        work.addInstalled.Insert(name);
    work.addActive.Insert(L"a");
    work.unlist.Insert(L"old\nline");
    work.deleteFiles.Insert(L"C:\\账户\\dict\\old.pvdict");
    work.tmpFile = L"C:\\dict\\tmp1.tmp";
    const std::wstring text = work.Format();

    PendingWork read;
    ASSERT_TRUE(PendingWork::Parse(text, read));
    EXPECT_EQ(read.Format(), text);
    EXPECT_EQ(read.tmpFile, work.tmpFile);
    EXPECT_EQ(read.unlist.Join(), work.unlist.Join());
    for (std::size_t length = 0; length < text.size(); ++length)
        EXPECT_FALSE(PendingWork::Parse(text.substr(0, length), read)) << "cut to " << length;

    const struct {
        const char* name;
        std::wstring text;
        // clang-format off
    } damaged[] = {
        {"another header", L"lexinst pending work 2" + text.substr(text.find(L'\0'))},
        {"an unknown entry", text.substr(0, text.find(L'\0') + 1) + std::wstring(L"x:a\0", 4) + text},
        {"bytes after the end", text + L"i:more" + L'\0'},
    };
    // clang-format on
    for (const auto& row : damaged)
        EXPECT_FALSE(PendingWork::Parse(row.text, read)) << row.name;
}

}  // namespace
