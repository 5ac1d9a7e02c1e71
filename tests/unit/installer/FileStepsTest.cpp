// The file-level steps of an install: capacity quota, stored-file deletion,
// temporary files, the copy-replace-rename and the decision to replace.
#include "EngineTestSupport.h"

#include "dict/DictCapacity.h"
#include "installer/CellDictInstaller.h"

#include <windows.h>

namespace {

class FileStepsTest : public EngineTest {
protected:
    // Makes the per-user index file exactly `size` bytes long.
    void SetIndexSize(uint64_t size)
    {
        ::CreateDirectoryW(UserDataDir().c_str(), nullptr);
        const std::wstring path = UserDataDir() + L"\\pvdictindex.dat";
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size);
        ASSERT_TRUE(::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file));
        ::CloseHandle(file);
    }
    std::wstring IndexPath() const { return UserDataDir() + L"\\pvdictindex.dat"; }
};

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
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.indexSize >= 0)
            SetIndexSize(static_cast<uint64_t>(row.indexSize));
        else
            ::DeleteFileW(IndexPath().c_str());
        CellDictFile dict;
        dict.fileSize = row.fileSize;
        EXPECT_EQ(HasCapacityFor(&dict), row.expect);
    }
    EXPECT_FALSE(HasCapacityFor(nullptr));
}

TEST_F(FileStepsTest, IndexHeldOpenCountsAsEmpty)
{
    SetIndexSize(268435456);
    CellDictFile dict;
    dict.fileSize = 1000;
    EXPECT_FALSE(HasCapacityFor(&dict));
    HeldOpenFile held(IndexPath());
    ASSERT_TRUE(held.IsOpen());
    EXPECT_EQ(GetDictIndexSize(), 0u);
    EXPECT_TRUE(HasCapacityFor(&dict));
}

TEST_F(FileStepsTest, DeleteDictFileResults)
{
    const std::wstring path = WriteSource(L"a.pvdict", {1, 2, 3});
    EXPECT_EQ(DeleteDictFile(SourceDir() + L"\\missing.pvdict"), kResultNothingToDo);

    SetReadOnly(path, true);
    EXPECT_EQ(DeleteDictFile(path), kResultOk);
    EXPECT_FALSE(e2e::FileExists(path));

    const std::wstring held = WriteSource(L"b.pvdict", {1});
    {
        HeldOpenFile open(held);
        EXPECT_EQ(DeleteDictFile(held), kResultFail);
        EXPECT_TRUE(e2e::FileExists(held));
    }
}

TEST_F(FileStepsTest, TempFileIsCreatedEmptyInTheFolder)
{
    const std::wstring path = MakeTempFilePath(SourceDir() + L"\\");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.rfind(SourceDir() + L"\\tmp", 0), 0u) << "made in the folder with the tmp prefix";
    const auto bytes = e2e::ReadFileBytes(path);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(bytes->empty());
    EXPECT_NE(MakeTempFilePath(SourceDir() + L"\\"), path);
    EXPECT_EQ(MakeTempFilePath(Root() + L"\\no such folder\\"), L"");
}

TEST_F(FileStepsTest, InstallDictFileReplacesThroughTheTemporaryFile)
{
    struct Row {
        const char* what;
        bool readOnlySource;
        bool oldStored;
        bool readOnlyOld;
        bool dat;
        bool readOnlyDat;
    };
    const Row rows[] = {
        {"fresh", false, false, false, false, false},
        {"read-only source gives a writable copy", true, false, false, false, false},
        {"read-only old file is replaced", false, true, true, false, false},
        {"writable .dat is deleted", false, true, false, true, false},
        {"read-only .dat stays", false, true, false, true, true},
    };
    const ByteVector newBytes = MakeDict(3, 1, 0, 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::wstring dir = Root() + L"\\store\\";
        ::CreateDirectoryW(dir.c_str(), nullptr);
        const std::wstring src = WriteSource(L"new.pvdict", newBytes);
        SetReadOnly(src, row.readOnlySource);
        const std::wstring dest = dir + L"3_1_0_0.pvdict";
        if (row.oldStored) {
            e2e::WriteFileBytes(dest, {9, 9});
            SetReadOnly(dest, row.readOnlyOld);
        }
        if (row.dat) {
            e2e::WriteFileBytes(dest + L".dat", {7});
            SetReadOnly(dest + L".dat", row.readOnlyDat);
        }
        const std::wstring tmp = MakeTempFilePath(dir);

        EXPECT_TRUE(CellDictInstaller::InstallDictFile(src, dest, tmp));
        EXPECT_EQ(e2e::ReadFileBytes(dest), newBytes);
        EXPECT_FALSE(IsReadOnly(dest));
        EXPECT_FALSE(e2e::FileExists(tmp));
        EXPECT_EQ(e2e::FileExists(dest + L".dat"), row.dat && row.readOnlyDat);
        EXPECT_TRUE(e2e::FileExists(src));

        SetReadOnly(src, false);
        SetReadOnly(dest + L".dat", false);
        e2e::RemoveTree(dir);
    }
}

TEST_F(FileStepsTest, InstallDictFileKeepsAnOldFileThatIsHeldOpen)
{
    const std::wstring dir = Root() + L"\\store\\";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring src = WriteSource(L"new.pvdict", MakeDict(3, 1, 0, 0));
    const std::wstring dest = dir + L"3_1_0_0.pvdict";
    e2e::WriteFileBytes(dest, {9, 9});
    e2e::WriteFileBytes(dest + L".dat", {7});
    const std::wstring tmp = MakeTempFilePath(dir);
    {
        HeldOpenFile held(dest);
        EXPECT_FALSE(CellDictInstaller::InstallDictFile(src, dest, tmp));
    }
    EXPECT_EQ(e2e::ReadFileBytes(dest), (std::vector<uint8_t>{9, 9}));
    EXPECT_TRUE(e2e::FileExists(dest + L".dat")) << "the replacement stopped before the .dat step";
    EXPECT_FALSE(CellDictInstaller::InstallDictFile(SourceDir() + L"\\missing", dest, tmp));
}

TEST_F(FileStepsTest, ShouldReplaceStoredFileByVersion)
{
    struct Row {
        const char* what;
        std::wstring storedName;  // "": no stored file
        ByteVector stored;
        bool expect;
    };
    const Row rows[] = {
        {"nothing stored", L"", {}, true},
        {"older stored", L"s.pvdict", MakeDict(4, 1, 2, 8), true},
        {"same version", L"s.pvdict", MakeDict(4, 1, 2, 9), false},
        {"newer stored", L"s.pvdict", MakeDict(4, 1, 10, 0), false},
        {"stored file shorter than a header", L"s.pvdict", ByteVector(100, 1), true},
    };
    const std::wstring src = WriteSource(L"new.pvdict", MakeDict(4, 1, 2, 9));
    CellDictInstaller engine;
    ASSERT_TRUE(engine.Load(src, true));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::wstring dest = Root() + L"\\s.pvdict";
        ::DeleteFileW(dest.c_str());
        if (!row.storedName.empty())
            e2e::WriteFileBytes(dest, row.stored);
        EXPECT_EQ(engine.ShouldReplaceStoredFile(src, dest), row.expect);
    }
    EXPECT_FALSE(engine.ShouldReplaceStoredFile(src, src)) << "the stored file itself";
}

}  // namespace
