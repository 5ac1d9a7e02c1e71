// Whole-program scenarios. Each row of the table runs the real lexinst.exe once in
// a fresh throw-away account and judges the run by its exit code, the settings,
// the files and the run's own log lines. The scenarios that need several
// processes or the file-type registry follow the table.
#include "EngineE2eFixture.h"

#include <shlobj.h>

#include <cstring>
#include <ostream>
#include <utility>

namespace e2e {
namespace {

// Paths, arguments, settings and log lines may name the folders of the row's account:
// $R its root, $S the source folder, $A the account's dictionary folder, $D the data
// folder, $U the per-user data folder (none with a trailing backslash).
struct Dict {
    uint32_t id = 0, major = 1, minor = 0, build = 0;  // id 0: not a dictionary but zero bytes
    uint16_t level = 0;
};

struct File {
    std::wstring path;
    Dict dict;
    uint64_t zeros = 1;  // the size when dict.id is 0
    bool readOnly = false;
    bool heldOpen = false;  // opened without sharing during the run
};

enum class Program { Beside, NoSetvault, NoPvxlog, ElsewhereIme };

using Settings = std::vector<std::pair<std::wstring, std::wstring>>;  // "<absent>": no value

struct Scenario {
    const char* name;
    std::vector<std::wstring> args;
    Settings settings;  // over the account's folder settings
    std::vector<File> files;
    int exitCode = 0;
    Settings expectSettings;
    std::vector<File> expectFiles;     // with these bytes and this read-only attribute
    std::vector<std::wstring> absent;  // paths
    std::vector<std::wstring> log;     // "level tag message"; "!text": no line holds text
    Program program = Program::Beside;
};

void PrintTo(const Scenario& row, std::ostream* out)
{
    *out << row.name;
}

const std::wstring kSummary = L"20 lexinst Successfully installed ";
const Settings kListed = {{L"/Dict/InstalledDict", L"12_1_0_0.pvdict;112_1_0_0.pvdict;;7_1_0_0.pvdict"},
                          {L"/Dict/ActiveDict", L";12_1_0_0.pvdict;9_1_0_0.pvdict;"}};
const std::vector<File> kListedFiles = {{L"$A\\12_1_0_0.pvdict"}, {L"$A\\112_1_0_0.pvdict"}, {L"$A\\7_1_0_0.pvdict"},
                                        {L"$A\\9_1_0_0.pvdict"}, {L"$U\\dict\\7_1_0_0.pvdict"}};
const std::wstring kHeld = L"$A\\2_1_0_0.pvdict";

const Scenario kScenarios[] = {
    {.name = "SilentInstallStoresListsAndLogs", .args = {L"-silent", L"-sourcedir", L"$S", L"词库 one.pvdict"},
     .settings = {{L"/Dict/OrderedDict", L"zz;4242_1_2_3;"}}, .files = {{L"$S\\词库 one.pvdict", {4242, 1, 2, 3}}},
     .expectSettings = {{L"/Dict/InstalledDict", L"4242_1_2_3.pvdict;"}, {L"/Dict/ActiveDict", L"4242_1_2_3.pvdict;"},
                        {L"/Dict/OrderedDict", L"zz;"}},
     .expectFiles = {{L"$A\\4242_1_2_3.pvdict", {4242, 1, 2, 3}}},
     .log = {L"10 func FUNCTION: CellDictInstaller::InstallDictFile(destPath.c_str()=$A\\4242_1_2_3.pvdict)",
             L"10 lexinst 写入词库列表：[] => [4242_1_2_3.pvdict;]",
             L"10 lexinst 写入启用的词库列表：[] => [4242_1_2_3.pvdict;]", kSummary + L"1 cell dicts, skipped 0."}},
    {.name = "DestNamesTheStoredFile", .args = {L"-silent", L"-dest", L"mine.pvdict", L"$S\\d.pvdict"},
     .files = {{L"$S\\d.pvdict", {3}}},
     .expectSettings = {{L"/Dict/InstalledDict", L"mine.pvdict;"}, {L"/Dict/ActiveDict", L"mine.pvdict;"}},
     .expectFiles = {{L"$A\\mine.pvdict", {3}}}},
    {.name = "DestIsIgnoredForTwoFiles", .args = {L"-silent", L"-dest", L"x.pvdict", L"$S\\a.pvdict", L"$S\\b.pvdict"},
     .files = {{L"$S\\a.pvdict", {1}}, {L"$S\\b.pvdict", {2}}},
     .expectSettings = {{L"/Dict/InstalledDict", L"1_1_0_0.pvdict;2_1_0_0.pvdict;"}},
     .expectFiles = {{L"$A\\1_1_0_0.pvdict", {1}}, {L"$A\\2_1_0_0.pvdict", {2}}}, .absent = {L"$A\\x.pvdict"}},
    {.name = "DeselectRecordsAsInstalledOnly", .args = {L"-silent", L"-deselect", L"$S\\d.pvdict"},
     .files = {{L"$S\\d.pvdict", {3}}},
     .expectSettings = {{L"/Dict/InstalledDict", L"3_1_0_0.pvdict;"}, {L"/Dict/ActiveDict", L"<absent>"}},
     .expectFiles = {{L"$A\\3_1_0_0.pvdict", {3}}}},
    {.name = "DataDirStoresWithoutLists", .args = {L"-silent", L"-datadir", L"$S\\d.pvdict"},
     .files = {{L"$S\\d.pvdict", {3}}}, .expectSettings = {{L"/Dict/InstalledDict", L"<absent>"}},
     .expectFiles = {{L"$D\\3_1_0_0.pvdict", {3}}}, .absent = {L"$A\\3_1_0_0.pvdict"}},
    {.name = "AccountDirWinsOverDataDir", .args = {L"-silent", L"-accountdir", L"-datadir", L"$S\\d.pvdict"},
     .files = {{L"$S\\d.pvdict", {3}}}, .expectSettings = {{L"/Dict/ActiveDict", L"3_1_0_0.pvdict;"}},
     .expectFiles = {{L"$A\\3_1_0_0.pvdict", {3}}}, .absent = {L"$D\\3_1_0_0.pvdict"}},
    {.name = "NewerVersionReplacesTheOlderEverywhere", .args = {L"-silent", L"$S\\new.pvdict"},
     .settings = {{L"/Dict/InstalledDict", L"12_1_2_9.pvdict;other.pvdict;"},
                  {L"/Dict/ActiveDict", L"12_1_2_9.pvdict;"}},
     .files = {{L"$A\\12_1_2_9.pvdict", {12, 1, 2, 9}}, {L"$S\\new.pvdict", {12, 1, 3}}},
     .expectSettings = {{L"/Dict/InstalledDict", L"12_1_3_0.pvdict;other.pvdict;"},
                        {L"/Dict/ActiveDict", L"12_1_3_0.pvdict;"}},
     .expectFiles = {{L"$A\\12_1_3_0.pvdict", {12, 1, 3}}}, .absent = {L"$A\\12_1_2_9.pvdict"},
     .log = {L"10 lexinst 写入词库列表：[12_1_2_9.pvdict;other.pvdict;] => [12_1_3_0.pvdict;other.pvdict;]"}},
    {.name = "SameVersionIsSkipped", .args = {L"-silent", L"$S\\d.pvdict"},
     .settings = {{L"/Dict/InstalledDict", L"12_1_2_9.pvdict;"}}, .files = {{L"$S\\d.pvdict", {12, 1, 2, 9}}},
     .expectSettings = {{L"/Dict/InstalledDict", L"12_1_2_9.pvdict;"}, {L"/Dict/ActiveDict", L"<absent>"}},
     .absent = {L"$A\\12_1_2_9.pvdict"}, .log = {kSummary + L"0 cell dicts, skipped 1."}},
    {.name = "OlderVersionIsSkipped", .args = {L"-silent", L"$S\\d.pvdict"},
     .settings = {{L"/Dict/InstalledDict", L"12_1_3_0.pvdict;"}}, .files = {{L"$S\\d.pvdict", {12, 1, 2, 9}}},
     .expectSettings = {{L"/Dict/InstalledDict", L"12_1_3_0.pvdict;"}}, .absent = {L"$A\\12_1_2_9.pvdict"},
     .log = {kSummary + L"0 cell dicts, skipped 1."}},
    {.name = "FailuresFailTheBatchWhileTheRestInstalls",
     .args = {L"-silent", L"-removesource", L"-sourcedir", L"$S/", L"a.pvdict", L"missing.pvdict", L"bad.pvdict",
              L"level2.pvdict", L"b.pvdict"},
     .files = {{L"$S\\a.pvdict", {1}}, {L"$S\\bad.pvdict", {}, 500}, {L"$S\\level2.pvdict", {4, 1, 0, 0, 2}},
               {L"$S\\b.pvdict", {2}}, {L"$S\\c.pvdict", {3}}},
     .exitCode = 1, .expectSettings = {{L"/Dict/InstalledDict", L"1_1_0_0.pvdict;2_1_0_0.pvdict;"}},
     .expectFiles = {{L"$A\\1_1_0_0.pvdict", {1}}, {L"$A\\2_1_0_0.pvdict", {2}}, {L"$S\\c.pvdict", {3}}},
     .absent = {L"$A\\4_1_0_0.pvdict", L"$S\\a.pvdict", L"$S\\bad.pvdict", L"$S\\level2.pvdict", L"$S\\b.pvdict"},
     .log = {L"40 lexinst Error reading dict file: $S/bad.pvdict", L"!Successfully installed"}},
    {.name = "OddSeparatorsAndTheAutopushList", .args = {L"-silent", L"$S\\p.pvdict", L"$S\\c.pvdict"},
     .settings = {{L"/Dict/InstalledDict", L";;b.pvdict;;a.pvdict"}, {L"/Dict/ActiveDict", L"a.pvdict;;"},
                  {L"/Dict/OrderedDict", L";x;;b.pvdict"},
                  {L"/Local/Autopush/Dict/installedList", L";26_1_0_0.pvdict"}},
     .files = {{L"$S\\p.pvdict", {26}}, {L"$S\\c.pvdict", {27}}},
     .expectSettings = {{L"/Dict/InstalledDict", L"27_1_0_0.pvdict;a.pvdict;b.pvdict;"},
                        {L"/Dict/ActiveDict", L"27_1_0_0.pvdict;a.pvdict;"}, {L"/Dict/OrderedDict", L"x;"},
                        {L"/Local/Autopush/Dict/installedList", L";26_1_0_0.pvdict"}},
     .absent = {L"$A\\26_1_0_0.pvdict"}, .log = {kSummary + L"1 cell dicts, skipped 1."}},
    {.name = "ReadOnlySourceStoredAndDatFiles", .args = {L"-silent", L"$S\\ro.pvdict"},
     .files = {{L"$A\\2_1_0_0.pvdict", {}, 2, true}, {L"$A\\2_1_0_0.pvdict.dat", {}, 1, true},
               {L"$S\\ro.pvdict", {2}, 0, true}},
     .expectFiles = {{L"$A\\2_1_0_0.pvdict", {2}}, {L"$A\\2_1_0_0.pvdict.dat", {}, 1, true},
                     {L"$S\\ro.pvdict", {2}, 0, true}}},
    {.name = "IndexOverTheQuotaFails", .args = {L"-silent", L"$S\\q.pvdict"},
     .files = {{L"$U\\pvdictindex.dat", {}, 268435456}, {L"$S\\q.pvdict", {2}}}, .exitCode = 1,
     .absent = {L"$A\\2_1_0_0.pvdict"}},
    {.name = "IndexHeldOpenCountsAsEmpty", .args = {L"-silent", L"$S\\q.pvdict"},
     .files = {{L"$U\\pvdictindex.dat", {}, 268435456, false, true}, {L"$S\\q.pvdict", {2}}},
     .expectFiles = {{L"$A\\2_1_0_0.pvdict", {2}}}},
    {.name = "MissingFoldersAreMade", .args = {L"-silent", L"$S\\f.pvdict"},
     .settings = {{L"/Common/accountDataDir", L"$R\\deep\\er\\account"}}, .files = {{L"$S\\f.pvdict", {2}}},
     .expectFiles = {{L"$R\\deep\\er\\account\\dict\\2_1_0_0.pvdict", {2}}}},
    {.name = "FolderBelowAFileFails", .args = {L"-silent", L"$S\\f.pvdict"},
     .settings = {{L"/Common/accountDataDir", L"$R\\blocker\\account"}},
     .files = {{L"$R\\blocker"}, {L"$S\\f.pvdict", {2}}}, .exitCode = 1,
     .expectSettings = {{L"/Dict/InstalledDict", L"<absent>"}}},
    {.name = "StoredFileHeldOpenFailsAndKeepsTheLists", .args = {L"-silent", L"$S\\h.pvdict"},
     .settings = {{L"/Dict/InstalledDict", L"other.pvdict;"}},
     .files = {{kHeld, {}, 1, false, true}, {L"$S\\h.pvdict", {2}}}, .exitCode = 1,
     .expectSettings = {{L"/Dict/InstalledDict", L"other.pvdict;"}}, .expectFiles = {{kHeld}},
     .log = {L"40 lexinst error replacing old dict file(32): " + kHeld}},
    {.name = "ObsoleteFileHeldOpenIsLoggedAndStays", .args = {L"-silent", L"$S\\h.pvdict"},
     .settings = {{L"/Dict/InstalledDict", L"2_1_0_0.pvdict;"}},
     .files = {{kHeld, {}, 1, false, true}, {L"$S\\h.pvdict", {2, 2}}},
     .expectSettings = {{L"/Dict/InstalledDict", L"2_2_0_0.pvdict;"}},
     .expectFiles = {{kHeld}, {L"$A\\2_2_0_0.pvdict", {2, 2}}},
     .log = {L"40 lexinst error removing obsolete dict file(32): " + kHeld}},
    {.name = "ValueOptionLastFailsTheParse", .args = {L"-silent", L"$S\\d.pvdict", L"-sourcedir"},
     .files = {{L"$S\\d.pvdict", {3}}}, .exitCode = 1,
     .expectSettings = {{L"/Dict/InstalledDict", L"<absent>"}}, .log = {L"!"}},
    {.name = "WithoutTheLoggingLibraryNothingIsLogged", .args = {L"-silent", L"$S\\d.pvdict"},
     .files = {{L"$S\\d.pvdict", {3}}}, .expectSettings = {{L"/Dict/InstalledDict", L"3_1_0_0.pvdict;"}},
     .log = {L"!"}, .program = Program::NoPvxlog},
    {.name = "WithoutTheSettingsStoreInstallFails", .args = {L"-silent", L"$S\\d.pvdict"},
     .settings = {{L"/Dict/InstalledDict", L"1_1_0_0.pvdict;"}}, .files = {{L"$S\\d.pvdict", {3}}}, .exitCode = 1,
     .expectSettings = {{L"/Dict/InstalledDict", L"1_1_0_0.pvdict;"}}, .absent = {L"$R\\account"},
     .log = {L"!Successfully installed"}, .program = Program::NoSetvault},
    {.name = "WithoutTheSettingsStoreDeleteFails", .args = {L"-delete", L"7_"}, .settings = kListed,
     .files = kListedFiles, .expectSettings = kListed, .expectFiles = kListedFiles, .program = Program::NoSetvault},
    {.name = "ComponentsBesideTheProgramComeFirst", .args = {L"-silent", L"$S\\d.pvdict"},
     .files = {{L"$S\\d.pvdict", {3}}}, .expectFiles = {{L"$A\\3_1_0_0.pvdict", {3}}},
     .program = Program::ElsewhereIme},
    {.name = "DeleteTakesEveryNameHoldingTheText", .args = {L"-silent", L"-delete", L"12_1_0_0.pvdict"},
     .settings = kListed, .files = kListedFiles, .exitCode = 1,
     .expectSettings = {{L"/Dict/InstalledDict", L"7_1_0_0.pvdict;"}, {L"/Dict/ActiveDict", L"9_1_0_0.pvdict;"}},
     .expectFiles = {{L"$A\\7_1_0_0.pvdict"}, {L"$A\\9_1_0_0.pvdict"}, {L"$U\\dict\\7_1_0_0.pvdict"}},
     .absent = {L"$A\\12_1_0_0.pvdict", L"$A\\112_1_0_0.pvdict"}, .log = {L"!"}},
    {.name = "DeleteOfAnActiveOnlyNameKeepsItsFile", .args = {L"-delete", L"9_"}, .settings = kListed,
     .files = kListedFiles, .exitCode = 1,
     .expectSettings = {{L"/Dict/InstalledDict", L"112_1_0_0.pvdict;12_1_0_0.pvdict;7_1_0_0.pvdict;"},
                        {L"/Dict/ActiveDict", L"12_1_0_0.pvdict;"}},
     .expectFiles = kListedFiles},
    {.name = "DeleteOfAnEmptyTextSelectsNothing", .args = {L"-delete", L""}, .settings = kListed,
     .files = kListedFiles, .exitCode = 1,
     .expectSettings = {{L"/Dict/ActiveDict", L"12_1_0_0.pvdict;9_1_0_0.pvdict;"}}, .expectFiles = kListedFiles},
    {.name = "DeleteLooksInThePerUserFolderWithoutAnAccount", .args = {L"-delete", L"7_1_0_0"},
     .settings = {kListed[0], kListed[1], {L"/Common/accountDataDir", L"<absent>"}}, .files = kListedFiles,
     .exitCode = 1,
     .expectSettings = {{L"/Dict/InstalledDict", L"112_1_0_0.pvdict;12_1_0_0.pvdict;"}},
     .expectFiles = {{L"$A\\7_1_0_0.pvdict"}}, .absent = {L"$U\\dict\\7_1_0_0.pvdict"}},
};

class Scenarios : public EngineE2eTest, public testing::WithParamInterface<Scenario> {
protected:
    std::wstring Expand(std::wstring text) const
    {
        const std::pair<const wchar_t*, std::wstring> folders[] = {
            {L"$R", Root()}, {L"$S", SourceDir()}, {L"$A", Root() + L"\\account\\dict"}, {L"$D", Root() + L"\\data"},
            {L"$U", UserDataDir()}};
        for (const auto& [mark, folder] : folders) {
            for (std::size_t at = text.find(mark); at != std::wstring::npos; at = text.find(mark, at + folder.size()))
                text.replace(at, 2, folder);
        }
        return text;
    }
    static ByteVector BytesOf(const File& file)
    {
        const Dict& d = file.dict;
        return d.id ? MakeDict(d.id, d.major, d.minor, d.build, d.level) : ByteVector(file.zeros, 0);
    }
    // Makes the file and returns it opened without sharing when the row asks so.
    win::UniqueFile Make(const File& file) const
    {
        const std::wstring path = Expand(file.path);
        ::SHCreateDirectoryExW(nullptr, path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
        EXPECT_TRUE(file.dict.id ? WriteFileBytes(path, BytesOf(file)) : WriteZeroFile(path, file.zeros)) << file.path;
        if (file.readOnly)
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
        if (!file.heldOpen)
            return {};
        return win::UniqueFile(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    }
    // The program to run: lexinst.exe beside this program, or a copy with some components.
    std::wstring ProgramFor(Program program) const
    {
        if (program == Program::Beside)
            return LexinstPath();
        std::vector<std::wstring> dlls = {kSetvaultDll, kNotehubDll, kPvxlogDll};
        std::erase(dlls, program == Program::NoSetvault ? kSetvaultDll
                         : program == Program::NoPvxlog ? kPvxlogDll
                                                        : L"");
        ::CreateDirectoryW((Root() + L"\\program").c_str(), nullptr);
        return CopyLexinst(Root() + L"\\program", dlls);
    }
};

TEST_P(Scenarios, Run)
{
    const Scenario& row = GetParam();
    for (const auto& [key, value] : row.settings) {
        if (value == L"<absent>")
            DeleteSetting(key);
        else
            SetSetting(key, Expand(value));
    }
    std::vector<win::UniqueFile> held;
    for (const File& file : row.files)
        held.push_back(Make(file));
    // An input method folder elsewhere, with none of the components in it.
    std::optional<ScopedRegValue> imeFolder;
    if (row.program == Program::ElsewhereIme) {
        Make({L"$R\\ime\\PelvoPinyin.exe"});
        imeFolder.emplace(HKEY_LOCAL_MACHINE, kImeRegKey, L"exePath", Expand(L"$R\\ime"));
    }
    const std::wstring exe = ProgramFor(row.program);
    ASSERT_FALSE(exe.empty());
    std::wstring args;
    for (const std::wstring& arg : row.args)
        args += QuoteArg(Expand(arg)) + L" ";
    const RunResult run = e2e::Run(exe, args);
    held.clear();

    EXPECT_EQ(run.exitCode, row.exitCode);
    for (const auto& [key, value] : row.expectSettings)
        EXPECT_EQ(Setting(key), Expand(value)) << ToUtf8(key);
    for (const File& file : row.expectFiles) {
        const std::wstring path = Expand(file.path);
        EXPECT_EQ(ReadFileBytes(path), BytesOf(file)) << ToUtf8(file.path);
        EXPECT_EQ((::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY) != 0, file.readOnly)
            << ToUtf8(file.path);
    }
    for (const std::wstring& path : row.absent)
        EXPECT_FALSE(FileExists(Expand(path))) << ToUtf8(path);
    EXPECT_TRUE(ListFolder(AccountDictDir(), L"tmp*.tmp").empty());
    const std::vector<std::wstring> log = LogOf(run.pid);
    for (const std::wstring& line : row.log) {
        if (line.starts_with(L"!")) {
            for (const std::wstring& written : log)
                EXPECT_EQ(written.find(Expand(line.substr(1))), std::wstring::npos) << ToUtf8(written);
        } else {
            EXPECT_TRUE(HasLine(log, Expand(line))) << ToUtf8(line);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Scenarios, testing::ValuesIn(kScenarios),
                         [](const testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

TEST_F(EngineE2eTest, FileTypeRegistration)
{
    const std::wstring cls = L"PelvoImeDictFile", type = L"MIME\\Database\\Content Type\\application/PelvoImeDict";
    const auto clear = [&] {
        for (const wchar_t* key : {L".pvdict", cls.c_str(), type.c_str(), L".pcd", L"PvImeFile"})
            DeleteRegTree(HKEY_CLASSES_ROOT, key, 0);
    };
    clear();
    SetRegString(HKEY_CLASSES_ROOT, L".pcd", L"", L"PvImeFile", REG_SZ, 0);
    SetRegString(HKEY_CLASSES_ROOT, L"PvImeFile\\Shell\\Open\\Command", L"", L"other.exe \"%1\"", REG_SZ, 0);
    const std::wstring exe = CopyLexinst(Root(), {});  // a path with a space
    ASSERT_FALSE(exe.empty());
    const std::tuple<std::wstring, const wchar_t*, std::wstring> entries[] = {
        {L".pvdict", L"", cls},
        {cls, L"", L"Pelvo输入法分类词库"},
        {cls + L"\\DefaultIcon", L"", exe + L",0"},
        {cls + L"\\Shell", L"", L"Open"},
        {cls + L"\\Shell\\Open", L"", L"安装到Pelvo输入法(&I)"},
        {cls + L"\\Shell\\Open\\Command", L"", exe + L" \"%1\""},
        {type, L"Extension", L".pvdict"},
    };
    const struct { const char* what; std::wstring args; int exitCode; bool registered, legacy; } steps[] = {
        {"a line that cannot be parsed", L"-reg -dest", 1, false, true},
        {"-reg", L"-reg", 0, true, false},
        {"-reg again, a path ignored", L"-reg C:\\no\\such.pvdict", 0, true, false},
        {"-unreg wins over -reg", L"-reg -unreg", 0, false, false},
        {"-unreg with nothing registered", L"-unreg", 0, false, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_EQ(e2e::Run(exe, step.args).exitCode, step.exitCode);
        for (const auto& [key, name, data] : entries) {
            EXPECT_EQ(GetRegString(HKEY_CLASSES_ROOT, key, name, 0),
                      step.registered ? std::optional(data) : std::nullopt) << ToUtf8(key);
        }
        EXPECT_EQ(GetRegString(HKEY_CLASSES_ROOT, L".pcd", L"", 0).has_value(), step.legacy);
        EXPECT_EQ(GetRegString(HKEY_CLASSES_ROOT, L"PvImeFile\\Shell\\Open\\Command", L"", 0).has_value(),
                  step.legacy);
    }
    clear();
}

TEST_F(EngineE2eTest, EightSilentInstallersAtOnceLoseNothing)
{
    std::vector<Process> processes;
    std::wstring expected;  // ids 1000 to 1705 sort as their stored names do
    for (uint32_t p = 0; p < 8; ++p) {
        std::wstring args = L"-silent -sourcedir " + QuoteArg(SourceDir());
        for (uint32_t i = 0; i < 6; ++i) {
            const uint32_t id = 1000 + p * 100 + i;
            WriteSource(std::to_wstring(id) + L".pvdict", MakeDict(id, 1, p, i));
            args += L" " + std::to_wstring(id) + L".pvdict";
            expected += StoredName(id, 1, p, i) + L";";
        }
        processes.push_back(Start(LexinstPath(), args));
    }
    for (Process& process : processes)
        EXPECT_EQ(process.Wait(), 0);
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), expected);
    EXPECT_EQ(Setting(L"/Dict/ActiveDict"), expected);
    for (uint32_t id = 1000; id < 1800; id += id % 100 == 5 ? 95 : 1) {
        SCOPED_TRACE(id);
        const uint32_t p = id / 100 - 10, i = id % 100;
        EXPECT_EQ(ReadFileBytes(AccountDictDir() + StoredName(id, 1, p, i)), MakeDict(id, 1, p, i));
    }
    EXPECT_EQ(ListFolder(AccountDictDir()).size(), 48u) << "nothing else is left in the folder";
}

constexpr const char* kHoldLockFlag = "--hold-install-lock";

TEST_F(EngineE2eTest, KilledLockHolderDoesNotBlockTheNextInstaller)
{
    const std::wstring event = L"lexinst-e2e-lock-" + std::to_wstring(::GetCurrentProcessId());
    win::UniqueHandle ready(::CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    Process holder = Start(self, L"--hold-install-lock " + event);
    ASSERT_EQ(::WaitForSingleObject(ready.Get(), 30000), WAIT_OBJECT_0);

    Process waiting = Start(LexinstPath(), L"-silent " + QuoteArg(WriteSource(L"d.pvdict", MakeDict(55, 1, 0, 0))));
    EXPECT_EQ(::WaitForSingleObject(waiting.Handle(), 8000), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the installer waits while another process holds the lock";
    ::TerminateProcess(holder.Handle(), 9);
    holder.Wait();
    EXPECT_EQ(waiting.Wait(), 0);
    EXPECT_EQ(Setting(L"/Dict/InstalledDict"), L"55_1_0_0.pvdict;");
}

// Started with kHoldLockFlag EVENT: takes the install lock by its name, signals
// EVENT and waits to be killed.
int HoldInstallLock(const char* eventName)
{
    win::UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, L"PELVO_PINYIN_DICT_INSTALL_MUTEX"));
    win::UniqueHandle ready(::OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName));
    if (!mutex || !ready || ::WaitForSingleObject(mutex.Get(), 30000) != WAIT_OBJECT_0)
        return 2;
    ::SetEvent(ready.Get());
    ::Sleep(INFINITE);
    return 0;
}

}  // namespace
}  // namespace e2e

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], e2e::kHoldLockFlag) == 0)
        return e2e::HoldInstallLock(argv[2]);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
