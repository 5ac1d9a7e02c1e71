// Installs meeting faults: read-only files, files held open by other processes,
// folders that are missing or cannot be made, no settings store, odd list values.
#include "EngineE2eFixture.h"

namespace e2e {
namespace {

void SetReadOnly(const std::wstring& path, bool readOnly)
{
    ::SetFileAttributesW(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

bool IsReadOnly(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// The file opened without sharing, as the input method holds its files.
class HeldOpen {
public:
    explicit HeldOpen(const std::wstring& path)
        : handle_(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    ~HeldOpen()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
    }
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

class FaultE2eTest : public EngineE2eTest {
protected:
    void MakeAccountDictDir()
    {
        ::CreateDirectoryW((Root() + L"\\account").c_str(), nullptr);
        ::CreateDirectoryW(AccountDictDir().c_str(), nullptr);
    }
};

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
    ::CreateDirectoryW(UserDataDir().c_str(), nullptr);
    const std::wstring index = UserDataDir() + L"\\pvdictindex.dat";
    HANDLE file = ::CreateFileW(index.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = 268435456;  // the whole quota
    ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    ::SetEndOfFile(file);
    ::CloseHandle(file);
    const std::wstring src = WriteSource(L"q.pvdict", MakeDict(21, 1, 0, 0));

    EXPECT_EQ(RunLexinst(L"-silent " + QuoteArg(src)).exitCode, 1) << "over the quota";
    EXPECT_FALSE(FileExists(AccountDictDir() + StoredName(21, 1, 0, 0)));
    HeldOpen held(index);
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

TEST_F(FaultE2eTest, StoredFileHeldOpenStaysAndTheListsDoNotChange)
{
    const std::wstring name = StoredName(23, 1, 0, 0);
    MakeAccountDictDir();
    WriteFileBytes(AccountDictDir() + name, {9});
    SetSetting(L"/Dict/InstalledDict", L"other.pvdict;");
    const std::wstring src = WriteSource(L"h.pvdict", MakeDict(23, 1, 0, 0));
    RunResult run;
    {
        HeldOpen held(AccountDictDir() + name);
        ASSERT_TRUE(held.IsOpen());
        run = RunLexinst(L"-silent " + QuoteArg(src));
    }
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(ReadFileBytes(AccountDictDir() + name), (std::vector<uint8_t>{9}));
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"other.pvdict;");
    EXPECT_TRUE(HasLine(LogOf(run.pid), L"40 lexinst error replacing old dict file(32): " + AccountDictDir() + name))
        << "32: the sharing violation";
    EXPECT_TRUE(TempFilesIn(AccountDictDir()).empty());
}

TEST_F(FaultE2eTest, ObsoleteFileHeldOpenIsLoggedAndStays)
{
    const std::wstring oldName = StoredName(24, 1, 0, 0);
    MakeAccountDictDir();
    WriteFileBytes(AccountDictDir() + oldName, {9});
    SetSetting(L"/Dict/InstalledDict", oldName + L";");
    HeldOpen held(AccountDictDir() + oldName);

    const RunResult run = RunLexinst(L"-silent " + QuoteArg(WriteSource(L"n.pvdict", MakeDict(24, 2, 0, 0))));
    EXPECT_EQ(run.exitCode, 0) << "the lists were written";
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), StoredName(24, 2, 0, 0) + L";");
    EXPECT_TRUE(FileExists(AccountDictDir() + oldName));
    EXPECT_TRUE(HasLine(LogOf(run.pid),
                        L"40 lexinst error removing obsolete dict file(32): " + AccountDictDir() + oldName));
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
