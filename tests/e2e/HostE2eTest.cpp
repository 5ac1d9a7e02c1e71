// lexinst.exe as a whole: the file association, the dispatcher's precedence and
// exit codes, logging with and without the logging library, and runs without
// the settings store. Every run here must end by itself: a dialog would keep the
// process alive and fail the run by its timeout.

#include "support/E2eSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr DWORD kNoWindowTimeoutMs = 30000;
constexpr const wchar_t* kContentTypeKey = L"MIME\\Database\\Content Type\\application/PelvoImeDict";
constexpr const wchar_t* kClassKey = L"PelvoImeDictFile";
constexpr const wchar_t* kListed = L"1234_1_0_0.pvdict";

void RemoveAssociations()
{
    for (const wchar_t* key : {L".pvdict", kClassKey, kContentTypeKey, L".pcd", L"PvImeFile"})
        DeleteRegTree(HKEY_CLASSES_ROOT, key, 0);
}

std::optional<std::wstring> ClassText(const std::wstring& key, const std::wstring& name = L"")
{
    return GetRegString(HKEY_CLASSES_ROOT, key, name, 0);
}

// Every entry of the dictionary file type, for a program at `exe`.
void ExpectDictTypeRegistered(const std::wstring& exe)
{
    struct Entry {
        std::wstring key;
        std::wstring name;
        std::wstring data;
    };
    const std::wstring cls = kClassKey;
    const Entry entries[] = {
        {L".pvdict", L"", cls},
        {cls, L"", L"Pelvo输入法分类词库"},
        {cls + L"\\DefaultIcon", L"", exe + L",0"},
        {cls + L"\\Shell", L"", L"Open"},
        {cls + L"\\Shell\\Open", L"", L"安装到Pelvo输入法(&I)"},
        {cls + L"\\Shell\\Open\\Command", L"", exe + L" \"%1\""},
        {kContentTypeKey, L"Extension", L".pvdict"},
    };
    for (const Entry& entry : entries) {
        SCOPED_TRACE(testing::Message() << "HKCR\\" << entry.key << " [" << entry.name << "]");
        EXPECT_EQ(std::optional<std::wstring>(entry.data), ClassText(entry.key, entry.name));
        EXPECT_EQ(std::optional<DWORD>(REG_SZ), GetRegType(HKEY_CLASSES_ROOT, entry.key, entry.name, 0));
    }
    EXPECT_EQ(std::optional<DWORD>(0x10000), GetRegDword(HKEY_CLASSES_ROOT, cls, L"EditFlags", 0));
}

void ExpectDictTypeAbsent()
{
    for (const wchar_t* key : {L".pvdict", kClassKey, kContentTypeKey}) {
        SCOPED_TRACE(testing::Message() << "HKCR\\" << key);
        EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, key, 0));
    }
}

// Saves the settings a test changes and puts them back afterwards.
class SettingsSnapshot {
public:
    explicit SettingsSnapshot(std::vector<std::wstring> keys) : keys_(std::move(keys))
    {
        for (const std::wstring& key : keys_)
            saved_.push_back(GetSetting(key));
    }
    ~SettingsSnapshot()
    {
        for (std::size_t i = 0; i < keys_.size(); ++i) {
            if (saved_[i])
                SetSetting(keys_[i], *saved_[i]);
            else
                DeleteSetting(keys_[i]);
        }
    }

private:
    std::vector<std::wstring> keys_;
    std::vector<std::optional<std::wstring>> saved_;
};

class HostE2eTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(account_.Path().empty());
        SetSetting(L"/Common/accountDataDir", account_.Path());
        SetSetting(L"/Dict/InstalledDict", std::wstring(kListed) + L";");
        SetSetting(L"/Dict/ActiveDict", std::wstring(kListed) + L";");
        RemoveAssociations();
    }
    void TearDown() override { RemoveAssociations(); }

    SettingsSnapshot settings_{{L"/Common/accountDataDir", L"/Dict/InstalledDict", L"/Dict/ActiveDict",
                                L"/Dict/OrderedDict"}};
    TempDir account_{L"host account"};
};

TEST_F(HostE2eTest, RegisterWritesEveryEntryAndIsRepeatable)
{
    // The legacy type, whatever program it belongs to, goes away.
    SetRegString(HKEY_CLASSES_ROOT, L".pcd", L"", L"PvImeFile", REG_SZ, 0);
    SetRegString(HKEY_CLASSES_ROOT, L"PvImeFile\\Shell\\Open\\Command", L"", L"other.exe \"%1\"", REG_SZ, 0);

    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(testing::Message() << "run " << run);
        EXPECT_EQ(0, RunLexinst(L"-reg", kNoWindowTimeoutMs).exitCode);
        ExpectDictTypeRegistered(LexinstPath());
        EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, L".pcd", 0));
        EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, L"PvImeFile", 0));
    }

    EXPECT_EQ(0, RunLexinst(L"-unreg", kNoWindowTimeoutMs).exitCode);
    ExpectDictTypeAbsent();
    EXPECT_EQ(0, RunLexinst(L"-unreg", kNoWindowTimeoutMs).exitCode) << "never registered: nothing to report";
    ExpectDictTypeAbsent();
}

TEST_F(HostE2eTest, RegisterKeepsAPathWithSpacesUnquoted)
{
    TempDir folder(L"Program With Spaces");
    const std::wstring exe = CopyLexinst(folder.Path(), {});
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(0, e2e::Run(exe, L"-reg", kNoWindowTimeoutMs).exitCode);
    ExpectDictTypeRegistered(exe);
}

// The rows of the exit-code table that show no window, and the precedence
// between the commands, seen through what each run changed.
TEST_F(HostE2eTest, DispatcherPrecedenceAndExitCodes)
{
    const std::wstring listed = std::wstring(kListed) + L";";
    struct Row {
        const char* name;
        std::wstring args;
        int exitCode;
        std::wstring installedAfter;  // the installed list after the run
        bool registeredAfter;
    };
    const Row rows[] = {
        {"value option last: parse fails", L"x.pvdict -dest", 1, listed, false},
        {"failed parse beats -reg", L"-reg -dest", 1, listed, false},
        {"-unreg", L"-unreg", 0, listed, false},
        {"-reg", L"-reg", 0, listed, true},
        {"-reg ignores a path", L"-reg C:\\no\\such.pvdict", 0, listed, true},
        {"-unreg beats -reg", L"-reg -unreg", 0, listed, false},
        {"-unreg beats -delete", L"-unreg -delete 1234", 0, listed, false},
        {"-delete without names fails with 0", L"-delete", 0, listed, false},
        {"-delete of a listed name succeeds with 1", L"-delete 1234", 1, L"", false},
        {"-delete beats -silent", L"-silent -delete 1234", 1, L"", false},
        {"-silent without names succeeds", L"-silent", 0, listed, false},
        {"-silent with a missing file fails", L"-silent C:\\no\\such.pvdict", 1, listed, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        const RunResult run = RunLexinst(row.args, kNoWindowTimeoutMs);
        EXPECT_EQ(row.exitCode, run.exitCode);
        EXPECT_EQ(std::optional<std::wstring>(row.installedAfter), GetSetting(L"/Dict/InstalledDict"));
        EXPECT_EQ(row.registeredAfter, RegKeyExists(HKEY_CLASSES_ROOT, L".pvdict", 0));
    }
}

TEST_F(HostE2eTest, FailedParseLeavesNoTrace)
{
    const RunResult run = RunLexinst(L"-silent -sourcedir", kNoWindowTimeoutMs);
    EXPECT_EQ(1, run.exitCode);
    EXPECT_TRUE(ReadXLog(run.pid).empty());
}

bool HasSummary(const std::vector<XLogLine>& lines, const std::wstring& message)
{
    return std::any_of(lines.begin(), lines.end(), [&](const XLogLine& line) {
        return line.level == 0x20 && line.tag == L"lexinst" && line.message == message;
    });
}

TEST_F(HostE2eTest, LogsOnlyWithTheLoggingLibraryAndBehavesTheSame)
{
    TempDir withLog(L"with log");
    TempDir withoutLog(L"without log");
    const std::wstring logged = CopyLexinst(withLog.Path(), AllComponents());
    const std::wstring silent = CopyLexinst(withoutLog.Path(), {kSetvaultDll, kNotehubDll});
    ASSERT_FALSE(logged.empty());
    ASSERT_FALSE(silent.empty());

    const std::wstring summary = L"Successfully installed 0 cell dicts, skipped 0.";
    const RunResult a = e2e::Run(logged, L"-silent", kNoWindowTimeoutMs);
    EXPECT_EQ(0, a.exitCode);
    EXPECT_TRUE(HasSummary(ReadXLog(a.pid), summary));

    const RunResult b = e2e::Run(silent, L"-silent", kNoWindowTimeoutMs);
    EXPECT_EQ(0, b.exitCode);
    EXPECT_TRUE(ReadXLog(b.pid).empty());

    for (const wchar_t* args : {L"-delete 1234", L"-silent C:\\no\\such.pvdict"}) {
        SCOPED_TRACE(testing::Message() << "args " << std::wstring(args).size());
        SetUp();
        const int withCode = e2e::Run(logged, args, kNoWindowTimeoutMs).exitCode;
        const std::optional<std::wstring> withList = GetSetting(L"/Dict/InstalledDict");
        SetUp();
        const RunResult quiet = e2e::Run(silent, args, kNoWindowTimeoutMs);
        EXPECT_EQ(withCode, quiet.exitCode);
        EXPECT_EQ(withList, GetSetting(L"/Dict/InstalledDict"));
        EXPECT_TRUE(ReadXLog(quiet.pid).empty());
    }
}

TEST_F(HostE2eTest, CommandsFailWithoutTheSettingsStore)
{
    TempDir folder(L"no store");
    const std::wstring exe = CopyLexinst(folder.Path(), {kNotehubDll, kPvxlogDll});
    ASSERT_FALSE(exe.empty());
    const std::wstring listed = std::wstring(kListed) + L";";

    const RunResult batch = e2e::Run(exe, L"-silent", kNoWindowTimeoutMs);
    EXPECT_EQ(1, batch.exitCode) << "no store, so no dictionary folder";
    EXPECT_FALSE(HasSummary(ReadXLog(batch.pid), L"Successfully installed 0 cell dicts, skipped 0."));

    EXPECT_EQ(0, e2e::Run(exe, L"-delete 1234", kNoWindowTimeoutMs).exitCode) << "the removal fails";
    EXPECT_EQ(std::optional<std::wstring>(listed), GetSetting(L"/Dict/InstalledDict"));

    EXPECT_EQ(0, e2e::Run(exe, L"-reg", kNoWindowTimeoutMs).exitCode) << "registration needs no store";
    ExpectDictTypeRegistered(exe);
}

TEST_F(HostE2eTest, ProcessesShareTheLogWithoutMixingLines)
{
    constexpr int kProcesses = 6;
    std::vector<Process> processes;
    for (int i = 0; i < kProcesses; ++i)
        processes.push_back(Start(LexinstPath(), L"-silent"));
    std::set<DWORD> pids;
    for (Process& process : processes) {
        ASSERT_TRUE(process.Started());
        pids.insert(process.Pid());
        EXPECT_EQ(0, process.Wait(kNoWindowTimeoutMs * 2));
    }
    for (const std::wstring& text : ReadXLogText()) {
        if (!text.empty()) {
            EXPECT_TRUE(ParseXLogLine(text).has_value()) << "mixed or broken line";
        }
    }
    for (DWORD pid : pids) {
        SCOPED_TRACE(pid);
        const std::vector<XLogLine> lines = ReadXLog(pid);
        EXPECT_EQ(1, std::count_if(lines.begin(), lines.end(), [](const XLogLine& line) {
                      return line.message == L"Successfully installed 0 cell dicts, skipped 0.";
                  }));
    }
}

}  // namespace
}  // namespace e2e
