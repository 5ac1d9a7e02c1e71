#include "core/PendingWork.h"

#include <gtest/gtest.h>

namespace {

DictList List(const std::wstring& text)
{
    DictList list;
    list.Parse(text);
    return list;
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
        const PendingWork work = PendingWork::FromListChanges(List(row.installedBefore), List(row.installedAfter),
                                                              List(row.activeBefore), List(row.activeAfter));
        DictList installed = List(row.installedBefore), active = List(row.activeBefore);
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
