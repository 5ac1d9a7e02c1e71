// The single install through a scripted UI: every outcome, with and without a UI.
#include "EngineTestSupport.h"

#include "installer/CellDictInstaller.h"
#include "installer/InstallLock.h"

#include <windows.h>

namespace {

using Calls = std::vector<std::string>;

class InstallTest : public EngineTest {
protected:
    // Runs Install with the UI when withUi, and checks that no temporary file is left.
    bool RunInstall(const std::wstring& src, const std::wstring& commandLine, bool withUi)
    {
        CellDictInstaller engine;
        engine.ui = withUi ? &ui : nullptr;
        ui.watchedFolder = AccountDictDir();
        const bool result = engine.Install(src, ParseOptions(commandLine));
        EXPECT_TRUE(TempFilesIn(AccountDictDir()).empty()) << "temporary file left behind";
        return result;
    }
    void Preinstall(const std::wstring& storedName, const ByteVector& bytes)
    {
        ::CreateDirectoryW((Root() + L"\\account").c_str(), nullptr);
        ::CreateDirectoryW(AccountDictDir().c_str(), nullptr);
        e2e::WriteFileBytes(AccountDictDir() + storedName, bytes);
        e2e::SetSetting(L"/Dict/InstalledDict", storedName + L";");
        e2e::SetSetting(L"/Dict/ActiveDict", storedName + L";");
    }

    ScriptedUI ui;
};

struct Outcome {
    const char* what;
    bool withUi;
    bool installAnswer;
    bool overwriteAnswer;
    bool preinstalled;  // the same identifier and version is listed
    Calls expectCalls;
    bool expectResult;
    bool expectWritten;  // the stored file holds the new bytes
};

TEST_F(InstallTest, ConfirmationsAndTheirOutcomes)
{
    const Outcome rows[] = {
        {"confirmed", true, true, false, false, {"ConfirmInstall", "ShowInstallSuccess"}, true, true},
        {"cancelled", true, false, false, false, {"ConfirmInstall"}, false, false},
        {"no UI installs without asking", false, false, false, false, {}, true, true},
        {"current copy, overwrite declined", true, true, false, true, {"ConfirmOverwrite"}, true, false},
        {"current copy, overwrite accepted", true, true, true, true,
         {"ConfirmOverwrite", "ConfirmInstall", "ShowInstallSuccess"}, true, true},
        {"current copy, overwrite accepted, install cancelled", true, false, true, true,
         {"ConfirmOverwrite", "ConfirmInstall"}, false, false},
        {"current copy, no UI", false, false, false, true, {}, true, false},
    };
    const ByteVector newBytes = MakeDict(12345, 1, 2, 3);
    const ByteVector oldBytes = {1, 2, 3};
    for (const Outcome& row : rows) {
        SCOPED_TRACE(row.what);
        e2e::RemoveTree(Root() + L"\\account");
        e2e::ClearSettings();
        e2e::SetSetting(L"/Common/accountDataDir", Root() + L"\\account");
        if (row.preinstalled)
            Preinstall(L"12345_1_2_3.pvdict", oldBytes);
        ui = ScriptedUI();
        ui.installAnswer = row.installAnswer;
        ui.overwriteAnswer = row.overwriteAnswer;
        const std::wstring src = WriteSource(L"dict.pvdict", newBytes);

        EXPECT_EQ(RunInstall(src, L"", row.withUi), row.expectResult);
        EXPECT_EQ(ui.calls, row.expectCalls);
        const auto stored = e2e::ReadFileBytes(AccountDictDir() + L"12345_1_2_3.pvdict");
        if (row.expectWritten) {
            EXPECT_EQ(stored, newBytes);
            EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"12345_1_2_3.pvdict;");
            EXPECT_EQ(Setting(L"/Dict/ActiveDict"), L"12345_1_2_3.pvdict;");
        } else if (row.preinstalled) {
            EXPECT_EQ(stored, oldBytes);
        } else {
            EXPECT_FALSE(stored.has_value());
            EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"<absent>");
        }
    }
}

TEST_F(InstallTest, RefusalsBeforeAnythingIsWritten)
{
    struct Row {
        const char* what;
        ByteVector bytes;
        Calls expectCalls;
    };
    DictBytes damaged;
    damaged.header.magic[1] = 0;
    ByteVector truncated = MakeDict(1, 1, 0, 0);
    truncated.resize(847);
    const Row rows[] = {
        {"wrong magic", damaged.Bytes(), {"ShowDictDamaged"}},
        {"shorter than a header", truncated, {"ShowDictDamaged"}},
        {"format level 2", MakeDict(1, 1, 0, 0, 2), {"ShowVersionIncompatible"}},
    };
    for (const Row& row : rows) {
        for (bool withUi : {true, false}) {
            SCOPED_TRACE(::testing::Message() << row.what << (withUi ? ", with UI" : ", without UI"));
            ui = ScriptedUI();
            EXPECT_FALSE(RunInstall(WriteSource(L"bad.pvdict", row.bytes), L"", withUi));
            EXPECT_EQ(ui.calls, withUi ? row.expectCalls : Calls{});
            EXPECT_FALSE(e2e::FileExists(Root() + L"\\account")) << "the folder is not even created";
        }
    }
    ui = ScriptedUI();
    EXPECT_TRUE(RunInstall(WriteSource(L"level1.pvdict", MakeDict(1, 1, 0, 0, 1)), L"", true));
    EXPECT_EQ(ui.calls, (Calls{"ConfirmInstall", "ShowInstallSuccess"}));
}

TEST_F(InstallTest, QuotaRefusedBeforeTheFolderIsLookedUp)
{
    const ByteVector bytes = MakeDict(2, 1, 0, 0);
    const std::wstring src = WriteSource(L"q.pvdict", bytes);
    ::CreateDirectoryW(UserDataDir().c_str(), nullptr);
    const std::wstring index = UserDataDir() + L"\\pvdictindex.dat";
    for (uint64_t slack : {uint64_t{0}, uint64_t{4}}) {
        SCOPED_TRACE(::testing::Message() << "index leaves " << slack << " bytes");
        HANDLE file = ::CreateFileW(index.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(268435456 - 4 * bytes.size() - slack);
        ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
        ::SetEndOfFile(file);
        ::CloseHandle(file);
        ui = ScriptedUI();
        const bool fits = slack > 0;
        EXPECT_EQ(RunInstall(src, L"", true), fits);
        const Calls expected = fits ? Calls{"ConfirmInstall", "ShowInstallSuccess"} : Calls{"ShowQuotaExceeded"};
        EXPECT_EQ(ui.calls, expected);
    }
}

TEST_F(InstallTest, FolderThatCannotBeCreated)
{
    const std::wstring blocker = Root() + L"\\file";
    e2e::WriteFileBytes(blocker, {0});
    e2e::SetSetting(L"/Common/accountDataDir", blocker + L"\\below");
    for (bool withUi : {true, false}) {
        ui = ScriptedUI();
        EXPECT_FALSE(RunInstall(WriteSource(L"d.pvdict", MakeDict(2, 1, 0, 0)), L"", withUi));
        EXPECT_EQ(ui.calls, withUi ? Calls{"ShowInstallFailed"} : Calls{});
    }
}

TEST_F(InstallTest, MissingFolderIsCreatedWithItsParents)
{
    e2e::SetSetting(L"/Common/accountDataDir", Root() + L"\\a\\b\\c");
    ui = ScriptedUI();
    EXPECT_TRUE(RunInstall(WriteSource(L"d.pvdict", MakeDict(2, 1, 0, 0)), L"", true));
    EXPECT_TRUE(e2e::FileExists(Root() + L"\\a\\b\\c\\dict\\2_1_0_0.pvdict"));
}

TEST_F(InstallTest, InfoShownAndTemporaryFileWhileAsking)
{
    ui = ScriptedUI();
    ASSERT_TRUE(RunInstall(WriteSource(L"d.pvdict", MakeDict(77, 3, 2, 1)), L"", true));
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].storedName, L"77_3_2_1.pvdict");
    EXPECT_EQ(ui.shown[0].samples, (std::vector<std::wstring>{L"你好", L"世界", L"词库"}));
    EXPECT_EQ(ui.shown[0].header.dictId, 77u);
    EXPECT_EQ(ui.shown[1].storedName, L"77_3_2_1.pvdict");
    EXPECT_EQ(ui.tempFilesWhileAsked.size(), 1u) << "the temporary file exists while the user is asked";
}

TEST_F(InstallTest, OptionsChooseNameFolderAndLists)
{
    struct Row {
        const char* what;
        std::wstring commandLine;
        std::wstring expectPath;  // below Root()
        std::wstring expectInstalled;
        std::wstring expectActive;
    };
    const Row rows[] = {
        {"-dest names the stored file", L"-dest mine.pvdict", L"\\account\\dict\\mine.pvdict", L"mine.pvdict;",
         L"mine.pvdict;"},
        {"empty -dest falls back", L"-dest \"\"", L"\\account\\dict\\5_1_0_0.pvdict", L"5_1_0_0.pvdict;",
         L"5_1_0_0.pvdict;"},
        {"-deselect", L"-deselect", L"\\account\\dict\\5_1_0_0.pvdict", L"5_1_0_0.pvdict;", L"<absent>"},
        {"-datadir leaves the lists", L"-datadir", L"\\data\\5_1_0_0.pvdict", L"<absent>", L"<absent>"},
        {"-accountdir wins over -datadir", L"-datadir -accountdir", L"\\account\\dict\\5_1_0_0.pvdict",
         L"5_1_0_0.pvdict;", L"5_1_0_0.pvdict;"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        e2e::RemoveTree(Root() + L"\\account");
        e2e::RemoveTree(Root() + L"\\data");
        e2e::DeleteSetting(L"/Dict/InstalledDict");
        e2e::DeleteSetting(L"/Dict/ActiveDict");
        e2e::DeleteSetting(L"/Dict/OrderedDict");
        EXPECT_TRUE(RunInstall(WriteSource(L"d.pvdict", MakeDict(5, 1, 0, 0)), row.commandLine, false));
        EXPECT_TRUE(e2e::FileExists(Root() + row.expectPath));
        EXPECT_EQ(Setting(L"/Dict/InstalledDict"), row.expectInstalled);
        EXPECT_EQ(Setting(L"/Dict/ActiveDict"), row.expectActive);
        EXPECT_EQ(Setting(L"/Dict/OrderedDict"), row.expectInstalled == L"<absent>" ? L"<absent>" : L"");
    }
}

TEST_F(InstallTest, DataFolderCurrentCopyIsDecidedByTheStoredHeader)
{
    ::CreateDirectoryW(DataDir().c_str(), nullptr);
    e2e::WriteFileBytes(DataDir() + L"6_1_0_0.pvdict", MakeDict(6, 1, 0, 0));
    ui = ScriptedUI();
    EXPECT_TRUE(RunInstall(WriteSource(L"d.pvdict", MakeDict(6, 1, 0, 0)), L"-datadir", true));
    EXPECT_EQ(ui.calls, Calls{"ConfirmOverwrite"});

    ui = ScriptedUI();
    EXPECT_TRUE(RunInstall(DataDir() + L"6_1_0_0.pvdict", L"-datadir", false)) << "the stored file itself";
    EXPECT_EQ(e2e::ReadFileBytes(DataDir() + L"6_1_0_0.pvdict"), MakeDict(6, 1, 0, 0));
}

TEST_F(InstallTest, NewerVersionReplacesTheOlderOne)
{
    Preinstall(L"12_1_2_9.pvdict", {1});
    e2e::SetSetting(L"/Dict/OrderedDict", L"12_1_3_0.pvdict;other;12_1_2_9.pvdict;");
    ui = ScriptedUI();
    EXPECT_TRUE(RunInstall(WriteSource(L"d.pvdict", MakeDict(12, 1, 3, 0)), L"", true));
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"12_1_3_0.pvdict;");
    EXPECT_EQ(Setting(L"/Dict/ActiveDict"), L"12_1_3_0.pvdict;");
    EXPECT_EQ(Setting(L"/Dict/OrderedDict"), L"12_1_2_9.pvdict;other;");
    EXPECT_FALSE(e2e::FileExists(AccountDictDir() + L"12_1_2_9.pvdict"));

    ui = ScriptedUI();
    EXPECT_TRUE(RunInstall(WriteSource(L"d.pvdict", MakeDict(12, 1, 2, 9)), L"", true));
    EXPECT_EQ(ui.calls, Calls{"ConfirmOverwrite"}) << "an installed newer version counts as current";
}

TEST_F(InstallTest, StoredFileHeldOpenFailsAndKeepsEverything)
{
    Preinstall(L"8_1_0_0.pvdict", {1, 1});
    const std::wstring stored = AccountDictDir() + L"8_1_0_0.pvdict";
    HeldOpenFile held(stored);
    ui = ScriptedUI();
    ui.overwriteAnswer = true;
    EXPECT_FALSE(RunInstall(WriteSource(L"d.pvdict", MakeDict(8, 1, 0, 0)), L"", true));
    EXPECT_EQ(ui.calls, (Calls{"ConfirmOverwrite", "ConfirmInstall", "ShowInstallFailed"}));
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"8_1_0_0.pvdict;");
}

TEST_F(InstallTest, LockThatCannotBeOpenedFailsWithoutAMessage)
{
    HANDLE squatter = ::CreateEventW(nullptr, FALSE, FALSE, kInstallMutexName);
    if (::GetLastError() == ERROR_ALREADY_EXISTS || !squatter)
        GTEST_SKIP() << "the mutex exists in this session";
    ui = ScriptedUI();
    EXPECT_FALSE(RunInstall(WriteSource(L"d.pvdict", MakeDict(9, 1, 0, 0)), L"", true));
    ::CloseHandle(squatter);
    EXPECT_EQ(ui.calls, Calls{"ConfirmInstall"});
    EXPECT_FALSE(e2e::FileExists(AccountDictDir() + L"9_1_0_0.pvdict"));
}

}  // namespace
