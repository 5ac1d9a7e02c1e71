#include "EngineTestSupport.h"

#include "host/ConfigStore.h"

#include <windows.h>

bool ScriptedUI::ConfirmInstall(const CellDictInfo& info)
{
    calls.push_back("ConfirmInstall");
    shown.push_back(info);
    if (!watchedFolder.empty())
        tempFilesWhileAsked = e2e::ListFolder(watchedFolder, L"tmp*.tmp");
    return installAnswer;
}

bool ScriptedUI::ConfirmOverwrite()
{
    calls.push_back("ConfirmOverwrite");
    return overwriteAnswer;
}

void ScriptedUI::ShowInstallSuccess(const CellDictInfo& info)
{
    calls.push_back("ShowInstallSuccess");
    shown.push_back(info);
}

ByteVector MakeDict(uint32_t dictId, uint32_t major, uint32_t minor, uint32_t build, uint16_t formatLevel)
{
    DictBytes dict;
    dict.Name(u"测试词库").Description(u"engine test").Identity(dictId, major, minor, build);
    dict.Word(u"你好").Word(u"世界").Word(u"词库");
    dict.header.formatLevel = formatLevel;
    return dict.Bytes();
}

SimpleOptParser::OptionMap ParseOptions(const std::wstring& commandLine)
{
    SimpleOptParser parser(kLexinstOptionSpec);
    EXPECT_TRUE(parser.Parse(commandLine)) << "bad test command line";
    return parser.options;
}

void EngineTest::SetUp()
{
    // Once per program: the settings store stays loaded until the process ends.
    static const bool broughtUp = (BringUpConfigComponent(), true);
    (void)broughtUp;
    ASSERT_NE(GetConfigureInst(), nullptr) << "Setvault.dll must sit beside the test program";

    root_ = std::make_unique<e2e::TempDir>(L"engine");
    ::CreateDirectoryW(SourceDir().c_str(), nullptr);
    appData_ = std::make_unique<e2e::ScopedRegValue>(HKEY_CURRENT_USER, e2e::kImeRegKey, L"AppData", UserDataDir());
    e2e::ClearSettings();
    e2e::SetSetting(L"/Common/accountDataDir", root_->Path() + L"\\account");
    e2e::SetSetting(L"/Common/dataDir", root_->Path() + L"\\data");
}

void EngineTest::TearDown()
{
    e2e::ClearSettings();
    appData_.reset();
    root_.reset();
}

std::wstring EngineTest::WriteSource(const std::wstring& name, const ByteVector& bytes) const
{
    const std::wstring path = SourceDir() + L"\\" + name;
    EXPECT_TRUE(e2e::WriteFileBytes(path, bytes));
    return path;
}

std::vector<std::wstring> EngineTest::TempFilesIn(const std::wstring& folder) const
{
    return e2e::ListFolder(folder, L"tmp*.tmp");
}

std::wstring EngineTest::Setting(const std::wstring& key) const
{
    return e2e::GetSetting(key).value_or(L"<absent>");
}

HeldOpenFile::HeldOpenFile(const std::wstring& path)
    : handle_(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr))
{
}

HeldOpenFile::~HeldOpenFile()
{
    if (IsOpen())
        ::CloseHandle(handle_);
}

bool HeldOpenFile::IsOpen() const
{
    return handle_ != INVALID_HANDLE_VALUE;
}

void SetReadOnly(const std::wstring& path, bool readOnly)
{
    ::SetFileAttributesW(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

bool IsReadOnly(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}
