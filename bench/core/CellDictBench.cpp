// The reader against one plain sequential read of the same file, on the
// shapes that cost it most, and against the reader it replaced. scripts/bench
// prints the ratios.

#include "core/CellDictFile.h"
#include "core/FileIO.h"

#include "support/DictShapes.h"
#include "support/ScratchFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>

namespace {

enum Shape { kMostRecords, kRealistic, kLateSample, kFlaggedRun, kRepeatedWord };

const char* ShapeName(Shape shape)
{
    switch (shape) {
    case kMostRecords: return "most_records";
    case kRealistic: return "realistic";
    case kLateSample: return "late_sample";
    case kFlaggedRun: return "flagged_run";
    case kRepeatedWord: return "repeated_word";
    }
    return "";
}

// Section 1 of the largest file: one word, then records that give no new
// one (all flagged, or all the first word again), then a last new word.
ByteVector NoNewWordUntilTheEnd(bool flagged)
{
    DictBytes dict;
    dict.Word(u"首");
    const std::u16string repeated = flagged ? u"" : u"首";
    const uint32_t recordSize = 4 + 4 * static_cast<uint32_t>(repeated.size());
    const uint32_t fixed = static_cast<uint32_t>(kCellDictHeaderSize) + 8 + 12;
    for (uint32_t i = 0; i < (kLargestDictSize - fixed) / recordSize; ++i)
        dict.Word(repeated, flagged);
    dict.Word(u"末尾");
    const uint32_t used = static_cast<uint32_t>(kCellDictHeaderSize) + dict.Section1Size();
    return dict.Tail(ByteVector(kLargestDictSize - used, 0)).Bytes();
}

ByteVector MakeShape(Shape shape)
{
    switch (shape) {
    case kMostRecords: return MostRecordsDict();
    case kRealistic: return RealisticDict();
    case kLateSample: return LateSampleDict();
    case kFlaggedRun: return NoNewWordUntilTheEnd(true);
    case kRepeatedWord: return NoNewWordUntilTheEnd(false);
    }
    return {};
}

// The files, made once per run in a scratch folder.
const std::wstring& FileFor(Shape shape)
{
    static ScratchDir dir;
    static std::map<Shape, std::wstring> paths;
    auto found = paths.find(shape);
    if (found != paths.end())
        return found->second;
    return paths[shape] = dir.Write(std::wstring(L"bench_") + std::to_wstring(shape) + L".pvdict", MakeShape(shape));
}

void Fail(benchmark::State& state, const char* message) { state.SkipWithError(message); }

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

void Register(const char* name, void (*function)(benchmark::State&, Shape), Shape shape)
{
    std::string full = std::string(name) + "/" + ShapeName(shape);
    benchmark::RegisterBenchmark(full.c_str(), function, shape)->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

int main(int argc, char** argv)
{
    for (Shape shape : {kMostRecords, kRealistic}) {
        Register("PlainRead", PlainRead, shape);
        Register("Load", LoadValidated, shape);
    }
    for (Shape shape : {kLateSample, kFlaggedRun, kRepeatedWord}) {
        Register("PlainRead", PlainRead, shape);
        Register("ReadSampleWords", SampleWords, shape);
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
