// The reader against one plain sequential read of the same file, on the
// shapes that cost it most. scripts/bench prints the ratios.

#include "dict/CellDictFile.h"
#include "dict/FileIO.h"

#include "support/DictShapes.h"
#include "support/ReferenceReader.h"
#include "support/ScratchFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>

namespace {

enum Shape { kMostRecords, kRealistic, kLateSample };

const char* ShapeName(Shape shape)
{
    switch (shape) {
    case kMostRecords: return "most_records";
    case kRealistic: return "realistic";
    case kLateSample: return "late_sample";
    }
    return "";
}

// The files, made once per run in a scratch folder.
const std::wstring& FileFor(Shape shape)
{
    static ScratchDir dir;
    static std::map<Shape, std::wstring> paths;
    auto found = paths.find(shape);
    if (found != paths.end())
        return found->second;
    ByteVector bytes = shape == kMostRecords ? MostRecordsDict() : shape == kRealistic ? RealisticDict() : LateSampleDict();
    return paths[shape] = dir.Write(std::wstring(L"bench_") + std::to_wstring(shape) + L".pvdict", bytes);
}

void Fail(benchmark::State& state, const char* message)
{
    state.SkipWithError(message);
}

// What any reader must pay at least: every byte once, in large blocks.
void PlainRead(benchmark::State& state, Shape shape)
{
    const std::wstring& path = FileFor(shape);
    auto buffer = std::make_unique<char[]>(256 * 1024);
    for (auto _ : state) {
        UniqueFile file = OpenFile(path, "rb");
        if (!file)
            return Fail(state, "cannot open");
        std::size_t total = 0;
        while (std::size_t got = std::fread(buffer.get(), 1, 256 * 1024, file.get()))
            total += got;
        benchmark::DoNotOptimize(total);
    }
}

void LoadValidated(benchmark::State& state, Shape shape)
{
    const std::wstring& path = FileFor(shape);
    for (auto _ : state) {
        CellDictFile dict;
        if (!dict.Load(path, true))
            return Fail(state, "the file does not validate");
    }
}

void LiteralWalk(benchmark::State& state, Shape shape)
{
    const std::wstring& path = FileFor(shape);
    for (auto _ : state) {
        if (!ReferenceLoad(path, true).ok)
            return Fail(state, "the file does not validate");
    }
}

void SampleWords(benchmark::State& state, Shape shape)
{
    CellDictFile dict;
    if (!dict.Load(FileFor(shape), true))
        return Fail(state, "the file does not validate");
    for (auto _ : state) {
        std::vector<std::wstring> words;
        benchmark::DoNotOptimize(dict.ReadSampleWords(words, 10));
    }
}

void LiteralSampleWords(benchmark::State& state, Shape shape)
{
    CellDictFile dict;
    if (!dict.Load(FileFor(shape), true))
        return Fail(state, "the file does not validate");
    for (auto _ : state) {
        std::vector<std::wstring> words;
        benchmark::DoNotOptimize(ReferenceReadSampleWords(dict.path, dict.header, words, 10));
    }
}

void Register(const char* name, void (*function)(benchmark::State&, Shape), Shape shape, bool slow = false)
{
    std::string full = std::string(name) + "/" + ShapeName(shape);
    auto* bench = benchmark::RegisterBenchmark(full.c_str(), function, shape)->Unit(benchmark::kMillisecond)->UseRealTime();
    if (slow)
        bench->Iterations(3);
}

}  // namespace

int main(int argc, char** argv)
{
    for (Shape shape : {kMostRecords, kRealistic}) {
        Register("PlainRead", PlainRead, shape);
        Register("Load", LoadValidated, shape);
        Register("LiteralWalk", LiteralWalk, shape, true);
    }
    Register("PlainRead", PlainRead, kLateSample);
    Register("ReadSampleWords", SampleWords, kLateSample);
    Register("LiteralSampleWords", LiteralSampleWords, kLateSample, true);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
