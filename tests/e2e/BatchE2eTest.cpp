// Batches through lexinst.exe: the summary, the failures that make a batch fail,
// "-removesource".
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
