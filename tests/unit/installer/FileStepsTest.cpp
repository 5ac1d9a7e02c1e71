// The capacity quota at its exact limits, with the index in a throw-away per-user
// folder, and the copy step of an install.
#include "EngineE2eFixture.h"

#include "core/CellDictFile.h"
#include "installer/CellDictInstaller.h"
#include "installer/DictCapacity.h"
#include "installer/StoredFiles.h"

namespace {

using FileStepsTest = e2e::EngineE2eTest;

TEST_F(FileStepsTest, CapacityQuotaBoundaries)
{
    struct Row {
        const char* name;
        int64_t indexSize;  // -1: no index file
        uint32_t fileSize;
        bool expect;
    };
    // clang-format off
    const Row rows[] = {
        {"largest file, no index", -1, 16777215, true},
        {"16 MiB file", -1, 16777216, false},
        {"index and four times the file just below 256 MiB", 250000000, 4608863, true},
        {"index and four times the file reach 256 MiB", 250000000, 4608864, false},
        {"empty dictionary, index one byte below", 268435455, 0, true},
    };
    // clang-format on
    // One batch's quota across all rows: it must see every change of the index.
    CapacityQuota batch;
    const std::wstring index = UserDataDir() + L"\\pvdictindex.dat";
    ::CreateDirectoryW(UserDataDir().c_str(), nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ::DeleteFileW(index.c_str());
        if (row.indexSize >= 0) {
            ASSERT_TRUE(e2e::WriteZeroFile(index, static_cast<uint64_t>(row.indexSize)));
        }
        CellDictFile dict;
        dict.fileSize = row.fileSize;
        EXPECT_EQ(CapacityQuota().HasCapacityFor(&dict), row.expect);
        EXPECT_EQ(batch.HasCapacityFor(&dict), row.expect);
    }
    EXPECT_FALSE(CapacityQuota().HasCapacityFor(nullptr));
    EXPECT_FALSE(batch.HasCapacityFor(nullptr));
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
