// The single install through a scripted UI: every outcome, with and without a UI.
#include "EngineTestSupport.h"

#include "installer/CellDictInstaller.h"
#include "installer/InstallLock.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace {

using namespace e2e;
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
        MakeAccountDictDir();
        WriteFileBytes(AccountDictDir() + storedName, bytes);
        SetSetting(L"/Dict/InstalledDict", storedName + L";");
        SetSetting(L"/Dict/ActiveDict", storedName + L";");
    }
    void ResetAccount()
    {
        RemoveTree(Root() + L"\\account");
        ::DeleteFileW(IndexPath().c_str());
        ClearSettings();
        SetSetting(L"/Common/accountDataDir", Root() + L"\\account");
        ui = ScriptedUI();
    }

    ScriptedUI ui;
};

TEST_F(InstallTest, ConfirmationsAndTheirOutcomes)
{
    struct Row {
        const char* what;
        bool withUi, installAnswer, overwriteAnswer;
        bool preinstalled;  // the same identifier and version is listed
        Calls expectCalls;
        bool expectResult;
        bool expectWritten;  // the stored file holds the new bytes
    };
    const Row rows[] = {
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
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ResetAccount();
        if (row.preinstalled)
            Preinstall(L"12345_1_2_3.pvdict", oldBytes);
        ui.installAnswer = row.installAnswer;
        ui.overwriteAnswer = row.overwriteAnswer;

        EXPECT_EQ(RunInstall(WriteSource(L"dict.pvdict", newBytes), L"", row.withUi), row.expectResult);
        EXPECT_EQ(ui.calls, row.expectCalls);
        const auto stored = ReadFileBytes(AccountDictDir() + L"12345_1_2_3.pvdict");
        if (row.expectWritten || row.preinstalled) {
            EXPECT_EQ(stored, row.expectWritten ? newBytes : oldBytes);
            EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"12345_1_2_3.pvdict;");
            EXPECT_EQ(Setting(L"/Dict/ActiveDict"), L"12345_1_2_3.pvdict;");
        } else {
            EXPECT_FALSE(stored.has_value());
            EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"<absent>");
        }
    }
}

// Each row fails the install; `arrange` prepares the fault and returns what must
// stay alive during the run (a file held open, an object squatting on a name).
TEST_F(InstallTest, FailuresWithAndWithoutUI)
{
    struct Row {
        const char* what;
        std::function<std::shared_ptr<void>(const ByteVector&)> arrange;
        ByteVector bytes;
        Calls expectCalls;
        bool expectNoFolder;  // refused before the dictionary folder is looked up
    };
    DictBytes damaged;
    damaged.header.magic[1] = 0;
    ByteVector truncated = MakeDict(8, 1, 0, 0);
    truncated.resize(847);
    const auto nothing = [](const ByteVector&) { return std::shared_ptr<void>(); };
    const std::wstring storedPath = AccountDictDir() + L"8_1_0_0.pvdict";
    const Row rows[] = {
        {"wrong magic", nothing, damaged.Bytes(), {"ShowDictDamaged"}, true},
        {"shorter than a header", nothing, truncated, {"ShowDictDamaged"}, true},
        {"format level 2", nothing, MakeDict(8, 1, 0, 0, 2), {"ShowVersionIncompatible"}, true},
        {"over the quota",
         [this](const ByteVector& bytes) {
             SetIndexSize(268435456 - 4 * bytes.size());
             return std::shared_ptr<void>();
         },
         MakeDict(8, 1, 0, 0), {"ShowQuotaExceeded"}, true},
        {"folder below a file cannot be created",
         [this](const ByteVector&) {
             WriteFileBytes(Root() + L"\\file", {0});
             SetSetting(L"/Common/accountDataDir", Root() + L"\\file\\below");
             return std::shared_ptr<void>();
         },
         MakeDict(8, 1, 0, 0), {"ShowInstallFailed"}, false},
        {"unlisted stored file held open",
         [this, storedPath](const ByteVector&) {
             MakeAccountDictDir();
             WriteFileBytes(storedPath, {1, 1});
             return std::static_pointer_cast<void>(std::make_shared<HeldOpen>(storedPath));
         },
         MakeDict(8, 1, 0, 0), {"ConfirmInstall", "ShowInstallFailed"}, false},
        {"install lock name taken by another object",
         [](const ByteVector&) {
             HANDLE squatter = ::CreateEventW(nullptr, FALSE, FALSE, kInstallMutexName);
             EXPECT_TRUE(squatter && ::GetLastError() != ERROR_ALREADY_EXISTS) << "the name is already in use";
             return std::shared_ptr<void>(squatter, ::CloseHandle);
         },
         MakeDict(8, 1, 0, 0), {"ConfirmInstall"}, false},
    };
    for (const Row& row : rows) {
        for (bool withUi : {true, false}) {
            SCOPED_TRACE(::testing::Message() << row.what << (withUi ? ", with UI" : ", without UI"));
            ResetAccount();
            const std::wstring src = WriteSource(L"bad.pvdict", row.bytes);
            {
                const std::shared_ptr<void> held = row.arrange(row.bytes);
                EXPECT_FALSE(RunInstall(src, L"", withUi));
            }
            EXPECT_EQ(ui.calls, withUi ? row.expectCalls : Calls{});
            EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"<absent>");
            if (row.expectNoFolder) {
                EXPECT_FALSE(FileExists(Root() + L"\\account")) << "the folder is not even created";
            } else if (FileExists(storedPath)) {
                EXPECT_EQ(ReadFileBytes(storedPath), (ByteVector{1, 1}));
            }
        }
    }
}

TEST_F(InstallTest, InfoShownAndTemporaryFileWhileAsking)
{
    // Format level 1 still installs.
    ASSERT_TRUE(RunInstall(WriteSource(L"d.pvdict", MakeDict(77, 3, 2, 1, 1)), L"", true));
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].storedName, L"77_3_2_1.pvdict");
    EXPECT_EQ(ui.shown[0].samples, (std::vector<std::wstring>{L"测试", L"安装"}));
    EXPECT_EQ(ui.shown[0].header.dictId, 77u);
    EXPECT_EQ(ui.shown[1].storedName, L"77_3_2_1.pvdict");
    EXPECT_EQ(ui.tempFilesWhileAsked.size(), 1u) << "the temporary file exists while the user is asked";
}

// The options as the single install reads them; lexinst.exe -silent runs the batch.
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
        ResetAccount();
        SetSetting(L"/Common/dataDir", Root() + L"\\data");
        RemoveTree(Root() + L"\\data");
        EXPECT_TRUE(RunInstall(WriteSource(L"d.pvdict", MakeDict(5, 1, 0, 0)), row.commandLine, false));
        EXPECT_TRUE(FileExists(Root() + row.expectPath));
        EXPECT_EQ(Setting(L"/Dict/InstalledDict"), row.expectInstalled);
        EXPECT_EQ(Setting(L"/Dict/ActiveDict"), row.expectActive);
    }
}

TEST_F(InstallTest, DataFolderCurrentCopyIsDecidedByTheStoredHeader)
{
    ::CreateDirectoryW(DataDir().c_str(), nullptr);
    const std::wstring stored = DataDir() + L"6_1_0_0.pvdict";
    WriteFileBytes(stored, MakeDict(6, 1, 0, 0));
    EXPECT_TRUE(RunInstall(WriteSource(L"d.pvdict", MakeDict(6, 1, 0, 0)), L"-datadir", true));
    EXPECT_EQ(ui.calls, Calls{"ConfirmOverwrite"});

    ui = ScriptedUI();
    EXPECT_TRUE(RunInstall(stored, L"-datadir", true)) << "the stored file itself";
    EXPECT_EQ(ui.calls, Calls{"ConfirmOverwrite"});
    EXPECT_EQ(ReadFileBytes(stored), MakeDict(6, 1, 0, 0));
}

}  // namespace
