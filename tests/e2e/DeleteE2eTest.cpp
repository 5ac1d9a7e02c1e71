// Removal through lexinst.exe: exit code 1 on success, the lists, the files.
#include "EngineE2eFixture.h"

namespace e2e {
namespace {

class DeleteE2eTest : public EngineE2eTest {
protected:
    void SetUp() override
    {
        EngineE2eTest::SetUp();
        SetSetting(L"/Dict/InstalledDict", L"12_1_0_0.pvdict;112_1_0_0.pvdict;;7_1_0_0.pvdict");
        SetSetting(L"/Dict/ActiveDict", L";12_1_0_0.pvdict;9_1_0_0.pvdict;");
        ::CreateDirectoryW((Root() + L"\\account").c_str(), nullptr);
        ::CreateDirectoryW(AccountDictDir().c_str(), nullptr);
        for (const wchar_t* name : {L"12_1_0_0.pvdict", L"112_1_0_0.pvdict", L"7_1_0_0.pvdict"})
            WriteFileBytes(AccountDictDir() + name, {1});
    }
};

TEST_F(DeleteE2eTest, RemovesWhatContainsThePositional)
{
    const RunResult run = RunLexinst(L"-delete 12_1_0_0.pvdict");
    EXPECT_EQ(run.exitCode, 1) << "success is 1 for -delete";
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"7_1_0_0.pvdict;");
    EXPECT_EQ(Setting(L"/Dict/ActiveDict"), L"9_1_0_0.pvdict;");
    EXPECT_EQ(ListFolder(AccountDictDir(), L"*.pvdict"), std::vector<std::wstring>{L"7_1_0_0.pvdict"});
    EXPECT_TRUE(ReadXLog(run.pid).empty()) << "removal logs nothing";
}

TEST_F(DeleteE2eTest, ExitCodes)
{
    struct Row {
        const char* what;
        std::wstring args;
        int expectExit;
        std::wstring expectInstalled;
    };
    const Row rows[] = {
        {"no positional fails", L"-delete", 0, L"12_1_0_0.pvdict;112_1_0_0.pvdict;;7_1_0_0.pvdict"},
        {"an empty positional removes nothing", L"-delete \"\"", 1, L"112_1_0_0.pvdict;12_1_0_0.pvdict;7_1_0_0.pvdict;"},
        {"-delete wins over -silent", L"-silent -delete 7_", 1, L"112_1_0_0.pvdict;12_1_0_0.pvdict;"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TearDown();
        SetUp();
        EXPECT_EQ(RunLexinst(row.args).exitCode, row.expectExit);
        EXPECT_EQ(Setting(L"/Dict/InstalledDict"), row.expectInstalled);
        EXPECT_TRUE(FileExists(AccountDictDir() + L"12_1_0_0.pvdict"));
    }
}

}  // namespace
}  // namespace e2e
