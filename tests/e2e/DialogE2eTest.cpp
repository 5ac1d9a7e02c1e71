// lexinst.exe opened on a dictionary file the way the shell does, its dialogs
// driven from this test program through the window API.
#include "DialogDriver.h"
#include "support/DictBytes.h"
#include "support/E2eSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

using uitest::Action;

constexpr uint32_t kDictId = 4321;
const std::wstring kStoredName = L"4321_1_2_0.pvdict";
const std::wstring kDictName = L"城市地名";
constexpr int kMessage = 1011;
constexpr int kDictNameControl = 1003;

// One dialog the run is expected to show, and how to end it.
struct Step {
    std::wstring caption;
    int control;       // the control whose text identifies the dialog
    std::wstring text;
    Action action;
    std::wstring screenshot;
};

// What the run showed: the caption and identifying text of each dialog.
struct Seen {
    std::wstring caption;
    std::wstring text;
    bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& seen, std::ostream* out)
{
    *out << e2e::ToUtf8(seen.caption) << " / " << e2e::ToUtf8(seen.text);
}

struct RunOutcome {
    int exitCode = e2e::kRunFailed;
    std::vector<Seen> seen;
};

// Starts lexinst.exe with `args`, answers the dialogs of `steps` in order, and
// waits for its exit code. A dialog that differs from the step still gets the
// step's action, so the run ends and the mismatch shows in `seen`.
RunOutcome RunWithDialogs(const std::wstring& args, const std::vector<Step>& steps)
{
    RunOutcome outcome;
    e2e::Process process = e2e::Start(e2e::LexinstPath(), args);
    if (!process.Started())
        return outcome;
    HWND previous = nullptr;
    for (const Step& step : steps) {
        HWND dialog = uitest::WaitForProcessDialog(process.Pid(), previous);
        if (!dialog)
            break;
        outcome.seen.push_back({uitest::ReadText(dialog), uitest::ReadText(::GetDlgItem(dialog, step.control))});
        if (!step.screenshot.empty())
            uitest::SaveScreenshot(uitest::CaptureWindow(dialog), step.screenshot);
        uitest::Perform(dialog, step.action);
        uitest::WaitUntilClosed(dialog);
        previous = dialog;
    }
    outcome.exitCode = process.Wait(30000);
    return outcome;
}

std::vector<Seen> Expected(const std::vector<Step>& steps)
{
    std::vector<Seen> seen;
    for (const Step& step : steps)
        seen.push_back({step.caption, step.text});
    return seen;
}

class DialogE2eTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        e2e::ClearSettings();
        ASSERT_TRUE(e2e::SetSetting(L"/Common/accountDataDir", data_.Path()));
    }
    void TearDown() override { e2e::ClearSettings(); }

    std::wstring WriteDictionary(const std::wstring& fileName, uint16_t formatLevel = 0, bool damaged = false)
    {
        DictBytes bytes;
        bytes.Name(u"城市地名").Description(u"全国城市的名称").Identity(kDictId, 1, 2, 0);
        bytes.Word(u"北京").Word(u"上海");
        bytes.header.formatLevel = formatLevel;
        if (damaged)
            bytes.header.magic[0] = 0;
        const std::wstring path = source_.File(fileName);
        EXPECT_TRUE(e2e::WriteFileBytes(path, bytes.Bytes()));
        return path;
    }
    std::wstring StoredPath() const { return data_.Path() + L"\\dict\\" + kStoredName; }

    e2e::TempDir source_{L"dialog source"};
    e2e::TempDir data_{L"dialog data"};
};

const std::wstring kInstallCaption = L"安装Pelvo输入法分类词库";
const std::wstring kMessageCaption = L"Pelvo输入法分类词库";
const std::wstring kFailedCaption = L"词库安装失败";
const std::wstring kSuccessText = L"您已成功安装\r\n城市地名 分类词库。";
const std::wstring kOverwriteText = L"您已安装最新版本。";

TEST_F(DialogE2eTest, ConfirmedInstallStoresAndListsTheDictionary)
{
    const std::wstring file = WriteDictionary(L"cities.pvdict");
    const std::vector<Step> steps = {
        {kInstallCaption, kDictNameControl, kDictName, Action::Click1, L"e2e-information"},
        {kMessageCaption, kMessage, kSuccessText, Action::Enter, L"e2e-success"},
    };
    const RunOutcome outcome = RunWithDialogs(e2e::QuoteArg(file), steps);
    EXPECT_EQ(outcome.seen, Expected(steps));
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(e2e::FileExists(StoredPath()));
    EXPECT_EQ(e2e::GetSetting(L"/Dict/InstalledDict").value_or(L""), kStoredName + L";");
}

TEST_F(DialogE2eTest, CancelledInstallChangesNothing)
{
    const std::wstring file = WriteDictionary(L"cities.pvdict");
    for (Action action : {Action::Click2, Action::Escape, Action::CloseBox}) {
        SCOPED_TRACE(uitest::ActionName(action));
        const std::vector<Step> steps = {{kInstallCaption, kDictNameControl, kDictName, action, L""}};
        const RunOutcome outcome = RunWithDialogs(e2e::QuoteArg(file), steps);
        EXPECT_EQ(outcome.seen, Expected(steps));
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_FALSE(e2e::FileExists(StoredPath()));
        EXPECT_FALSE(e2e::GetSetting(L"/Dict/InstalledDict").has_value());
    }
}

TEST_F(DialogE2eTest, DecliningTheOverwriteEndsSuccessfullyWithoutChanges)
{
    ASSERT_TRUE(e2e::SetSetting(L"/Dict/InstalledDict", kStoredName + L";"));
    const std::wstring file = WriteDictionary(L"cities.pvdict");
    for (Action action : {Action::Enter, Action::Click1, Action::Escape}) {
        SCOPED_TRACE(uitest::ActionName(action));
        const std::vector<Step> steps = {{kMessageCaption, kMessage, kOverwriteText, action, L"e2e-overwrite"}};
        const RunOutcome outcome = RunWithDialogs(e2e::QuoteArg(file), steps);
        EXPECT_EQ(outcome.seen, Expected(steps));
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_FALSE(e2e::FileExists(StoredPath()));
    }
}

TEST_F(DialogE2eTest, AcceptedOverwriteAsksAgainThenInstalls)
{
    ASSERT_TRUE(e2e::SetSetting(L"/Dict/InstalledDict", kStoredName + L";"));
    const std::wstring file = WriteDictionary(L"cities.pvdict");
    const std::vector<Step> steps = {
        {kMessageCaption, kMessage, kOverwriteText, Action::Click1014, L""},
        {kInstallCaption, kDictNameControl, kDictName, Action::Enter, L""},
        {kMessageCaption, kMessage, kSuccessText, Action::Enter, L""},
    };
    const RunOutcome outcome = RunWithDialogs(e2e::QuoteArg(file), steps);
    EXPECT_EQ(outcome.seen, Expected(steps));
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(e2e::FileExists(StoredPath()));
}

TEST_F(DialogE2eTest, EachFailureShowsItsMessageAndFails)
{
    struct Row {
        const char* what;
        std::wstring args;
        std::wstring caption;
        std::wstring message;
    };
    const Row rows[] = {
        {"no file", L"", kMessageCaption, L"请指定待安装的词库文件。"},
        {"two files", e2e::QuoteArg(WriteDictionary(L"a.pvdict")) + L" " + e2e::QuoteArg(WriteDictionary(L"b.pvdict")),
         kMessageCaption, L"请指定待安装的词库文件。"},
        {"missing file", e2e::QuoteArg(source_.File(L"missing.pvdict")), kFailedCaption, L"指定的词库文件不存在！"},
        {"damaged file", e2e::QuoteArg(WriteDictionary(L"damaged.pvdict", 0, true)), kFailedCaption,
         L"分类词库已损坏，请重新下载。"},
        {"newer format", e2e::QuoteArg(WriteDictionary(L"future.pvdict", 2)), kFailedCaption,
         L"检测到本地输入法版本与词库文件不兼容，请升级到最新版本。"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::vector<Step> steps = {{row.caption, kMessage, row.message, Action::Enter, L""}};
        const RunOutcome outcome = RunWithDialogs(row.args, steps);
        EXPECT_EQ(outcome.seen, Expected(steps));
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_FALSE(e2e::FileExists(StoredPath()));
    }
}

}  // namespace
