// Installs and removals lose nothing: many processes on one account at once, and
// runs of lexinst_killable.exe ended at every named step, then run again.
#include "installer/KillPoint.h"
#include "support/EngineE2eFixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>

namespace e2e {
namespace {

using Files = std::map<std::wstring, ByteVector>;  // names with their bytes; a list's names have none

Files Split(const std::wstring& list)
{
    Files names;
    std::wistringstream in(list);
    for (std::wstring name; std::getline(in, name, L';');)
        names[name];
    return names;
}

std::optional<ByteVector> Find(const Files& files, const std::wstring& name)
{
    return files.count(name) ? std::optional(files.at(name)) : std::nullopt;
}

struct State {
    Files installed, active, files;         // the two lists and the stored dictionaries
    std::size_t tmpFiles = 0, records = 0;  // tmp*.tmp, and lexinst.pending with its staging name
};

// "installed", "active" and "file", each followed by the " +added", " -gone" and
// " ~changed" names of `now` against `base`, when there are any.
std::wstring Diff(const State& now, const State& base)
{
    std::wstring text;
    for (const auto& [what, part] : {std::pair{L"installed", &State::installed}, std::pair{L"active", &State::active},
                                     std::pair{L"file", &State::files}}) {
        std::wstring changes;
        for (const auto& [name, bytes] : now.*part)
            changes += !(base.*part).count(name) ? L" +" + name : (base.*part).at(name) != bytes ? L" ~" + name : L"";
        for (const auto& entry : base.*part)
            changes += (now.*part).count(entry.first) ? L"" : L" -" + entry.first;
        text += changes.empty() ? changes : what + changes + L";";
    }
    return text;
}

// Every listed name has its file (as every one has before the run), and every file
// is as before the run or as after an uninterrupted one: none torn, lost or stray.
void ExpectNothingLost(const State& before, const State& killed, const State& uninterrupted)
{
    for (const Files* list : {&killed.installed, &killed.active})
        for (const auto& entry : *list)
            EXPECT_TRUE(killed.files.count(entry.first)) << "listed, file missing: " << ToUtf8(entry.first);
    for (const State* state : {&before, &killed, &uninterrupted})
        for (const auto& [name, bytes] : state->files)
            EXPECT_TRUE(Find(killed.files, name) == Find(before.files, name) ||
                        Find(killed.files, name) == Find(uninterrupted.files, name))
                << "torn, lost or stray: " << ToUtf8(name);
}

class RobustTest : public EngineE2eTest {
protected:
    State Capture() const
    {
        State state{Split(Setting(L"/Dict/InstalledDict")), Split(Setting(L"/Dict/ActiveDict")), {}, 0};
        for (const std::wstring& name : ListFolder(AccountDictDir(), L"*.pvdict"))
            state.files[name] = ReadBytes(AccountDictDir() + name).value_or(ByteVector{});
        state.tmpFiles = ListFolder(AccountDictDir(), L"tmp*.tmp").size();
        state.records = ListFolder(AccountDictDir(), L"lexinst.pending*").size();
        return state;
    }
    bool HasLine(const std::wstring& line) const
    {
        const std::vector<std::wstring> log = ReadLog(LogPath());
        return std::find(log.begin(), log.end(), line) != log.end();
    }
    // Stores the files and appends their names to both lists.
    void AddListed(const Files& files) const
    {
        std::wstring names;
        for (const auto& [name, bytes] : files) {
            names += name + L";";
            WriteBytes(AccountDictDir() + name, bytes);
        }
        for (const wchar_t* key : {L"/Dict/InstalledDict", L"/Dict/ActiveDict"})
            SetSetting(key, Setting(key) + names);
    }
    // Installed and active: 31, 32 and 33 in version 1. 31 v2 is active only, with a
    // stored file that the single install replaces: the one way a silent install
    // overwrites the file of a listed name.
    void Prepare() const
    {
        MakeAccountDictDir();
        for (const std::wstring& name : ListFolder(AccountDictDir(), L"*"))
            ::DeleteFileW((AccountDictDir() + name).c_str());
        WriteBytes(AccountDictDir() + StoredName(31, 2, 0, 0), {7, 7, 7});
        SetSetting(L"/Dict/InstalledDict", L"");
        SetSetting(L"/Dict/ActiveDict", StoredName(31, 2, 0, 0) + L";");
        AddListed({{StoredName(31, 1, 0, 0), MakeDict(31, 1, 0, 0)},
                   {StoredName(32, 1, 0, 0), MakeDict(32, 1, 0, 0)},
                   {StoredName(33, 1, 0, 0), MakeDict(33, 1, 0, 0)}});
    }
};

TEST_F(RobustTest, KilledAtEveryStepLosesNothing)
{
    // clang-format off
    struct Command { const char* name; std::wstring args; int success; State uninterrupted; } commands[] = {
        {"single", L"-silent " + QuoteArgument(WriteSource(L"a.pvdict", MakeDict(31, 2, 0, 0))), 0, {}},
        {"batch", L"-silent " + QuoteArgument(WriteSource(L"b.pvdict", MakeDict(32, 2, 0, 0))) + L" " +
                      QuoteArgument(WriteSource(L"c.pvdict", MakeDict(34, 1, 0, 0))), 0, {}},
        {"removal", L"-delete 33_1_0_0", 1, {}},
    };
    // clang-format on
    for (Command& command : commands) {
        Prepare();
        ASSERT_EQ(e2e::Run(LexinstPath(), command.args), command.success) << command.name;
        command.uninterrupted = Capture();
        EXPECT_EQ(command.uninterrupted.tmpFiles + command.uninterrupted.records, 0u) << command.name;
    }
    // Every kill, then the rerun of the same command, ends as the uninterrupted run
    // did: the rerun first completes what the record says the killed run had left.
    // With `then`, the completion itself is killed there once more before the rerun.
    const struct {
        const char* step;
        int command;
        const char* then = nullptr;
    } rows[] = {
        {"copied", 0},
        {"replaced", 0},
        {"record-staged", 0},
        {"work-recorded", 0},
        {"installed-written", 0},
        {"lists-written", 0},
        {"installed-written", 0, "completion-installed-written"},
        {"lists-written", 0, "completion-lists-written"},
        {"copied", 1},
        {"replaced", 1},
        {"record-staged", 1},
        {"work-recorded", 1},
        {"installed-written", 1},
        {"lists-written", 1},
        {"installed-written", 1, "completion-installed-written"},
        {"record-staged", 2},
        {"removal-installed-written", 2},
        {"removal-lists-written", 2},
        {"removal-installed-written", 2, "completion-lists-written"},
    };
    const auto print = [](auto... columns) { std::printf("%-26s %-7s %-28s | %-50s | %s\n", columns...); };
    print("step", "command", "then, in the completion", "after kill, against before", "after rerun");
    for (const auto& row : rows) {
        const Command& command = commands[row.command];
        SCOPED_TRACE(std::string(row.step) + " / " + command.name + " / " + (row.then ? row.then : "-"));
        Prepare();
        const State before = Capture();
        for (const char* step : {row.step, row.then}) {
            if (!step)
                continue;
            ::SetEnvironmentVariableA("LEXINST_KILL_AT", step);  // read by lexinst_killable.exe only
            EXPECT_EQ(e2e::Run(BinDir() + L"\\lexinst_killable.exe", command.args), static_cast<int>(kKilledExitCode))
                << step << " is reached";
        }
        const State killed = Capture();
        ExpectNothingLost(before, killed, command.uninterrupted);

        const bool recorded = killed.records > 0;
        ::DeleteFileW(LogPath().c_str());  // the rerun's lines alone
        EXPECT_EQ(e2e::Run(LexinstPath(), command.args), command.success);
        EXPECT_EQ(HasLine(L"20 lexinst Completed an interrupted command."), recorded);
        const State rerun = Capture();
        EXPECT_EQ(Diff(rerun, command.uninterrupted), L"");
        EXPECT_EQ(rerun.tmpFiles + rerun.records, 0u) << "no temporary file and no record is left";
        const std::wstring killedState = Diff(killed, before) + L" tmp " + std::to_wstring(killed.tmpFiles) +
                                         L" record " + std::to_wstring(killed.records);
        print(row.step, command.name, row.then ? row.then : "", ToUtf8(killedState).c_str(),
              Diff(rerun, command.uninterrupted).empty() ? "as uninterrupted" : "DIFFERS");
    }
}

// An exception that stops a command fails it, with the command's own failure code.
TEST_F(RobustTest, ExceptionFailsTheCommand)
{
    const struct {
        const char* step;
        std::wstring args;
        int exitCode;
    } rows[] = {
        {"removal-installed-written", L"-delete 33_1_0_0", 0},
        {"copied", L"-silent " + QuoteArgument(WriteSource(L"t.pvdict", MakeDict(36, 1, 0, 0))), 1},
    };
    ::SetEnvironmentVariableA("LEXINST_KILL_AT", nullptr);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.step);
        Prepare();
        ::SetEnvironmentVariableA("LEXINST_THROW_AT", row.step);  // read by lexinst_killable.exe only
        EXPECT_EQ(e2e::Run(BinDir() + L"\\lexinst_killable.exe", row.args), row.exitCode);
        ::SetEnvironmentVariableA("LEXINST_THROW_AT", nullptr);
    }
}

// A record that cannot be read is kept aside and logged; the command then runs.
TEST_F(RobustTest, UnreadableRecordIsKeptAside)
{
    Prepare();
    const ByteVector garbage = {'n', 'o', 't', ' ', 'a', ' ', 'r', 'e', 'c', 'o', 'r', 'd'};
    WriteBytes(AccountDictDir() + L"lexinst.pending", garbage);
    EXPECT_EQ(e2e::Run(LexinstPath(), L"-silent " + QuoteArgument(WriteSource(L"d.pvdict", MakeDict(35, 1, 0, 0)))), 0);
    EXPECT_EQ(ReadBytes(AccountDictDir() + L"lexinst.pending.unreadable"), garbage);
    EXPECT_TRUE(Capture().installed.count(StoredName(35, 1, 0, 0)));
    EXPECT_EQ(Capture().records, 1u) << "only the one kept aside";
    EXPECT_TRUE(HasLine(L"40 lexinst Kept an unreadable record of an interrupted command aside: " + AccountDictDir() +
                        L"lexinst.pending.unreadable"));
}

// Removals of listed names and installs of one or two files, all started together.
// 24 processes, 3 repetitions; with LEXINST_ROBUST_FULL set, 32 and 20.
TEST_F(RobustTest, OverlappingInstallsAndRemovalsLoseNothing)
{
    const bool full = std::getenv("LEXINST_ROBUST_FULL") != nullptr;
    const int processes = full ? 32 : 24, repetitions = full ? 20 : 3;
    Prepare();
    Files kept = Capture().files;         // listed names that nobody removes, with their bytes
    kept.erase(StoredName(31, 2, 0, 0));  // active only
    std::size_t checked = 0, lost = 0;
    for (int rep = 0; rep < repetitions; ++rep) {
        // Odd processes remove, even ones install; every fourth installs two files.
        std::vector<Files> touched(processes);
        std::vector<std::wstring> args(processes);
        for (int i = 0; i < processes; ++i) {
            const uint32_t first = 100000 + rep * 1000 + i;
            for (uint32_t id = first; id <= first + (i % 4 ? 0 : 500); id += 500) {
                const std::wstring name = StoredName(id, 1, 0, 0);
                const ByteVector& bytes = touched[i][name] = MakeDict(id, 1, 0, 0);
                args[i] += L" " + (i % 2 ? name : QuoteArgument(WriteSource(name, bytes)));
            }
            if (i % 2)
                AddListed(touched[i]);
        }
        std::vector<Process> running;
        for (int i = 0; i < processes; ++i)
            running.push_back(Start(LexinstPath(), (i % 2 ? L"-delete" : L"-silent") + args[i]));
        std::vector<int> exits;
        for (Process& process : running)
            exits.push_back(process.Wait(300000));

        const State state = Capture();
        const auto expect = [&](bool ok, const std::wstring& name) {
            ++checked;
            lost += ok ? 0 : 1;
            EXPECT_TRUE(ok) << "repetition " << rep << ": " << ToUtf8(name);
            return ok;
        };
        const auto listedAs = [&](const std::wstring& name, const ByteVector& bytes) {
            return state.installed.count(name) && state.active.count(name) && Find(state.files, name) == bytes;
        };
        std::erase_if(kept,
                      [&](const auto& entry) { return !expect(listedAs(entry.first, entry.second), entry.first); });
        for (int i = 0; i < processes; ++i) {
            for (const auto& [name, bytes] : touched[i]) {
                if (i % 2)
                    expect(exits[i] == 1 && !state.installed.count(name) && !state.active.count(name) &&
                               !state.files.count(name),
                           name);
                else if (expect(exits[i] == 0 && listedAs(name, bytes), name))
                    kept[name] = bytes;  // a lost name is counted once
            }
        }
        EXPECT_EQ(state.tmpFiles, 0u) << "repetition " << rep;
    }
    std::printf("stress: %d processes, %d repetitions, %zu entries checked, %zu entries lost\n", processes, repetitions,
                checked, lost);
}

}  // namespace
}  // namespace e2e
