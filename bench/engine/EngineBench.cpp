// Engine benchmarks under Wine. The settings store is the stand-in beside the
// program, so the list figures include its registry reads and writes.
#include "support/DictBytes.h"
#include "support/E2eSupport.h"

#include "core/DictListRules.h"
#include "core/SimpleOptParser.h"
#include "host/ConfigStore.h"
#include "host/ImeLocations.h"
#include "host/XLog.h"
#include "installer/CellDictInstaller.h"
#include "installer/DictCapacity.h"
#include "installer/DictFolders.h"
#include "installer/DictListStore.h"
#include "installer/EngineOptions.h"
#include "installer/StoredFiles.h"

#include <benchmark/benchmark.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBatchFiles = 1000;
constexpr int kListedBefore = 10000;

ByteVector SmallDict(uint32_t id)
{
    DictBytes dict;
    dict.Name(u"bench").Identity(id, 1, 0, 0);
    for (int i = 0; i < 20; ++i)
        dict.Word(u"词语测试");
    return dict.Bytes();
}

std::wstring ListOfNames(int count, int firstId, int minor = 0)
{
    std::wstring text;
    for (int i = 0; i < count; ++i)
        text += std::to_wstring(firstId + i) + L"_1_" + std::to_wstring(minor) + L"_0.pvdict;";
    return text;
}

// A throw-away account with the settings pointed into it.
struct Account {
    Account()
    {
        static const bool broughtUp = (BringUpConfigComponent(), true);
        (void)broughtUp;
        root = std::make_unique<ScratchDir>(L"bench");
        ::CreateDirectoryW(Source().c_str(), nullptr);
        appData = std::make_unique<e2e::ScopedRegValue>(HKEY_CURRENT_USER, e2e::kImeRegKey, L"AppData",
                                                        root->Path().wstring() + L"\\user");
        e2e::ClearSettings();
        e2e::SetSetting(L"/Common/accountDataDir", root->Path().wstring() + L"\\account");
    }
    ~Account() { e2e::ClearSettings(); }
    std::wstring Source() const { return root->Path().wstring() + L"\\src"; }
    std::wstring DictDir() const { return root->Path().wstring() + L"\\account\\dict\\"; }

    std::unique_ptr<ScratchDir> root;
    std::unique_ptr<e2e::ScopedRegValue> appData;
};

struct BatchSetup : Account {
    BatchSetup()
    {
        for (int i = 0; i < kBatchFiles; ++i) {
            names.push_back(std::to_wstring(500000 + i) + L".pvdict");
            WriteBytes(Source() + L"\\" + names.back(), SmallDict(500000 + i));
        }
    }
    // The account as it was before the batch: 10,000 listed, none of the batch stored.
    void Reset() const
    {
        e2e::SetSetting(L"/Dict/InstalledDict", ListOfNames(kListedBefore, 1));
        e2e::SetSetting(L"/Dict/ActiveDict", ListOfNames(kListedBefore, 1));
        for (const std::wstring& name : e2e::ListFolder(DictDir(), L"5*.pvdict"))
            ::DeleteFileW((DictDir() + name).c_str());
    }
    std::vector<std::wstring> names;
};

void BM_CopyFileW(benchmark::State& state)
{
    BatchSetup setup;
    const std::wstring target = setup.root->Path().wstring() + L"\\copies\\";
    ::CreateDirectoryW(target.c_str(), nullptr);
    for (auto _ : state) {
        for (const std::wstring& name : setup.names)
            ::CopyFileW((setup.Source() + L"\\" + name).c_str(), (target + name).c_str(), FALSE);
    }
}
BENCHMARK(BM_CopyFileW)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor of a crash-safe batch: each file copied to a temporary name beside
// its place, flushed, and renamed over it with write-through.
void BM_CrashSafeCopy(benchmark::State& state)
{
    BatchSetup setup;
    const std::wstring target = setup.root->Path().wstring() + L"\\copies\\";
    ::CreateDirectoryW(target.c_str(), nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        for (const std::wstring& name : setup.names)
            ::DeleteFileW((target + name).c_str());
        state.ResumeTiming();
        for (const std::wstring& name : setup.names) {
            wchar_t tmp[MAX_PATH] = {};
            ::GetTempFileNameW(target.c_str(), L"tmp", 0, tmp);
            ::CopyFileW((setup.Source() + L"\\" + name).c_str(), tmp, FALSE);
            ::FlushFileBuffers(
                win::UniqueFile(::CreateFileW(tmp, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr))
                    .Get());
            if (!::MoveFileExW(tmp, (target + name).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return state.SkipWithError("a rename failed");
        }
    }
}
BENCHMARK(BM_CrashSafeCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BatchInstallInProcess(benchmark::State& state)
{
    BatchSetup setup;
    SimpleOptParser parser(EngineOptionSpec());
    if (!parser.Parse(L"-silent -sourcedir " + QuoteArgument(setup.Source())))
        return state.SkipWithError("the command line does not parse");
    const EngineOptions options = EngineOptions::Read(parser.options);
    for (auto _ : state) {
        state.PauseTiming();
        setup.Reset();
        state.ResumeTiming();
        CellDictInstaller engine;
        if (!engine.BatchInstall(setup.names, options))
            state.SkipWithError("batch failed");
    }
}
BENCHMARK(BM_BatchInstallInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BatchInstallLexinstExe(benchmark::State& state)
{
    BatchSetup setup;
    std::wstring args = L"-silent -sourcedir " + QuoteArgument(setup.Source());
    for (const std::wstring& name : setup.names)
        args += L" " + name;
    for (auto _ : state) {
        state.PauseTiming();
        setup.Reset();
        state.ResumeTiming();
        if (e2e::Run(e2e::LexinstPath(), args, 600000) != 0)
            state.SkipWithError("lexinst.exe failed");
    }
}
BENCHMARK(BM_BatchInstallLexinstExe)->Unit(benchmark::kMillisecond)->UseRealTime();

// The fixed cost of a run: process start, host components and logging, an empty batch.
void BM_LexinstExeNoFiles(benchmark::State& state)
{
    Account account;
    for (auto _ : state) {
        if (e2e::Run(e2e::LexinstPath(), L"-silent", 60000) != 0)
            state.SkipWithError("lexinst.exe failed");
    }
}
BENCHMARK(BM_LexinstExeNoFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// The per-file steps of a batch, to see where its time goes.
void BM_StepGetDictIndexSize(benchmark::State& state)
{
    Account account;
    const std::wstring index = UserDataFolder(true) + L"\\pvdictindex.dat";
    for (auto _ : state)
        benchmark::DoNotOptimize(GetDictIndexSize(index));
}
BENCHMARK(BM_StepGetDictIndexSize)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A name that is not there, in a folder of n files: Wine looks for it without
// regard to case by reading the whole folder.
void BM_StepMissingName(benchmark::State& state)
{
    Account account;
    const std::wstring dir = account.Source() + L"\\";
    for (int i = 0; i < state.range(0); ++i)
        WriteBytes(dir + std::to_wstring(500000 + i) + L"_1_0_0.pvdict", {});
    const std::wstring missing = dir + L"1_1_0_0.pvdict.dat";
    for (auto _ : state)
        benchmark::DoNotOptimize(::GetFileAttributesW(missing.c_str()));
}
BENCHMARK(BM_StepMissingName)->Arg(0)->Arg(500)->Unit(benchmark::kMicrosecond)->UseRealTime();

// One log line through the logging library, as every installed file writes one.
void BM_StepLogLine(benchmark::State& state)
{
    for (auto _ : state)
        XLog(kLogTrace, kFuncTag, L"FUNCTION: %s(destPath.c_str()=%s)", L"CellDictInstaller::InstallDictFile",
             L"C:\\users\\someone\\dict\\500000_1_0_0.pvdict");
}
BENCHMARK(BM_StepLogLine)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_StepTempFile(benchmark::State& state)
{
    Account account;
    const std::wstring dir = account.Source() + L"\\";
    for (auto _ : state)
        DeleteFileIfPresent(MakeTempFilePath(dir));
}
BENCHMARK(BM_StepTempFile)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_StepLoad(benchmark::State& state)
{
    Account account;
    const std::wstring path = account.Source() + L"\\one.pvdict";
    WriteBytes(path, SmallDict(1));
    CellDictFile file;
    for (auto _ : state)
        benchmark::DoNotOptimize(file.Load(path, true));
}
BENCHMARK(BM_StepLoad)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_StepInstallDictFile(benchmark::State& state)
{
    Account account;
    const std::wstring src = account.Source() + L"\\one.pvdict";
    WriteBytes(src, SmallDict(1));
    const std::wstring dir = account.root->Path().wstring() + L"\\";
    for (auto _ : state) {
        if (!InstallDictFile(src, dir + L"stored.pvdict", MakeTempFilePath(dir)))
            return state.SkipWithError("the copy failed");
    }
}
BENCHMARK(BM_StepInstallDictFile)->Unit(benchmark::kMicrosecond)->UseRealTime();

// One new version of a listed dictionary into lists of n names; the ordered list
// holds n/10 names. Alternating versions keep every iteration a real replacement.
void BM_UpdateDictLists(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Account account;
    e2e::SetSetting(L"/Dict/InstalledDict", ListOfNames(n, 1));
    e2e::SetSetting(L"/Dict/ActiveDict", ListOfNames(n, 1));
    e2e::SetSetting(L"/Dict/OrderedDict", ListOfNames(n / 10, 2 * n, 7));
    int round = 0;
    for (auto _ : state) {
        const std::wstring name = std::to_wstring(n / 2) + L"_1_" + std::to_wstring(1 + round++ % 2) + L"_0.pvdict";
        if (!UpdateDictLists({name}, true))
            state.SkipWithError("no settings store");
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_UpdateDictLists)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Complexity(benchmark::oNLogN);

// The same update on in-memory lists: the rules without the store.
void BM_UpdateRulesInMemory(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::wstring installedText = ListOfNames(n, 1);
    const std::wstring orderedText = ListOfNames(n / 10, 2 * n, 7);
    const std::vector<std::wstring> names = {std::to_wstring(n / 2) + L"_1_1_0.pvdict"};
    for (auto _ : state) {
        DictList installed;
        installed.Parse(installedText);
        DictList active;
        active.Parse(installedText);
        DictList obsolete;
        AddInstalledNames(installed, names, obsolete);
        UpdateActiveNames(active, obsolete, names, true);
        const std::wstring now = installed.Join();
        benchmark::DoNotOptimize(active.Join());
        benchmark::DoNotOptimize(CleanOrderedList(orderedText, now));
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_UpdateRulesInMemory)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Complexity(benchmark::oNLogN);

// Removing 1% of n listed names, named one positional each.
void BM_DeleteDicts(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Account account;
    const std::wstring listed = ListOfNames(n, 1);
    std::vector<std::wstring> positionals;
    for (int i = 0; i < n / 100; ++i)
        positionals.push_back(std::to_wstring(1 + i * 100) + L"_1_0_0.pvdict");
    for (auto _ : state) {
        state.PauseTiming();
        e2e::SetSetting(L"/Dict/InstalledDict", listed);
        e2e::SetSetting(L"/Dict/ActiveDict", listed);
        state.ResumeTiming();
        CellDictInstaller engine;
        if (!engine.DeleteDicts(positionals))
            state.SkipWithError("removal failed");
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_DeleteDicts)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Complexity(benchmark::oNLogN);

}  // namespace

int main(int argc, char** argv)
{
    // As lexinst.exe does: with the logging library bound, a log call costs a
    // line, not a failed module lookup.
    InitLogging();
    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
