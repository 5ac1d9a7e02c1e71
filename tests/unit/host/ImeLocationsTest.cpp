#include "host/ImeLocations.h"

#include "host/HostComponents.h"

#include "support/E2eSupport.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>


namespace {

constexpr const wchar_t* kDefaultInstallDir = L"C:\\Program Files\\Pelvo\\PelvoPinyin";
constexpr const wchar_t* kMarker = L"PelvoPinyin.exe";

std::wstring Suffixed(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::wstring(path) + L"\\Pelvo\\PelvoPinyin";
}

// The default installation folder with its marker, for one scope.
class DefaultInstallDir {
public:
    DefaultInstallDir()
    {
        ::SHCreateDirectoryExW(nullptr, kDefaultInstallDir, nullptr);
        e2e::WriteFileBytes(std::wstring(kDefaultInstallDir) + L"\\" + kMarker, {});
    }
    ~DefaultInstallDir() { e2e::RemoveTree(kDefaultInstallDir); }
};

TEST(ReadRegString, TakesTextValuesOfThe32BitViewOnly)
{
    const std::wstring key = L"Software\\Pelvo\\PelvoPinyin\\HostTest";
    struct Case {
        const char* name;
        DWORD type;
        REGSAM view;
        std::wstring stored;
        std::wstring expected;
    };
    const Case cases[] = {
        {"REG_SZ", REG_SZ, KEY_WOW64_32KEY, L"C:\\Ime", L"C:\\Ime"},
        {"REG_EXPAND_SZ stays unexpanded", REG_EXPAND_SZ, KEY_WOW64_32KEY, L"%WINDIR%\\x", L"%WINDIR%\\x"},
        {"empty text", REG_SZ, KEY_WOW64_32KEY, L"", L""},
        {"REG_MULTI_SZ gives the default", REG_MULTI_SZ, KEY_WOW64_32KEY, L"a", L"<default>"},
        {"REG_BINARY gives the default", REG_BINARY, KEY_WOW64_32KEY, L"ab", L"<default>"},
        {"64-bit view only gives the default", REG_SZ, KEY_WOW64_64KEY, L"C:\\Other", L"<default>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        e2e::SetRegString(HKEY_LOCAL_MACHINE, key, L"v", c.stored, c.type, c.view);
        EXPECT_EQ(c.expected, ReadRegString(HKEY_LOCAL_MACHINE, key.c_str(), L"v", L"<default>"));
        e2e::DeleteRegValue(HKEY_LOCAL_MACHINE, key, L"v", c.view);
    }
    EXPECT_EQ(L"<default>", ReadRegString(HKEY_LOCAL_MACHINE, key.c_str(), L"missing", L"<default>"));
    EXPECT_EQ(L"<default>", ReadRegString(HKEY_LOCAL_MACHINE, L"Software\\NoSuchKey\\At All", L"v", L"<default>"));
    EXPECT_EQ(L"", ReadRegString(HKEY_LOCAL_MACHINE, key.c_str(), L"missing", nullptr));
}

TEST(Buffers, CopyCapacityLessOneUnitsAndTerminate)
{
    wchar_t exe[kPathUnits] = {};
    const std::size_t full = GetExePath(exe, kPathUnits);
    ASSERT_GT(full, 4u);

    wchar_t small[5] = {L'#', L'#', L'#', L'#', L'#'};
    EXPECT_EQ(4u, GetExePath(small, 5));
    EXPECT_EQ(std::wstring(exe, 4), std::wstring(small));
    EXPECT_EQ(0u, GetExePath(small, 0));
    wchar_t one[1] = {L'#'};
    EXPECT_EQ(0u, GetExePath(one, 1));
    EXPECT_EQ(L'\0', one[0]);

    // A 300-unit folder keeps its first 259 units.
    const std::wstring longFolder = L"C:\\" + std::wstring(297, L'a');
    e2e::ScopedRegValue appData(HKEY_CURRENT_USER, e2e::kImeRegKey, L"AppData", longFolder);
    wchar_t buffer[kPathUnits + 10];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(kPathUnits - 1, GetUserDataDir(buffer, kPathUnits, false));
    EXPECT_EQ(longFolder.substr(0, kPathUnits - 1), std::wstring(buffer));
    EXPECT_EQ(L'#', buffer[kPathUnits]);
}

TEST(ModulePaths, NameThisProgram)
{
    wchar_t exe[kPathUnits] = {};
    wchar_t module[kPathUnits] = {};
    GetExePath(exe, kPathUnits);
    GetCurrentModulePath(module, kPathUnits);
    // The host code is linked into this test program, so both name it.
    EXPECT_EQ(e2e::BinDir() + L"\\host_tests.exe", std::wstring(exe));
    EXPECT_EQ(std::wstring(exe), std::wstring(module));
}

// One sequence: the cache of the last valid folder lives for the whole process.
TEST(GetImeInstallDir, PrefersValidFoldersThenFallsBack)
{
    e2e::TempDir valid(L"ime valid");
    e2e::WriteFileBytes(valid.File(kMarker), {});
    e2e::TempDir invalid(L"ime invalid");
    e2e::RemoveTree(kDefaultInstallDir);

    {
        SCOPED_TRACE("nothing valid, registry text given: the text");
        e2e::ScopedRegValue exePath(HKEY_LOCAL_MACHINE, e2e::kImeRegKey, L"exePath", L"X:\\Nowhere");
        EXPECT_EQ(L"X:\\Nowhere", GetImeInstallDir());
    }
    {
        SCOPED_TRACE("nothing valid, no registry value: the program's folder");
        e2e::ScopedRegValue exePath(HKEY_LOCAL_MACHINE, e2e::kImeRegKey, L"exePath", std::nullopt);
        EXPECT_EQ(e2e::BinDir(), GetImeInstallDir());
    }
    {
        SCOPED_TRACE("registry folder with the marker");
        e2e::ScopedRegValue exePath(HKEY_LOCAL_MACHINE, e2e::kImeRegKey, L"exePath", valid.Path());
        DefaultInstallDir defaultDir;
        EXPECT_EQ(valid.Path(), GetImeInstallDir());
        // A component missing beside the program is looked for here.
        e2e::WriteFileBytes(valid.File(L"OnlyInIme.dll"), {});
        EXPECT_EQ(valid.Path() + L"\\OnlyInIme.dll", FindHostComponent(L"OnlyInIme.dll"));
    }
    {
        SCOPED_TRACE("registry folder without the marker, default folder with it");
        e2e::ScopedRegValue exePath(HKEY_LOCAL_MACHINE, e2e::kImeRegKey, L"exePath", invalid.Path());
        DefaultInstallDir defaultDir;
        EXPECT_EQ(kDefaultInstallDir, GetImeInstallDir());
    }
    {
        SCOPED_TRACE("nothing valid any more: the last valid folder");
        e2e::ScopedRegValue exePath(HKEY_LOCAL_MACHINE, e2e::kImeRegKey, L"exePath", invalid.Path());
        EXPECT_EQ(kDefaultInstallDir, GetImeInstallDir());
    }
}

TEST(GetUserDataDir, UsesAppDataUnchangedOrLocalLow)
{
    e2e::TempDir scratch;
    {
        SCOPED_TRACE("AppData set: unchanged, no suffix, created on request");
        const std::wstring folder = scratch.Path() + L"\\not yet\\there";
        e2e::ScopedRegValue appData(HKEY_CURRENT_USER, e2e::kImeRegKey, L"AppData", folder);
        wchar_t buffer[kPathUnits] = {};
        EXPECT_EQ(folder.size(), GetUserDataDir(buffer, kPathUnits, false));
        EXPECT_EQ(folder, std::wstring(buffer));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(folder.c_str()));
        GetUserDataDir(buffer, kPathUnits, true);
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(folder.c_str()));
    }
    {
        SCOPED_TRACE("AppData missing: below LocalLow on NT 6 and later");
        ASSERT_TRUE(IsVistaOrLater());
        e2e::ScopedRegValue appData(HKEY_CURRENT_USER, e2e::kImeRegKey, L"AppData", std::nullopt);
        wchar_t buffer[kPathUnits] = {};
        const std::size_t length = GetUserDataDir(buffer, kPathUnits, false);
        const std::wstring folder(buffer, length);
        EXPECT_NE(std::wstring::npos, folder.find(L"\\LocalLow\\Pelvo\\PelvoPinyin")) << folder;
        EXPECT_EQ(std::wstring::npos, folder.find(L"Roaming")) << folder;
    }
}

TEST(DataFolders, RegistryValueOrSystemFolder)
{
    struct Case {
        const char* name;
        HKEY root;
        const wchar_t* value;
        std::optional<std::wstring> stored;
        std::wstring expected;
        std::size_t (*get)(wchar_t*, std::size_t);
    };
    auto imeDir = [](wchar_t* b, std::size_t c) { return GetImeDir(b, c, nullptr, false); };
    auto commonDir = [](wchar_t* b, std::size_t c) { return GetCommonDataDir(b, c, false); };
    const Case cases[] = {
        {"IME folder from exePath", HKEY_LOCAL_MACHINE, L"exePath", L"D:\\No Marker Needed", L"D:\\No Marker Needed",
         imeDir},
        {"IME folder from the program", HKEY_LOCAL_MACHINE, L"exePath", std::nullopt, e2e::BinDir(), imeDir},
        {"common data from the registry", HKEY_LOCAL_MACHINE, L"CommonAppData", L"E:\\Shared", L"E:\\Shared",
         commonDir},
        {"common data from the system", HKEY_LOCAL_MACHINE, L"CommonAppData", std::nullopt,
         Suffixed(CSIDL_COMMON_APPDATA), commonDir},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        e2e::ScopedRegValue value(c.root, e2e::kImeRegKey, c.value, c.stored);
        wchar_t buffer[kPathUnits] = {};
        EXPECT_EQ(c.expected.size(), c.get(buffer, kPathUnits));
        EXPECT_EQ(c.expected, std::wstring(buffer));
    }
}

}  // namespace
