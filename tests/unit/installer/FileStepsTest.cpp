// The per-file steps of an install at their edges, each row run through the
// single install (with a UI that confirms, and declines to overwrite) and through
// the batch, which share the steps: what must happen, and what must not.
#include "support/EngineE2eFixture.h"

#include "host/ConfigStore.h"
#include "installer/CellDictInstaller.h"
#include "installer/EngineOptions.h"
#include "installer/StoredFiles.h"
#include "support/DictShapes.h"

namespace {

// Answers yes to the install and no to an overwrite, and notes every call.
class ScriptedUI : public CellDictInstallerUI {
public:
    bool ConfirmInstall(const CellDictInfo&) override { return Note(L"ConfirmInstall", true); }
    bool ConfirmOverwrite() override { return Note(L"ConfirmOverwrite", false); }
    void ShowInstallSuccess(const CellDictInfo&) override { Note(L"ShowInstallSuccess"); }
    void ShowInstallFailed() override { Note(L"ShowInstallFailed"); }
    void ShowNoFileSpecified() override { Note(L"ShowNoFileSpecified"); }
    void ShowFileNotFound() override { Note(L"ShowFileNotFound"); }
    void ShowDictDamaged() override { Note(L"ShowDictDamaged"); }
    void ShowVersionIncompatible() override { Note(L"ShowVersionIncompatible"); }
    void ShowQuotaExceeded() override { Note(L"ShowQuotaExceeded"); }
    std::wstring calls;

private:
    bool Note(const wchar_t* call, bool answer = false)
    {
        calls += (calls.empty() ? L"" : L" ") + std::wstring(call);
        return answer;
    }
};

constexpr uint64_t kIndexBudget = 268435456;

struct Row {
    const char* name;
    ByteVector source;
    const wchar_t* calls;     // of the single install
    bool installed;           // the source is stored and listed
    std::wstring listed;      // "/Dict/InstalledDict" before, its file stored with other bytes
    int64_t indexSlack = -1;  // the index is this much below the budget less four times the source; -1: none
    int dat = 0;              // a cache beside the stored file: 1 writable, 2 read-only
    std::wstring stored = L"8_1_0_0.pvdict";
};

class FileStepsTest : public e2e::EngineE2eTest {
protected:
    static void SetUpTestSuite() { BringUpConfigComponent(); }

    std::wstring Arrange(const Row& row) const
    {
        MakeAccountDictDir();
        for (const std::wstring& name : e2e::ListFolder(AccountDictDir())) {
            ::SetFileAttributesW((AccountDictDir() + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW((AccountDictDir() + name).c_str());
        }
        e2e::SetSetting(L"/Dict/InstalledDict", row.listed.empty() ? L"" : row.listed + L";");
        e2e::SetSetting(L"/Dict/ActiveDict", L"");
        if (!row.listed.empty())
            WriteBytes(AccountDictDir() + row.listed, {1, 2, 3});
        const std::wstring dat = AccountDictDir() + row.stored + L".dat";
        if (row.dat) {
            WriteBytes(dat, {4});
            ::SetFileAttributesW(dat.c_str(), row.dat == 2 ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        }
        const std::wstring index = UserDataDir() + L"\\pvdictindex.dat";
        ::CreateDirectoryW(UserDataDir().c_str(), nullptr);
        ::DeleteFileW(index.c_str());
        if (row.indexSlack >= 0) {
            EXPECT_TRUE(e2e::WriteZeroFile(index, kIndexBudget - 4 * row.source.size() - row.indexSlack));
        }
        return WriteSource(L"s.pvdict", row.source);
    }
    void Check(const Row& row, const char* driver) const
    {
        SCOPED_TRACE(driver);
        const std::wstring installed = e2e::Setting(L"/Dict/InstalledDict");
        EXPECT_EQ(installed.find(row.stored + L";") != std::wstring::npos, row.installed || row.listed == row.stored);
        EXPECT_EQ(ReadBytes(AccountDictDir() + row.stored) == row.source, row.installed);
        if (!row.listed.empty() && row.listed != row.stored) {
            EXPECT_EQ(e2e::FileExists(AccountDictDir() + row.listed), !row.installed) << "the other version";
        }
        if (row.dat) {
            EXPECT_EQ(e2e::FileExists(AccountDictDir() + row.stored + L".dat"), !row.installed || row.dat == 2);
        }
        EXPECT_TRUE(e2e::ListFolder(AccountDictDir(), L"tmp*.tmp").empty());
    }
};

ByteVector Dict8(uint16_t level = 0) { return e2e::MakeDict(8, 1, 0, 0, level); }

TEST_F(FileStepsTest, EachStepAtItsEdgesInBothInstalls)
{
    const wchar_t* const kDone = L"ConfirmInstall ShowInstallSuccess";
    // clang-format off
    const Row rows[] = {
        {"format level 0", Dict8(0), kDone, true},
        {"format level 1", Dict8(1), kDone, true},
        {"format level 2", Dict8(2), L"ShowVersionIncompatible", false},
        {"damaged", ByteVector(500, 0), L"ShowDictDamaged", false},
        {"the largest file", MostRecordsDict(kLargestDictSize), kDone, true, L"", -1, 0, L"s.pvdict"},
        {"one byte larger", MostRecordsDict(kLargestDictSize + 1), L"ShowQuotaExceeded", false, L"", -1, 0,
         L"s.pvdict"},
        {"the index at the last size that fits", Dict8(), kDone, true, L"", 1},
        {"the index one byte over", Dict8(), L"ShowQuotaExceeded", false, L"", 0},
        {"the same version listed", Dict8(), L"ConfirmOverwrite", false, L"8_1_0_0.pvdict"},
        {"a newer version listed", Dict8(), L"ConfirmOverwrite", false, L"8_1_0_1.pvdict"},
        {"an older version listed", Dict8(), kDone, true, L"8_0_9_9.pvdict"},
        {"a writable cache", Dict8(), kDone, true, L"", -1, 1},
        {"a read-only cache", Dict8(), kDone, true, L"", -1, 2},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const bool ok = row.installed || !row.listed.empty();
        ScriptedUI ui;
        CellDictInstaller single;
        single.ui = &ui;
        EXPECT_EQ(single.Install(Arrange(row), EngineOptions{}), ok);
        EXPECT_EQ(ui.calls, row.calls);
        Check(row, "single");

        CellDictInstaller batch;
        EXPECT_EQ(batch.BatchInstall({Arrange(row)}, EngineOptions{}), ok);
        Check(row, "batch");
    }
}

// A copy made where no file is yet takes the source's read-only attribute (the
// whole program always copies onto a fresh temporary file, which Wine leaves writable).
TEST_F(FileStepsTest, ReadOnlySourceGivesAWritableStoredFile)
{
    const std::wstring src = WriteSource(L"ro.pvdict", e2e::MakeDict(2, 1, 0, 0));
    ::SetFileAttributesW(src.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::wstring dest = SourceDir() + L"\\stored.pvdict";
    ASSERT_TRUE(InstallDictFile(src, dest, SourceDir() + L"\\fresh.tmp"));
    EXPECT_EQ(::GetFileAttributesW(dest.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

}  // namespace
