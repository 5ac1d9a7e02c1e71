// Installing through lexinst.exe without any window: stored bytes, settings and log.
#include "EngineE2eFixture.h"

namespace e2e {
namespace {

using InstallE2eTest = EngineE2eTest;

TEST_F(InstallE2eTest, SilentInstallStoresRecordsAndLogs)
{
    const ByteVector bytes = MakeDict(4242, 1, 2, 3);
    WriteSource(L"词库 one.pvdict", bytes);
    SetSetting(L"/Dict/OrderedDict", L"zz;4242_1_2_3;");
    const RunResult run = RunLexinst(L"-silent -sourcedir " + QuoteArg(SourceDir()) + L" " + QuoteArg(L"词库 one.pvdict"));
    ASSERT_EQ(run.exitCode, 0);

    const std::wstring name = StoredName(4242, 1, 2, 3);
    EXPECT_EQ(ReadFileBytes(AccountDictDir() + name), bytes);
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), name + L";");
    EXPECT_EQ(Setting(L"/Dict/ActiveDict"), name + L";");
    EXPECT_EQ(Setting(L"/Dict/OrderedDict"), L"zz;");
    EXPECT_TRUE(TempFilesIn(AccountDictDir()).empty());

    const auto log = LogOf(run.pid);
    EXPECT_TRUE(HasLine(log, L"10 func FUNCTION: CellDictInstaller::InstallDictFile(destPath.c_str()=" +
                                 AccountDictDir() + name + L")"));
    EXPECT_TRUE(HasLine(log, L"10 lexinst 写入词库列表：[] => [" + name + L";]"));
    EXPECT_TRUE(HasLine(log, L"10 lexinst 写入启用的词库列表：[] => [" + name + L";]"));
    EXPECT_TRUE(HasLine(log, L"20 lexinst Successfully installed 1 cell dicts, skipped 0."));

    // The same file again is current: skipped, nothing rewritten.
    const RunResult again = RunLexinst(L"-silent " + QuoteArg(SourceDir() + L"\\词库 one.pvdict"));
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(HasLine(LogOf(again.pid), L"20 lexinst Successfully installed 0 cell dicts, skipped 1."));
}

TEST_F(InstallE2eTest, OptionsOfASilentInstall)
{
    struct Row {
        const char* what;
        std::wstring options;
        std::wstring expectFile;  // below Root()
        std::wstring expectInstalled;
        std::wstring expectActive;
    };
    const std::wstring name = StoredName(31, 2, 0, 0);
    const Row rows[] = {
        {"-dest", L"-dest mine.pvdict", L"\\account\\dict\\mine.pvdict", L"mine.pvdict;", L"mine.pvdict;"},
        {"-deselect", L"-deselect", L"\\account\\dict\\" + name, name + L";", L"<absent>"},
        {"-datadir", L"-datadir", L"\\data\\" + name, L"<absent>", L"<absent>"},
        {"-accountdir -datadir", L"-accountdir -datadir", L"\\account\\dict\\" + name, name + L";", name + L";"},
    };
    const ByteVector bytes = MakeDict(31, 2, 0, 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RemoveTree(Root() + L"\\account");
        RemoveTree(Root() + L"\\data");
        DeleteSetting(L"/Dict/InstalledDict");
        DeleteSetting(L"/Dict/ActiveDict");
        const std::wstring src = WriteSource(L"d.pvdict", bytes);
        const RunResult run = RunLexinst(L"-silent " + row.options + L" " + QuoteArg(src));
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(ReadFileBytes(Root() + row.expectFile), bytes);
        EXPECT_EQ(Setting(L"/Dict/InstalledDict"), row.expectInstalled);
        EXPECT_EQ(Setting(L"/Dict/ActiveDict"), row.expectActive);
    }
}

TEST_F(InstallE2eTest, NewVersionReplacesTheOldOneEverywhere)
{
    const std::wstring oldName = StoredName(12, 1, 2, 9);
    MakeAccountDictDir();
    WriteFileBytes(AccountDictDir() + oldName, MakeDict(12, 1, 2, 9));
    SetSetting(L"/Dict/InstalledDict", oldName + L";other.pvdict;");
    SetSetting(L"/Dict/ActiveDict", oldName + L";");

    const RunResult run = RunLexinst(L"-silent " + QuoteArg(WriteSource(L"new.pvdict", MakeDict(12, 1, 3, 0))));
    EXPECT_EQ(run.exitCode, 0);
    const std::wstring newName = StoredName(12, 1, 3, 0);
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), newName + L";other.pvdict;");
    EXPECT_EQ(Setting(L"/Dict/ActiveDict"), newName + L";");
    EXPECT_FALSE(FileExists(AccountDictDir() + oldName));
    EXPECT_TRUE(HasLine(LogOf(run.pid), L"10 lexinst 写入词库列表：[" + oldName + L";other.pvdict;] => [" + newName +
                                            L";other.pvdict;]"));

    // An older file than the listed one counts as current.
    const RunResult older = RunLexinst(L"-silent " + QuoteArg(WriteSource(L"old.pvdict", MakeDict(12, 1, 2, 9))));
    EXPECT_EQ(older.exitCode, 0);
    EXPECT_FALSE(FileExists(AccountDictDir() + oldName));
}

}  // namespace
}  // namespace e2e
