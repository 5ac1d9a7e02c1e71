// The file-level steps of an install: capacity quota, stored-file deletion, the
// copy-replace-rename and the decision to replace a stored file.
#include "EngineTestSupport.h"

#include "dict/DictCapacity.h"
#include "installer/CellDictInstaller.h"

#include <windows.h>

namespace {

using namespace e2e;
using FileStepsTest = EngineTest;

TEST_F(FileStepsTest, CapacityQuotaBoundaries)
{
    struct Row {
        const char* what;
        int64_t indexSize;  // -1: no index file
        uint32_t fileSize;
        bool expect;
    };
    const Row rows[] = {
        {"largest file, no index", -1, 16777215, true},
        {"16 MiB file", -1, 16777216, false},
        {"sum just below 256 MiB", 250000000, 4608863, true},
        {"sum reaches 256 MiB", 250000000, 4608864, false},
        {"empty dictionary, full index", 268435455, 0, true},
    };
    // One batch's quota across all rows: it must see every change of the index.
    BatchCapacityQuota batch;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.indexSize >= 0)
            SetIndexSize(static_cast<uint64_t>(row.indexSize));
        else
            ::DeleteFileW(IndexPath().c_str());
        CellDictFile dict;
        dict.fileSize = row.fileSize;
        EXPECT_EQ(HasCapacityFor(&dict), row.expect);
        EXPECT_EQ(batch.HasCapacityFor(&dict), row.expect);
    }
    EXPECT_FALSE(HasCapacityFor(nullptr));
    EXPECT_FALSE(batch.HasCapacityFor(nullptr));
}

TEST_F(FileStepsTest, DeleteDictFileResults)
{
    EXPECT_EQ(DeleteDictFile(SourceDir() + L"\\missing.pvdict"), kResultNothingToDo);
    const std::wstring readOnly = WriteSource(L"a.pvdict", {1, 2, 3});
    SetReadOnly(readOnly, true);
    EXPECT_EQ(DeleteDictFile(readOnly), kResultOk);
    EXPECT_FALSE(FileExists(readOnly));
    const std::wstring held = WriteSource(L"b.pvdict", {1});
    HeldOpen open(held);
    EXPECT_EQ(DeleteDictFile(held), kResultFail);
    EXPECT_TRUE(FileExists(held));
}

// Read-only sources, stored files and .dat files are covered by the whole-program
// fault scenarios; these rows reach what a run of lexinst.exe cannot isolate.
TEST_F(FileStepsTest, InstallDictFileReplacesThroughTheTemporaryFile)
{
    struct Row {
        const char* what;
        bool sourceMissing;
        bool oldHeldOpen;
        bool expect;
    };
    const Row rows[] = {
        {"old file and writable .dat replaced", false, false, true},
        {"old file held open: kept with its .dat", false, true, false},
        {"source missing: nothing touched", true, false, false},
    };
    const ByteVector newBytes = MakeDict(3, 1, 0, 0);
    const std::wstring dir = Root() + L"\\store\\";
    const std::wstring dest = dir + L"3_1_0_0.pvdict";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RemoveTree(dir);
        ::CreateDirectoryW(dir.c_str(), nullptr);
        const std::wstring src = WriteSource(L"new.pvdict", newBytes);
        WriteFileBytes(dest, {9, 9});
        WriteFileBytes(dest + L".dat", {7});
        const std::wstring tmp = MakeTempFilePath(dir);
        {
            HeldOpen held(row.oldHeldOpen ? dest : L"");
            EXPECT_EQ(CellDictInstaller::InstallDictFile(row.sourceMissing ? src + L"x" : src, dest, tmp),
                      row.expect);
        }
        EXPECT_EQ(ReadFileBytes(dest), row.expect ? newBytes : (ByteVector{9, 9}));
        EXPECT_NE(FileExists(dest + L".dat"), row.expect);
        if (row.expect) {
            EXPECT_FALSE(FileExists(tmp)) << "renamed into place";
        }
        EXPECT_TRUE(FileExists(src));
    }
}

TEST_F(FileStepsTest, ShouldReplaceStoredFileByVersion)
{
    struct Row {
        const char* what;
        std::optional<ByteVector> stored;
        bool expect;
    };
    const Row rows[] = {
        {"nothing stored", std::nullopt, true},
        {"older stored", MakeDict(4, 1, 2, 8), true},
        {"same version", MakeDict(4, 1, 2, 9), false},
        {"newer stored", MakeDict(4, 1, 10, 0), false},
        {"stored file shorter than a header", ByteVector(100, 1), true},
    };
    const std::wstring src = WriteSource(L"new.pvdict", MakeDict(4, 1, 2, 9));
    CellDictInstaller engine;
    ASSERT_TRUE(engine.Load(src, true));
    const std::wstring dest = Root() + L"\\s.pvdict";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ::DeleteFileW(dest.c_str());
        if (row.stored)
            WriteFileBytes(dest, *row.stored);
        EXPECT_EQ(engine.ShouldReplaceStoredFile(src, dest), row.expect);
    }
    EXPECT_FALSE(engine.ShouldReplaceStoredFile(src, src)) << "the stored file itself";
}

}  // namespace
