// Installs meeting faults: read-only files, files held open by other processes,
// folders that are missing or cannot be made, no settings store, odd list values.
#include "EngineE2eFixture.h"

namespace e2e {
namespace {

using FaultE2eTest = EngineE2eTest;

TEST_F(FaultE2eTest, ReadOnlySourceStoredAndDatFiles)
{
    const std::wstring name = StoredName(20, 2, 0, 0);
    MakeAccountDictDir();
    const std::wstring stored = AccountDictDir() + name;
    WriteFileBytes(stored, {1, 2});
    WriteFileBytes(stored + L".dat", {3});
    SetReadOnly(stored, true);
    SetReadOnly(stored + L".dat", true);
    const ByteVector bytes = MakeDict(20, 2, 0, 0);
    const std::wstring src = WriteSource(L"ro.pvdict", bytes);
    SetReadOnly(src, true);

    EXPECT_EQ(RunLexinst(L"-silent " + QuoteArg(src)).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(stored), bytes);
    EXPECT_FALSE(IsReadOnly(stored));
    EXPECT_TRUE(FileExists(stored + L".dat")) << "a read-only .dat stays";
    EXPECT_TRUE(FileExists(src));
    SetReadOnly(src, false);
    SetReadOnly(stored + L".dat", false);
}

TEST_F(FaultE2eTest, IndexHeldOpenCountsAsEmpty)
{
    SetIndexSize(268435456);  // the whole quota
    const std::wstring src = WriteSource(L"q.pvdict", MakeDict(21, 1, 0, 0));

    EXPECT_EQ(RunLexinst(L"-silent " + QuoteArg(src)).exitCode, 1) << "over the quota";
    EXPECT_FALSE(FileExists(AccountDictDir() + StoredName(21, 1, 0, 0)));
    HeldOpen held(IndexPath());
    ASSERT_TRUE(held.IsOpen());
    EXPECT_EQ(RunLexinst(L"-silent " + QuoteArg(src)).exitCode, 0) << "an index held open has size 0";
}

TEST_F(FaultE2eTest, DictionaryFolders)
{
    const std::wstring src = WriteSource(L"f.pvdict", MakeDict(22, 1, 0, 0));
    SetSetting(L"/Common/accountDataDir", Root() + L"\\deep\\er\\account");
    EXPECT_EQ(RunLexinst(L"-silent " + QuoteArg(src)).exitCode, 0);
    EXPECT_TRUE(FileExists(Root() + L"\\deep\\er\\account\\dict\\" + StoredName(22, 1, 0, 0)));

    WriteFileBytes(Root() + L"\\blocker", {0});
    SetSetting(L"/Common/accountDataDir", Root() + L"\\blocker\\account");
    DeleteSetting(L"/Dict/InstalledDict");
    EXPECT_EQ(RunLexinst(L"-silent " + QuoteArg(src)).exitCode, 1) << "folder below a file";
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"<absent>");
}

TEST_F(FaultE2eTest, FilesHeldOpenStayAndAreLogged)
{
    struct Row {
        const char* what;
        std::wstring heldName;  // stored before the run
        std::wstring listed;
        ByteVector source;
        int expectExit;
        std::wstring expectInstalled;
        std::wstring expectLog;  // followed by the held file's path
    };
    const Row rows[] = {
        {"stored file: the install fails and the lists stay", StoredName(23, 1, 0, 0), L"other.pvdict;",
         MakeDict(23, 1, 0, 0), 1,
         L"other.pvdict;", L"40 lexinst error replacing old dict file(32): "},
        {"obsolete file: the lists are written", StoredName(24, 1, 0, 0),
         StoredName(24, 1, 0, 0) + L";", MakeDict(24, 2, 0, 0), 0,
         StoredName(24, 2, 0, 0) + L";", L"40 lexinst error removing obsolete dict file(32): "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MakeAccountDictDir();
        const std::wstring held = AccountDictDir() + row.heldName;
        WriteFileBytes(held, {9});
        SetSetting(L"/Dict/InstalledDict", row.listed);
        const std::wstring src = WriteSource(L"h.pvdict", row.source);
        RunResult run;
        {
            HeldOpen open(held);
            ASSERT_TRUE(open.IsOpen());
            run = RunLexinst(L"-silent " + QuoteArg(src));
        }
        EXPECT_EQ(run.exitCode, row.expectExit);
        EXPECT_EQ(ReadFileBytes(held), (ByteVector{9}));
        EXPECT_EQ(Setting(L"/Dict/InstalledDict"), row.expectInstalled);
        EXPECT_TRUE(HasLine(LogOf(run.pid), row.expectLog + held)) << "32: the sharing violation";
        EXPECT_TRUE(TempFilesIn(AccountDictDir()).empty());
    }
}

TEST_F(FaultE2eTest, WithoutTheSettingsStoreNothingChanges)
{
    TempDir programDir(L"no setvault");
    const std::wstring exe = CopyLexinst(programDir.Path(), {kNotehubDll, kPvxlogDll});
    ASSERT_FALSE(exe.empty());
    SetSetting(L"/Dict/InstalledDict", L"1_1_0_0.pvdict;");
    const std::wstring src = WriteSource(L"s.pvdict", MakeDict(25, 1, 0, 0));
    EXPECT_EQ(e2e::Run(exe, L"-silent " + QuoteArg(src)).exitCode, 1);
    EXPECT_EQ(e2e::Run(exe, L"-delete 1_1").exitCode, 0);
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"1_1_0_0.pvdict;");
    EXPECT_FALSE(FileExists(Root() + L"\\account"));
}

TEST_F(FaultE2eTest, ListValuesWithOddSeparators)
{
    SetSetting(L"/Dict/InstalledDict", L";;b.pvdict;;a.pvdict");
    SetSetting(L"/Dict/ActiveDict", L"a.pvdict;;");
    SetSetting(L"/Dict/OrderedDict", L";x;;b.pvdict");
    SetSetting(L"/Local/Autopush/Dict/installedList", L";" + StoredName(26, 1, 0, 0));
    const std::wstring pushed = WriteSource(L"p.pvdict", MakeDict(26, 1, 0, 0));
    const std::wstring fresh = WriteSource(L"c.pvdict", MakeDict(27, 1, 0, 0));

    EXPECT_EQ(RunLexinst(L"-silent " + QuoteArg(pushed) + L" " + QuoteArg(fresh)).exitCode, 0);
    const std::wstring name = StoredName(27, 1, 0, 0);
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), name + L";a.pvdict;b.pvdict;");
    EXPECT_EQ(Setting(L"/Dict/ActiveDict"), name + L";a.pvdict;");
    EXPECT_EQ(Setting(L"/Dict/OrderedDict"), L"x;");
    EXPECT_EQ(Setting(L"/Local/Autopush/Dict/installedList"), L";" + StoredName(26, 1, 0, 0));
    EXPECT_FALSE(FileExists(AccountDictDir() + StoredName(26, 1, 0, 0))) << "pushed: counted as installed";
}

}  // namespace
}  // namespace e2e
