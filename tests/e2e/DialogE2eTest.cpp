// lexinst.exe opened on a dictionary file the way the shell does: every dialog
// it shows is read and answered from this test program through the window API,
// photographed, and the run is judged by its exit code, the stored file and the
// dictionary lists.
#include "DialogDriver.h"
#include "EngineE2eFixture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {
namespace {

using uitest::Action;
using uitest::Picture;

constexpr uint32_t kDictId = 4321;
const std::wstring kStoredName = L"4321_1_2_0.pvdict";

// Control ids of the two dialogs.
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kDictName = 1003;
constexpr int kPackagePicture = 1009;
constexpr int kMessage = 1011;
constexpr int kMessagePicture = 1012;
constexpr int kMoreLink = 1013;
constexpr int kContinue = 1014;

// What a dialog shows, read from its windows and the screen.
struct Shown {
    std::wstring caption;
    std::wstring text;         // the message, or the dictionary name of the information dialog
    std::wstring okLabel;
    std::wstring secondLabel;  // empty while the second button is hidden
    bool link = false;
    Picture picture = Picture::None;
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& shown, std::ostream* out)
{
    *out << "{" << ToUtf8(shown.caption) << " | " << ToUtf8(shown.text) << " | " << ToUtf8(shown.okLabel) << " | "
         << ToUtf8(shown.secondLabel) << " | link " << shown.link << " | " << uitest::PictureName(shown.picture)
         << "}";
}

bool IsShown(HWND control)
{
    return control && ::IsWindowVisible(control);
}

Shown ReadShown(HWND dialog)
{
    const bool information = ::GetDlgItem(dialog, kDictName) != nullptr;
    HWND second = ::GetDlgItem(dialog, information ? kCancel : kContinue);
    Shown shown;
    shown.caption = uitest::ReadText(dialog);
    shown.text = uitest::ReadText(::GetDlgItem(dialog, information ? kDictName : kMessage));
    shown.okLabel = uitest::ReadText(::GetDlgItem(dialog, kOk));
    shown.secondLabel = IsShown(second) ? uitest::ReadText(second) : L"";
    shown.link = IsShown(::GetDlgItem(dialog, kMoreLink));
    shown.picture = uitest::IdentifyShownPicture(::GetDlgItem(dialog, information ? kPackagePicture : kMessagePicture));
    return shown;
}

const std::wstring kMessageCaption = L"Pelvo输入法分类词库";
const std::wstring kFailedCaption = L"词库安装失败";

const Shown kConfirmInstall{L"安装Pelvo输入法分类词库", L"城市地名", L"确定", L"取消", false, Picture::Package};
const Shown kConfirmOverwrite{kMessageCaption, L"您已安装最新版本。", L"确定", L"覆盖安装", true, Picture::Information};
const Shown kInstallSuccess{kMessageCaption, L"您已成功安装\r\n城市地名 分类词库。", L"完成", L"", true, Picture::Success};
const Shown kInstallFailed{kMessageCaption, L"词库安装失败", L"确定", L"", true, Picture::Warning};
const Shown kNoFileSpecified{kMessageCaption, L"请指定待安装的词库文件。", L"确定", L"", false, Picture::Information};
const Shown kFileNotFound{kFailedCaption, L"指定的词库文件不存在！", L"确定", L"", false, Picture::Warning};
const Shown kDictDamaged{kFailedCaption, L"分类词库已损坏，请重新下载。", L"确定", L"", true, Picture::Warning};
const Shown kVersionIncompatible{kFailedCaption, L"检测到本地输入法版本与词库文件不兼容，请升级到最新版本。", L"确定", L"",
                                 false, Picture::Warning};
const Shown kQuotaExceeded{kFailedCaption, L"超出词库容量限额，请尝试在词库管理界面中删除一些不需要的分类词库。", L"确定",
                           L"", false, Picture::Warning};

// One dialog the run is expected to show, how the user ends it, and the name of
// its screenshot under <build>/screenshots.
struct Step {
    Shown expected;
    Action action;
    std::wstring screenshot;
};

struct RunOutcome {
    int exitCode = kRunFailed;
    std::vector<Shown> seen;
};

// Starts lexinst.exe with `args`, answers the dialogs of `steps` in order, and
// waits for its exit code. A dialog that differs from the step still gets the
// step's action, so the run ends and the mismatch shows in `seen`; a dialog
// more than the steps expect is closed and recorded too.
RunOutcome RunWithDialogs(const std::wstring& args, const std::vector<Step>& steps)
{
    RunOutcome outcome;
    Process process = Start(LexinstPath(), args);
    if (!process.Started())
        return outcome;
    HWND previous = nullptr;
    for (const Step& step : steps) {
        HWND dialog = uitest::WaitForProcessDialog(process.Pid(), previous);
        if (!dialog)
            break;
        outcome.seen.push_back(ReadShown(dialog));
        uitest::SaveScreenshot(uitest::CaptureWindow(dialog), step.screenshot);
        uitest::Perform(dialog, step.action);
        uitest::WaitUntilClosed(dialog);
        previous = dialog;
    }
    if (::WaitForSingleObject(process.Handle(), 3000) == WAIT_TIMEOUT) {
        if (HWND extra = uitest::WaitForProcessDialog(process.Pid(), previous)) {
            outcome.seen.push_back(ReadShown(extra));
            uitest::Perform(extra, Action::CloseBox);
        }
    }
    outcome.exitCode = process.Wait(30000);
    return outcome;
}

std::vector<Shown> Expected(const std::vector<Step>& steps)
{
    std::vector<Shown> shown;
    for (const Step& step : steps)
        shown.push_back(step.expected);
    return shown;
}

// What a run may change: the stored file, the two lists, left-over temporary files.
struct Stored {
    std::optional<ByteVector> file;
    std::wstring installed;
    std::wstring active;
    std::vector<std::wstring> tempFiles;
    bool operator==(const Stored&) const = default;
};

void PrintTo(const Stored& stored, std::ostream* out)
{
    *out << "{file " << (stored.file ? std::to_string(stored.file->size()) + " bytes" : "absent") << " | installed "
         << ToUtf8(stored.installed) << " | active " << ToUtf8(stored.active) << " | " << stored.tempFiles.size()
         << " temporary files}";
}

class DialogE2eTest : public EngineE2eTest {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(uitest::PrepareDialogPrefix()); }

    std::wstring WriteDictionary(const std::wstring& fileName, uint16_t formatLevel = 0, uint32_t fileSize = 0)
    {
        DictBytes dict;
        dict.Name(u"城市地名").Description(u"全国城市的名称").Identity(kDictId, 1, 2, 0);
        dict.Word(u"北京").Word(u"上海");
        dict.header.formatLevel = formatLevel;
        const uint32_t size = static_cast<uint32_t>(dict.Bytes().size());
        if (fileSize > size)
            dict.Tail(ByteVector(fileSize - size, 0));
        return WriteSource(fileName, dict.Bytes());
    }
    std::wstring WriteDamaged(const std::wstring& fileName)
    {
        DictBytes dict;
        dict.Name(u"城市地名").Identity(kDictId, 1, 2, 0);
        dict.header.magic[0] = 0;
        return WriteSource(fileName, dict.Bytes());
    }
    // An earlier copy of the dictionary, stored and listed as installed and active.
    void InstallOldCopy()
    {
        ::CreateDirectoryW((Root() + L"\\account").c_str(), nullptr);
        ::CreateDirectoryW(AccountDictDir().c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(StoredPath(), kOldBytes));
        SetSetting(L"/Dict/InstalledDict", kStoredName + L";");
        SetSetting(L"/Dict/ActiveDict", kStoredName + L";");
    }
    void Uninstall()
    {
        ::DeleteFileW(StoredPath().c_str());
        DeleteSetting(L"/Dict/InstalledDict");
        DeleteSetting(L"/Dict/ActiveDict");
    }
    // A per-user dictionary index that leaves room for one copy of a dictionary
    // of `dictSize` bytes but not for the four that the quota reserves.
    void MakeIndexNearTheQuota(uint64_t dictSize)
    {
        ::CreateDirectoryW(UserDataDir().c_str(), nullptr);
        HANDLE file = ::CreateFileW((UserDataDir() + L"\\pvdictindex.dat").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(268435456 - 2 * dictSize);  // sparse: only its size counts
        ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
        ::SetEndOfFile(file);
        ::CloseHandle(file);
    }

    std::wstring StoredPath() const { return AccountDictDir() + kStoredName; }
    Stored Now() const
    {
        return {ReadFileBytes(StoredPath()), Setting(L"/Dict/InstalledDict"), Setting(L"/Dict/ActiveDict"),
                TempFilesIn(AccountDictDir())};
    }
    Stored Untouched() const { return {std::nullopt, L"<absent>", L"<absent>", {}}; }
    Stored OldCopy() const { return {kOldBytes, kStoredName + L";", kStoredName + L";", {}}; }
    Stored Installed(const std::wstring& source) const
    {
        return {ReadFileBytes(source), kStoredName + L";", kStoredName + L";", {}};
    }

    static inline const ByteVector kOldBytes = {'o', 'l', 'd'};
};

TEST_F(DialogE2eTest, EachAnswerToTheQuestionsEndsWithItsExitCodeAndFiles)
{
    enum class Result { Untouched, OldCopy, Installed };
    struct Row {
        const char* what;
        bool oldCopy;  // an earlier copy is installed before the run
        std::vector<Step> steps;
        int exitCode;
        Result result;
    };
    auto overwrite = [](Action action) { return Step{kConfirmOverwrite, action, L"e2e-confirm-overwrite"}; };
    auto install = [](Action action) { return Step{kConfirmInstall, action, L"e2e-confirm-install"}; };
    auto success = [](Action action) { return Step{kInstallSuccess, action, L"e2e-install-success"}; };
    const Row rows[] = {
        {"installed with button 1", false, {install(Action::Click1), success(Action::Click1)}, 0, Result::Installed},
        {"installed with Enter", false, {install(Action::Enter), success(Action::Enter)}, 0, Result::Installed},
        {"cancelled with button 2", false, {install(Action::Click2)}, 1, Result::Untouched},
        {"cancelled with Esc", false, {install(Action::Escape)}, 1, Result::Untouched},
        {"cancelled with the close box", false, {install(Action::CloseBox)}, 1, Result::Untouched},
        {"overwrite declined with Enter", true, {overwrite(Action::Enter)}, 0, Result::OldCopy},
        {"overwrite declined with button 1", true, {overwrite(Action::Click1)}, 0, Result::OldCopy},
        {"overwrite declined with Esc", true, {overwrite(Action::Escape)}, 0, Result::OldCopy},
        {"overwrite declined with the close box", true, {overwrite(Action::CloseBox)}, 0, Result::OldCopy},
        {"overwrite accepted, install confirmed", true,
         {overwrite(Action::Click1014), install(Action::Click1), success(Action::Enter)}, 0, Result::Installed},
        {"overwrite accepted, install cancelled", true, {overwrite(Action::Click1014), install(Action::Escape)}, 1,
         Result::OldCopy},
    };
    const std::wstring file = WriteDictionary(L"cities.pvdict");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Uninstall();
        if (row.oldCopy)
            InstallOldCopy();
        const RunOutcome outcome = RunWithDialogs(QuoteArg(file), row.steps);
        EXPECT_EQ(outcome.seen, Expected(row.steps));
        EXPECT_EQ(outcome.exitCode, row.exitCode);
        EXPECT_EQ(Now(), row.result == Result::Installed ? Installed(file)
                         : row.result == Result::OldCopy ? OldCopy()
                                                         : Untouched());
    }
}

// Checks that fail before anything is written: one message, exit code 1, nothing changed.
TEST_F(DialogE2eTest, EachRefusalShowsItsMessageAndChangesNothing)
{
    struct Row {
        const char* what;
        std::wstring args;
        Shown message;
        std::wstring screenshot;
    };
    const Row rows[] = {
        {"no file", L"", kNoFileSpecified, L"e2e-no-file-specified"},
        {"two files", QuoteArg(WriteDictionary(L"a.pvdict")) + L" " + QuoteArg(WriteDictionary(L"b.pvdict")),
         kNoFileSpecified, L"e2e-no-file-specified"},
        {"missing file", QuoteArg(SourceDir() + L"\\missing.pvdict"), kFileNotFound, L"e2e-file-not-found"},
        {"damaged file", QuoteArg(WriteDamaged(L"damaged.pvdict")), kDictDamaged, L"e2e-dict-damaged"},
        {"newer format", QuoteArg(WriteDictionary(L"future.pvdict", 2)), kVersionIncompatible,
         L"e2e-version-incompatible"},
        {"16 MiB file", QuoteArg(WriteDictionary(L"huge.pvdict", 0, 16777216)), kQuotaExceeded,
         L"e2e-quota-exceeded"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::vector<Step> steps = {{row.message, Action::Enter, row.screenshot}};
        const RunOutcome outcome = RunWithDialogs(row.args, steps);
        EXPECT_EQ(outcome.seen, Expected(steps));
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(Now(), Untouched());
    }
}

TEST_F(DialogE2eTest, IndexNearTheQuotaRefusesASmallDictionary)
{
    const std::wstring file = WriteDictionary(L"small.pvdict");
    MakeIndexNearTheQuota(ReadFileBytes(file).value_or(ByteVector{}).size());
    const std::vector<Step> steps = {{kQuotaExceeded, Action::CloseBox, L"e2e-quota-exceeded"}};
    const RunOutcome outcome = RunWithDialogs(QuoteArg(file), steps);
    EXPECT_EQ(outcome.seen, Expected(steps));
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(Now(), Untouched());
}

TEST_F(DialogE2eTest, FolderThatCannotBeMadeFailsTheInstall)
{
    ASSERT_TRUE(WriteFileBytes(Root() + L"\\blocker", {0}));
    SetSetting(L"/Common/accountDataDir", Root() + L"\\blocker\\account");
    const std::vector<Step> steps = {{kInstallFailed, Action::Click1, L"e2e-install-failed"}};
    const RunOutcome outcome = RunWithDialogs(QuoteArg(WriteDictionary(L"cities.pvdict")), steps);
    EXPECT_EQ(outcome.seen, Expected(steps));
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(Now(), Untouched());
    EXPECT_FALSE(FileExists(Root() + L"\\blocker\\account"));
}

// The old stored file is held open without delete sharing, as the input method
// holds a dictionary it has loaded: the replacement fails after the confirmation.
TEST_F(DialogE2eTest, StoredFileThatCannotBeReplacedFailsAfterTheConfirmation)
{
    InstallOldCopy();
    const std::wstring file = WriteDictionary(L"cities.pvdict");
    HANDLE held = ::CreateFileW(StoredPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::vector<Step> steps = {
        {kConfirmOverwrite, Action::Click1014, L"e2e-confirm-overwrite"},
        {kConfirmInstall, Action::Click1, L"e2e-confirm-install"},
        {kInstallFailed, Action::Enter, L"e2e-install-failed"},
    };
    const RunOutcome outcome = RunWithDialogs(QuoteArg(file), steps);
    ::CloseHandle(held);
    EXPECT_EQ(outcome.seen, Expected(steps));
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(Now(), OldCopy());
}

}  // namespace
}  // namespace e2e
