// Batches through lexinst.exe: the summary, the failures that make a batch fail,
// "-removesource", "-dest", "-deselect" and "-datadir".
#include "EngineE2eFixture.h"

namespace e2e {
namespace {

using BatchE2eTest = EngineE2eTest;

TEST_F(BatchE2eTest, EmptyBatchSucceeds)
{
    const RunResult run = RunLexinst(L"-silent");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(HasLine(LogOf(run.pid), L"20 lexinst Successfully installed 0 cell dicts, skipped 0."));
    EXPECT_TRUE(FileExists(AccountDictDir()));
}

TEST_F(BatchE2eTest, FailuresMakeTheBatchFailButTheRestIsInstalled)
{
    WriteSource(L"a.pvdict", MakeDict(1, 1, 0, 0));
    WriteSource(L"b.pvdict", MakeDict(2, 1, 0, 0));
    WriteSource(L"bad.pvdict", ByteVector(500, 7));
    WriteSource(L"c.pvdict", MakeDict(3, 1, 0, 0));
    const RunResult run = RunLexinst(L"-silent -removesource -sourcedir " + QuoteArg(SourceDir() + L"/") +
                                     L" a.pvdict missing.pvdict bad.pvdict b.pvdict");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), StoredName(1, 1, 0, 0) + L";" + StoredName(2, 1, 0, 0) + L";");
    EXPECT_EQ(ReadFileBytes(AccountDictDir() + StoredName(2, 1, 0, 0)), MakeDict(2, 1, 0, 0));
    EXPECT_TRUE(ListFolder(SourceDir(), L"*.pvdict") == std::vector<std::wstring>{L"c.pvdict"})
        << "named files are gone, whatever became of them";
    EXPECT_TRUE(TempFilesIn(AccountDictDir()).empty());

    const auto log = LogOf(run.pid);
    EXPECT_TRUE(HasLine(log, L"40 lexinst Error reading dict file: " + SourceDir() + L"/bad.pvdict"));
    EXPECT_FALSE(std::any_of(log.begin(), log.end(), [](const std::wstring& line) {
        return line.find(L"Successfully installed") != std::wstring::npos;
    }));
}

// Every row starts with 3_1_0_0.pvdict listed but not stored, and the sources
// a (1), b (2), listed (3), level2 (4, format level 2), new (7, 2.0) and old (7, 1.5).
TEST_F(BatchE2eTest, OptionsAndSkipsOfABatch)
{
    struct Row {
        const char* what;
        std::wstring args;  // after "-silent -sourcedir <src>"
        int expectExit;
        std::wstring expectInstalled;
        std::wstring expectActive;
        std::vector<std::wstring> expectStored;  // files in the account's dictionary folder
        std::wstring expectSummary;              // "": no success line
    };
    const Row rows[] = {
        {"format level 2 fails the batch", L"a.pvdict level2.pvdict", 1, L"1_1_0_0.pvdict;3_1_0_0.pvdict;",
         L"1_1_0_0.pvdict;", {L"1_1_0_0.pvdict"}, L""},
        {"a listed version is skipped, not written", L"listed.pvdict a.pvdict", 0, L"1_1_0_0.pvdict;3_1_0_0.pvdict;",
         L"1_1_0_0.pvdict;", {L"1_1_0_0.pvdict"}, L"installed 1 cell dicts, skipped 1."},
        {"-dest with two files is ignored", L"-dest x.pvdict a.pvdict b.pvdict", 0,
         L"1_1_0_0.pvdict;2_1_0_0.pvdict;3_1_0_0.pvdict;", L"1_1_0_0.pvdict;2_1_0_0.pvdict;",
         {L"1_1_0_0.pvdict", L"2_1_0_0.pvdict"}, L"installed 2 cell dicts, skipped 0."},
        {"-dest with one file names it", L"-dest x.pvdict a.pvdict", 0, L"3_1_0_0.pvdict;x.pvdict;", L"x.pvdict;",
         {L"x.pvdict"}, L"installed 1 cell dicts, skipped 0."},
        {"empty -dest is the folder itself", L"-dest \"\" a.pvdict", 1, L"3_1_0_0.pvdict;", L"<absent>", {}, L""},
        {"two versions: the later one stays, not selected", L"-deselect new.pvdict old.pvdict", 0,
         L"3_1_0_0.pvdict;7_1_5_0.pvdict;", L"<absent>", {L"7_1_5_0.pvdict"}, L"installed 2 cell dicts, skipped 0."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RemoveTree(Root() + L"\\account");
        SetSetting(L"/Dict/InstalledDict", L"3_1_0_0.pvdict;");
        DeleteSetting(L"/Dict/ActiveDict");
        WriteSource(L"a.pvdict", MakeDict(1, 1, 0, 0));
        WriteSource(L"b.pvdict", MakeDict(2, 1, 0, 0));
        WriteSource(L"listed.pvdict", MakeDict(3, 1, 0, 0));
        WriteSource(L"level2.pvdict", MakeDict(4, 1, 0, 0, 2));
        WriteSource(L"new.pvdict", MakeDict(7, 2, 0, 0));
        WriteSource(L"old.pvdict", MakeDict(7, 1, 5, 0));

        const RunResult run = RunLexinst(L"-silent -sourcedir " + QuoteArg(SourceDir()) + L" " + row.args);
        EXPECT_EQ(run.exitCode, row.expectExit);
        EXPECT_EQ(Setting(L"/Dict/InstalledDict"), row.expectInstalled);
        EXPECT_EQ(Setting(L"/Dict/ActiveDict"), row.expectActive);
        EXPECT_EQ(DictFilesIn(AccountDictDir()), row.expectStored);
        EXPECT_TRUE(TempFilesIn(AccountDictDir()).empty());
        const auto log = LogOf(run.pid);
        const bool succeeded = std::any_of(log.begin(), log.end(), [](const std::wstring& line) {
            return line.find(L"Successfully installed") != std::wstring::npos;
        });
        if (row.expectSummary.empty())
            EXPECT_FALSE(succeeded);
        else
            EXPECT_TRUE(HasLine(log, L"20 lexinst Successfully " + row.expectSummary));
    }
}

TEST_F(BatchE2eTest, DataFolderSkipsTheStoredFileItself)
{
    ::CreateDirectoryW(DataDir().c_str(), nullptr);
    WriteFileBytes(DataDir() + StoredName(5, 1, 0, 0), MakeDict(5, 1, 0, 0));
    const RunResult run = RunLexinst(L"-silent -datadir " + QuoteArg(DataDir() + StoredName(5, 1, 0, 0)));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(HasLine(LogOf(run.pid), L"20 lexinst Successfully installed 0 cell dicts, skipped 1."));
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"<absent>");
}

TEST_F(BatchE2eTest, ManyFilesOneListUpdate)
{
    std::wstring args = L"-silent -sourcedir " + QuoteArg(SourceDir());
    std::wstring expected;
    for (uint32_t id = 100; id < 140; ++id) {
        WriteSource(std::to_wstring(id) + L".pvdict", MakeDict(id, 1, 0, 0));
        args += L" " + std::to_wstring(id) + L".pvdict";
        expected += StoredName(id, 1, 0, 0) + L";";
    }
    const RunResult run = RunLexinst(args);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), expected);
    const auto log = LogOf(run.pid);
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::wstring& l) { return l.find(L"写入词库列表") != std::wstring::npos; }),
              1);
    EXPECT_TRUE(HasLine(log, L"20 lexinst Successfully installed 40 cell dicts, skipped 0."));
}

}  // namespace
}  // namespace e2e
