// Removal through lexinst.exe: exit code 1 on success, the lists, the files, no log.
#include "EngineE2eFixture.h"

namespace e2e {
namespace {

using DeleteE2eTest = EngineE2eTest;

TEST_F(DeleteE2eTest, RemovesWhatContainsThePositional)
{
    struct Row {
        const char* what;
        std::wstring args;
        std::wstring unsetSetting;  // deleted before the run
        int expectExit;
        std::wstring expectInstalled;
        std::wstring expectActive;
        std::vector<std::wstring> expectAccountFiles;
        std::vector<std::wstring> expectUserFiles;  // below the per-user data folder
    };
    const std::wstring installed = L"12_1_0_0.pvdict;112_1_0_0.pvdict;;7_1_0_0.pvdict";
    const std::wstring active = L";12_1_0_0.pvdict;9_1_0_0.pvdict;";
    const std::vector<std::wstring> all = {L"112_1_0_0.pvdict", L"12_1_0_0.pvdict", L"7_1_0_0.pvdict",
                                           L"9_1_0_0.pvdict"};
    const std::vector<std::wstring> user = {L"7_1_0_0.pvdict"};
    const Row rows[] = {
        {"a stored name and its longer relatives", L"-delete 12_1_0_0.pvdict", L"", 1, L"7_1_0_0.pvdict;",
         L"9_1_0_0.pvdict;", {L"7_1_0_0.pvdict", L"9_1_0_0.pvdict"}, user},
        {"active only: its file stays", L"-delete 9_", L"", 1, L"112_1_0_0.pvdict;12_1_0_0.pvdict;7_1_0_0.pvdict;",
         L"12_1_0_0.pvdict;", all, user},
        {"an empty positional: lists come back sorted", L"-delete \"\"", L"", 1,
         L"112_1_0_0.pvdict;12_1_0_0.pvdict;7_1_0_0.pvdict;", L"12_1_0_0.pvdict;9_1_0_0.pvdict;", all, user},
        {"-delete wins over -silent", L"-silent -delete 7_", L"", 1, L"112_1_0_0.pvdict;12_1_0_0.pvdict;",
         L"12_1_0_0.pvdict;9_1_0_0.pvdict;", {L"112_1_0_0.pvdict", L"12_1_0_0.pvdict", L"9_1_0_0.pvdict"}, user},
        {"no positional fails", L"-delete", L"", 0, installed, active, all, user},
        {"unreadable active list fails", L"-delete 12", L"/Dict/ActiveDict", 0, installed, L"<absent>", all, user},
        {"no account folder: files are looked for in the per-user folder", L"-delete 7_1_0_0",
         L"/Common/accountDataDir", 1, L"112_1_0_0.pvdict;12_1_0_0.pvdict;", L"12_1_0_0.pvdict;9_1_0_0.pvdict;", all,
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RemoveTree(Root() + L"\\account");
        RemoveTree(UserDataDir());
        SetSetting(L"/Common/accountDataDir", Root() + L"\\account");
        SetSetting(L"/Dict/InstalledDict", installed);
        SetSetting(L"/Dict/ActiveDict", active);
        MakeAccountDictDir();
        for (const std::wstring& name : all)
            WriteFileBytes(AccountDictDir() + name, {1});
        ::CreateDirectoryW(UserDataDir().c_str(), nullptr);
        ::CreateDirectoryW((UserDataDir() + L"\\dict").c_str(), nullptr);
        WriteFileBytes(UserDataDir() + L"\\dict\\7_1_0_0.pvdict", {1});
        if (!row.unsetSetting.empty())
            DeleteSetting(row.unsetSetting);

        const RunResult run = RunLexinst(row.args);
        EXPECT_EQ(run.exitCode, row.expectExit) << "success is 1 for -delete";
        EXPECT_EQ(Setting(L"/Dict/InstalledDict"), row.expectInstalled);
        EXPECT_EQ(Setting(L"/Dict/ActiveDict"), row.expectActive);
        EXPECT_EQ(DictFilesIn(AccountDictDir()), row.expectAccountFiles);
        EXPECT_EQ(DictFilesIn(UserDataDir() + L"\\dict"), row.expectUserFiles);
        EXPECT_TRUE(ReadXLog(run.pid).empty()) << "removal logs nothing";
    }
}

}  // namespace
}  // namespace e2e
