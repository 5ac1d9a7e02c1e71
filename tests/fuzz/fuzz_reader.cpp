// Arbitrary bytes as a .pvdict file: every way of loading it must agree with
// the record-by-record reference, and reading it must never crash.

#include "dict/CellDictFile.h"

#include "support/DictBytes.h"
#include "support/ReferenceReader.h"
#include "support/ScratchFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "mismatch: %s\n", what);
        std::abort();
    }
}

void CheckFile(const std::wstring& path, unsigned maxSamples)
{
    CellDictFile checked;
    CellDictVerdict verdict = checked.LoadAndCheck(path);
    ReferenceLoadResult reference = ReferenceLoad(path, true);
    Check(verdict.Ok() == reference.ok, "LoadAndCheck against the reference walk");
    Check(checked.loaded == verdict.Ok(), "loaded against the verdict");

    CellDictFile validated;
    Check(validated.Load(path, true) == verdict.Ok(), "Load(validate) against LoadAndCheck");
    CellDictFile plain;
    Check(plain.Load(path, false) == ReferenceLoad(path, false).ok, "Load without validation");
    if (reference.opened)
        Check(plain.fileSize == reference.fileSize, "file size");
    if (!reference.headerRead)
        return;
    Check(std::memcmp(&plain.header, &reference.header, kCellDictHeaderSize) == 0, "header bytes");

    std::vector<std::wstring> words;
    std::vector<std::wstring> expected;
    unsigned count = plain.ReadSampleWords(words, maxSamples);
    unsigned expectedCount = ReferenceReadSampleWords(path, reference.header, expected, maxSamples);
    Check(count == expectedCount && words == expected, "sample words");
    Check(words.size() <= maxSamples, "sample count");

    CellDictInfo info;
    info.header = plain.header;
    info.samples = words;
    (void)info.GetSampleText();
    (void)plain.header.GetName();
    (void)plain.header.GetDescription();
    (void)plain.header.GetCategory();
    Check(plain.header.FormatEntryCount(L"%d") == std::to_wstring(static_cast<int>(plain.header.GetEntryCount())),
          "entry count text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ScratchDir dir;
    ByteVector bytes(data, data + size);
    const unsigned maxSamples = size == 0 ? 10 : data[size - 1] % 16;
    CheckFile(dir.Write(L"input.pvdict", bytes), maxSamples);

    // The same bytes with the right magic, so that the walk itself is reached.
    if (bytes.size() >= 8) {
        PutU32(bytes, 0, kCellDictMagic0);
        PutU32(bytes, 4, kCellDictMagic1);
        CheckFile(dir.Write(L"input.pvdict", bytes), maxSamples);
    }
    return 0;
}
