// The batch install and the removal, called on the engine directly.
#include "EngineTestSupport.h"

#include "installer/CellDictInstaller.h"

#include <windows.h>

#include <algorithm>

namespace {

class BatchTest : public EngineTest {
protected:
    bool Batch(const std::vector<std::wstring>& names, const std::wstring& commandLine)
    {
        CellDictInstaller engine;
        const bool result = engine.BatchInstall(names, ParseOptions(commandLine));
        EXPECT_TRUE(TempFilesIn(AccountDictDir()).empty()) << "temporary file left behind";
        return result;
    }
    std::wstring SourceOption() const { return L"-sourcedir " + e2e::QuoteArg(SourceDir()); }
};

TEST_F(BatchTest, NoFilesSucceedsAndCreatesTheFolder)
{
    EXPECT_TRUE(Batch({}, L""));
    EXPECT_TRUE(e2e::FileExists(AccountDictDir()));
}

TEST_F(BatchTest, EveryFileMustBeInstalledOrCurrent)
{
    struct Row {
        const char* what;
        std::vector<std::wstring> names;
        bool expect;
        std::wstring expectInstalled;
    };
    const Row rows[] = {
        {"all good", {L"a.pvdict", L"b.pvdict"}, true, L"1_1_0_0.pvdict;2_1_0_0.pvdict;3_1_0_0.pvdict;"},
        {"one missing", {L"a.pvdict", L"missing.pvdict", L"b.pvdict"}, false,
         L"1_1_0_0.pvdict;2_1_0_0.pvdict;3_1_0_0.pvdict;"},
        {"one damaged", {L"a.pvdict", L"bad.pvdict"}, false, L"1_1_0_0.pvdict;3_1_0_0.pvdict;"},
        {"format level 2", {L"level2.pvdict"}, false, L"3_1_0_0.pvdict;"},
        {"same version already listed is skipped", {L"listed.pvdict", L"a.pvdict"}, true,
         L"1_1_0_0.pvdict;3_1_0_0.pvdict;"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        e2e::RemoveTree(Root() + L"\\account");
        e2e::SetSetting(L"/Dict/InstalledDict", L"3_1_0_0.pvdict;");
        e2e::DeleteSetting(L"/Dict/ActiveDict");
        WriteSource(L"a.pvdict", MakeDict(1, 1, 0, 0));
        WriteSource(L"b.pvdict", MakeDict(2, 1, 0, 0));
        WriteSource(L"bad.pvdict", ByteVector(900, 0));
        WriteSource(L"level2.pvdict", MakeDict(4, 1, 0, 0, 2));
        WriteSource(L"listed.pvdict", MakeDict(3, 1, 0, 0));
        EXPECT_EQ(Batch(row.names, SourceOption()), row.expect);
        EXPECT_EQ(Setting(L"/Dict/InstalledDict"), row.expectInstalled);
        EXPECT_FALSE(e2e::FileExists(AccountDictDir() + L"3_1_0_0.pvdict")) << "a skipped file is not written";
    }
}

TEST_F(BatchTest, RemoveSourceDeletesEveryExistingNamedFile)
{
    const std::wstring good = WriteSource(L"a.pvdict", MakeDict(1, 1, 0, 0));
    const std::wstring bad = WriteSource(L"bad.pvdict", ByteVector(10, 0));
    const std::wstring unnamed = WriteSource(L"other.pvdict", MakeDict(2, 1, 0, 0));
    EXPECT_FALSE(Batch({L"a.pvdict", L"bad.pvdict", L"gone.pvdict"}, SourceOption() + L" -removesource"));
    EXPECT_FALSE(e2e::FileExists(good));
    EXPECT_FALSE(e2e::FileExists(bad));
    EXPECT_TRUE(e2e::FileExists(unnamed));
    EXPECT_TRUE(e2e::FileExists(AccountDictDir() + L"1_1_0_0.pvdict"));
}

TEST_F(BatchTest, DestOnlyForASingleFile)
{
    WriteSource(L"a.pvdict", MakeDict(1, 1, 0, 0));
    WriteSource(L"b.pvdict", MakeDict(2, 1, 0, 0));
    EXPECT_TRUE(Batch({L"a.pvdict", L"b.pvdict"}, SourceOption() + L" -dest x.pvdict"));
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"1_1_0_0.pvdict;2_1_0_0.pvdict;");
    EXPECT_TRUE(Batch({L"a.pvdict"}, SourceOption() + L" -dest x.pvdict"));
    EXPECT_TRUE(e2e::FileExists(AccountDictDir() + L"x.pvdict"));
    EXPECT_FALSE(Batch({L"a.pvdict"}, SourceOption() + L" -dest \"\"")) << "the folder itself as destination";
}

TEST_F(BatchTest, TwoVersionsInOneBatchKeepTheLaterOne)
{
    WriteSource(L"new.pvdict", MakeDict(7, 2, 0, 0));
    WriteSource(L"old.pvdict", MakeDict(7, 1, 5, 0));
    EXPECT_TRUE(Batch({L"new.pvdict", L"old.pvdict"}, SourceOption() + L" -deselect"));
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"7_1_5_0.pvdict;");
    EXPECT_EQ(Setting(L"/Dict/ActiveDict"), L"<absent>");
    EXPECT_FALSE(e2e::FileExists(AccountDictDir() + L"7_2_0_0.pvdict"));
    EXPECT_TRUE(e2e::FileExists(AccountDictDir() + L"7_1_5_0.pvdict"));
}

TEST_F(BatchTest, DataFolderSkipsTheStoredFileItself)
{
    ::CreateDirectoryW(DataDir().c_str(), nullptr);
    e2e::WriteFileBytes(DataDir() + L"5_1_0_0.pvdict", MakeDict(5, 1, 0, 0));
    EXPECT_TRUE(Batch({DataDir() + L"5_1_0_0.pvdict"}, L"-datadir"));
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"<absent>");
    EXPECT_EQ(e2e::ReadFileBytes(DataDir() + L"5_1_0_0.pvdict"), MakeDict(5, 1, 0, 0));
}

class DeleteTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        e2e::SetSetting(L"/Dict/InstalledDict", L"12_1_0_0.pvdict;112_1_0_0.pvdict;7_1_0_0.pvdict;7_1_0_0.pvdict;");
        e2e::SetSetting(L"/Dict/ActiveDict", L"12_1_0_0.pvdict;9_1_0_0.pvdict;");
        e2e::SetSetting(L"/Dict/OrderedDict", L"x;");
        ::CreateDirectoryW((Root() + L"\\account").c_str(), nullptr);
        ::CreateDirectoryW(AccountDictDir().c_str(), nullptr);
        for (const wchar_t* name : {L"12_1_0_0.pvdict", L"112_1_0_0.pvdict", L"7_1_0_0.pvdict", L"9_1_0_0.pvdict"})
            e2e::WriteFileBytes(AccountDictDir() + name, {1});
    }
    bool Delete(const std::vector<std::wstring>& names)
    {
        CellDictInstaller engine;
        return engine.DeleteDicts(names);
    }
    bool Stored(const wchar_t* name) const { return e2e::FileExists(AccountDictDir() + name); }
};

TEST_F(DeleteTest, SelectsBySubstring)
{
    struct Row {
        const char* what;
        std::vector<std::wstring> names;
        std::wstring expectInstalled;
        std::wstring expectActive;
        std::vector<const wchar_t*> expectGone;
    };
    const Row rows[] = {
        {"a stored name and its longer relatives", {L"12_1_0_0.pvdict"}, L"7_1_0_0.pvdict;", L"9_1_0_0.pvdict;",
         {L"12_1_0_0.pvdict", L"112_1_0_0.pvdict"}},
        {"nothing matches: lists come back sorted", {L"nothing"}, L"112_1_0_0.pvdict;12_1_0_0.pvdict;7_1_0_0.pvdict;",
         L"12_1_0_0.pvdict;9_1_0_0.pvdict;", {}},
        {"active only: no file deleted", {L"9_"}, L"112_1_0_0.pvdict;12_1_0_0.pvdict;7_1_0_0.pvdict;",
         L"12_1_0_0.pvdict;", {}},
        {"two positionals", {L"7_", L"7_1"}, L"112_1_0_0.pvdict;12_1_0_0.pvdict;",
         L"12_1_0_0.pvdict;9_1_0_0.pvdict;", {L"7_1_0_0.pvdict"}},
        {"an empty positional selects nothing", {L""}, L"112_1_0_0.pvdict;12_1_0_0.pvdict;7_1_0_0.pvdict;",
         L"12_1_0_0.pvdict;9_1_0_0.pvdict;", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TearDown();
        SetUp();
        EXPECT_TRUE(Delete(row.names));
        EXPECT_EQ(Setting(L"/Dict/InstalledDict"), row.expectInstalled);
        EXPECT_EQ(Setting(L"/Dict/ActiveDict"), row.expectActive);
        EXPECT_EQ(Setting(L"/Dict/OrderedDict"), L"x;");
        for (const wchar_t* name : {L"12_1_0_0.pvdict", L"112_1_0_0.pvdict", L"7_1_0_0.pvdict", L"9_1_0_0.pvdict"}) {
            const bool gone = std::find_if(row.expectGone.begin(), row.expectGone.end(), [&](const wchar_t* g) {
                                  return std::wstring(g) == name;
                              }) != row.expectGone.end();
            EXPECT_EQ(Stored(name), !gone) << "file " << e2e::ToUtf8(name);
        }
    }
}

TEST_F(DeleteTest, FailsWithoutChangingAnything)
{
    EXPECT_FALSE(Delete({})) << "no positional";
    e2e::DeleteSetting(L"/Dict/ActiveDict");
    EXPECT_FALSE(Delete({L"12"})) << "active list unreadable";
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"12_1_0_0.pvdict;112_1_0_0.pvdict;7_1_0_0.pvdict;7_1_0_0.pvdict;");
    EXPECT_TRUE(Stored(L"12_1_0_0.pvdict"));
}

TEST_F(DeleteTest, WithoutAccountFolderFilesAreLookedForInTheUserDataFolder)
{
    e2e::DeleteSetting(L"/Common/accountDataDir");
    const std::wstring fallback = UserDataDir() + L"\\dict\\";
    ::CreateDirectoryW(UserDataDir().c_str(), nullptr);
    ::CreateDirectoryW(fallback.c_str(), nullptr);
    e2e::WriteFileBytes(fallback + L"7_1_0_0.pvdict", {1});
    EXPECT_TRUE(Delete({L"7_1_0_0"}));
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"112_1_0_0.pvdict;12_1_0_0.pvdict;");
    EXPECT_FALSE(e2e::FileExists(fallback + L"7_1_0_0.pvdict"));
    EXPECT_TRUE(Stored(L"7_1_0_0.pvdict")) << "the account folder is not known";
}

}  // namespace
