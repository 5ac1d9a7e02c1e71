// lexinst.exe opened on a dictionary file as the shell does: each dialog it shows
// is read and answered from here through the window API and photographed, and
// the run is judged by its exit code, the stored file and the dictionary lists.
#include "DialogDriver.h"
#include "EngineE2eFixture.h"
#include "ui/CMessageDlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace uitest {
namespace {

using namespace e2e;

const std::wstring kStoredName = StoredName(4321, 1, 2, 0);
const ByteVector kOldBytes = {'o', 'l', 'd'};

::testing::AssertionResult Same(const std::wstring& got, const std::wstring& want)
{
    if (got == want)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\n got: " << ToUtf8(got) << "\nwant: " << ToUtf8(want);
}

// One line: caption | texts | buttons shown | link | picture.
std::wstring Describe(HWND dialog)
{
    const bool information = ::GetDlgItem(dialog, 1003) != nullptr;
    std::wstring line = ReadText(dialog);
    for (int id : information ? std::vector<int>{1003, 1004, 1005, 1007, 1008} : std::vector<int>{1011})
        line += L" | " + ReadText(::GetDlgItem(dialog, id));
    line += L" | " + ReadText(::GetDlgItem(dialog, IDOK));
    if (HWND second = ::GetDlgItem(dialog, information ? IDCANCEL : 1014); IsShown(second))
        line += L" / " + ReadText(second);
    line += IsShown(::GetDlgItem(dialog, 1013)) ? L" | link | " : L" | no link | ";
    return line + ShownPicture(::GetDlgItem(dialog, information ? 1009 : 1012));
}

struct Message {
    const wchar_t* shown;
    const wchar_t* screenshot;
};

#define MESSAGE_CAPTION L"Pelvo输入法分类词库 | "
#define FAILED_CAPTION L"词库安装失败 | "
const Message kConfirmInstall{L"安装Pelvo输入法分类词库 | 城市地名 | 词条数： | 4 | 北京 上海 广州 深圳 ... | "
                              L"收录全国各省市的地名，适合经常输入地址的用户。 | 确定 / 取消 | no link | package",
                              L"dialog-confirm-install"};
const Message kConfirmOverwrite{MESSAGE_CAPTION L"您已安装最新版本。 | 确定 / 覆盖安装 | link | information",
                                L"dialog-confirm-overwrite"};
const Message kSuccess{MESSAGE_CAPTION L"您已成功安装\r\n城市地名 分类词库。 | 完成 | link | success",
                       L"dialog-install-success"};
const Message kFailed{MESSAGE_CAPTION L"词库安装失败 | 确定 | link | warning", L"dialog-install-failed"};
const Message kNoFile{MESSAGE_CAPTION L"请指定待安装的词库文件。 | 确定 | no link | information",
                      L"dialog-no-file-specified"};
const Message kNotFound{FAILED_CAPTION L"指定的词库文件不存在！ | 确定 | no link | warning", L"dialog-file-not-found"};
const Message kDamaged{FAILED_CAPTION L"分类词库已损坏，请重新下载。 | 确定 | link | warning", L"dialog-dict-damaged"};
const Message kIncompatible{FAILED_CAPTION L"检测到本地输入法版本与词库文件不兼容，请升级到最新版本。 | 确定 | no link | warning",
                            L"dialog-version-incompatible"};
const Message kQuota{FAILED_CAPTION L"超出词库容量限额，请尝试在词库管理界面中删除一些不需要的分类词库。 | 确定 | no link | warning",
                     L"dialog-quota-exceeded"};

struct Step {
    Message message;
    Action action;
};

// Starts lexinst.exe, answers the dialogs of `steps` in order and gives what they
// showed, a line each, then the exit code. A dialog that differs from its step
// still gets the step's answer, and one more than expected is closed: a run never hangs.
std::wstring RunAnswering(const std::wstring& args, const std::vector<Step>& steps)
{
    Process process = Start(LexinstPath(), args);
    std::wstring seen;
    HWND previous = nullptr;
    for (const Step& step : steps) {
        HWND dialog = WaitForDialog(process.Pid(), previous);
        if (!dialog)
            break;
        seen += Describe(dialog) + L"\n";
        SaveScreenshot(Shot(dialog), step.message.screenshot);
        Perform(dialog, step.action);
        WaitUntilClosed(dialog);
        previous = dialog;
    }
    if (::WaitForSingleObject(process.Handle(), 3000) == WAIT_TIMEOUT) {
        if (HWND extra = WaitForDialog(process.Pid(), previous)) {
            seen += Describe(extra) + L"\n";
            Perform(extra, Action::CloseBox);
        }
    }
    return seen + L"exit code " + std::to_wstring(process.Wait(30000));
}

class LexinstDialogTest : public EngineE2eTest {
protected:
    static ByteVector Dictionary(uint16_t formatLevel = 0)
    {
        DictBytes dict;
        dict.Name(u"城市地名").Description(u"收录全国各省市的地名，适合经常输入地址的用户。").Identity(4321, 1, 2, 0);
        dict.Word(u"北京").Word(u"上海").Word(u"广州").Word(u"深圳");
        dict.header.formatLevel = formatLevel;
        return dict.Bytes();
    }
    static ByteVector Damaged()
    {
        ByteVector bytes = Dictionary();
        bytes[0] ^= 0xFF;  // the magic
        return bytes;
    }
    std::wstring StoredNow(const ByteVector& source) const
    {
        const auto file = ReadFileBytes(AccountDictDir() + kStoredName);
        return std::wstring(L"stored ") + (!file ? L"nothing" : *file == kOldBytes ? L"old copy" : *file == source ? L"new copy" : L"other") +
               L", installed " + Setting(L"/Dict/InstalledDict") + L", active " + Setting(L"/Dict/ActiveDict") + L", " +
               std::to_wstring(ListFolder(AccountDictDir(), L"tmp*.tmp").size()) + L" temporary files";
    }
};

TEST_F(LexinstDialogTest, EachMessageAndAnswerEndsWithItsExitCodeAndFiles)
{
    enum class Before { Nothing, SameVersion, FolderBlocked };
    struct Row {
        const char* what;
        Before before;
        std::wstring args;
        std::vector<Step> steps;
        int exitCode;
        std::wstring stored;
    };
    const ByteVector source = Dictionary();
    const std::wstring file = QuoteArg(WriteSource(L"cities.pvdict", source));
    ByteVector huge = source;
    huge.resize(16 << 20);
    const std::wstring untouched = L"stored nothing, installed <absent>, active <absent>, 0 temporary files";
    const std::wstring listed = L", installed " + kStoredName + L";, active " + kStoredName + L";, 0 temporary files";
    const std::wstring oldCopy = L"stored old copy" + listed, newCopy = L"stored new copy" + listed;
    const Step overwrite{kConfirmOverwrite, Action::Second};
    const Row rows[] = {
        {"installed with button 1", Before::Nothing, file, {{kConfirmInstall, Action::Ok}, {kSuccess, Action::Ok}}, 0, newCopy},
        {"installed with Enter", Before::Nothing, file, {{kConfirmInstall, Action::Enter}, {kSuccess, Action::Enter}}, 0, newCopy},
        {"cancelled with button 2", Before::Nothing, file, {{kConfirmInstall, Action::Second}}, 1, untouched},
        {"cancelled with Esc", Before::Nothing, file, {{kConfirmInstall, Action::Escape}}, 1, untouched},
        {"cancelled with the close box", Before::Nothing, file, {{kConfirmInstall, Action::CloseBox}}, 1, untouched},
        {"overwrite declined with Enter", Before::SameVersion, file, {{kConfirmOverwrite, Action::Enter}}, 0, oldCopy},
        {"overwrite declined with button 1", Before::SameVersion, file, {{kConfirmOverwrite, Action::Ok}}, 0, oldCopy},
        {"overwrite declined with Esc", Before::SameVersion, file, {{kConfirmOverwrite, Action::Escape}}, 0, oldCopy},
        {"overwrite declined with the close box", Before::SameVersion, file, {{kConfirmOverwrite, Action::CloseBox}}, 0, oldCopy},
        {"overwrite accepted, install confirmed", Before::SameVersion, file,
         {overwrite, {kConfirmInstall, Action::Ok}, {kSuccess, Action::Enter}}, 0, newCopy},
        {"overwrite accepted, install cancelled", Before::SameVersion, file, {overwrite, {kConfirmInstall, Action::Escape}}, 1, oldCopy},
        {"folder cannot be made", Before::FolderBlocked, file, {{kFailed, Action::Ok}}, 1, untouched},
        {"no file", Before::Nothing, L"", {{kNoFile, Action::Enter}}, 1, untouched},
        {"two files", Before::Nothing, file + L" " + file, {{kNoFile, Action::Enter}}, 1, untouched},
        {"missing file", Before::Nothing, QuoteArg(SourceDir() + L"\\missing.pvdict"), {{kNotFound, Action::Enter}}, 1, untouched},
        {"damaged file", Before::Nothing, QuoteArg(WriteSource(L"damaged.pvdict", Damaged())), {{kDamaged, Action::Enter}}, 1, untouched},
        {"newer format", Before::Nothing, QuoteArg(WriteSource(L"future.pvdict", Dictionary(2))),
         {{kIncompatible, Action::Enter}}, 1, untouched},
        {"16 MiB file", Before::Nothing, QuoteArg(WriteSource(L"huge.pvdict", huge)), {{kQuota, Action::CloseBox}}, 1, untouched},
    };
    ASSERT_TRUE(WriteFileBytes(Root() + L"\\blocker", {0}));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ::DeleteFileW((AccountDictDir() + kStoredName).c_str());
        DeleteSetting(L"/Dict/InstalledDict");
        DeleteSetting(L"/Dict/ActiveDict");
        SetSetting(L"/Common/accountDataDir", Root() + (row.before == Before::FolderBlocked ? L"\\blocker" : L"\\account"));
        if (row.before == Before::SameVersion) {
            MakeAccountDictDir();
            ASSERT_TRUE(WriteFileBytes(AccountDictDir() + kStoredName, kOldBytes));
            SetSetting(L"/Dict/InstalledDict", kStoredName + L";");
            SetSetting(L"/Dict/ActiveDict", kStoredName + L";");
        }
        std::wstring expected;
        for (const Step& step : row.steps)
            expected += step.message.shown + std::wstring(L"\n");
        expected += L"exit code " + std::to_wstring(row.exitCode) + L"\n" + row.stored;
        const std::wstring seen = RunAnswering(row.args, row.steps);
        EXPECT_TRUE(Same(seen + L"\n" + StoredNow(source), expected));
    }
}

// This program stands in for the browser (--record-url): opening the link
// appends the address to a file instead of starting one.
TEST_F(LexinstDialogTest, TheLinkOpensTheDownloadPageOnceAndTurnsToTheVisitedColour)
{
    constexpr COLORREF kLinkColor = RGB(10, 160, 30), kVisitedColor = RGB(200, 40, 0);
    const wchar_t* colorKey = L"Software\\Microsoft\\Internet Explorer\\Settings";
    ScopedRegValue color(HKEY_CURRENT_USER, colorKey, L"Anchor Color", L"10,160,30", 0);
    ScopedRegValue visitedColor(HKEY_CURRENT_USER, colorKey, L"Anchor Color Visited", L"200,40,0", 0);
    const std::wstring record = Root() + L"\\urls.txt";
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    ScopedRegValue browser(HKEY_LOCAL_MACHINE, L"Software\\Classes\\http\\shell\\open\\command", L"",
                           QuoteArg(program) + L" --record-url " + QuoteArg(record) + L" \"%1\"", 0);
    const std::wstring damaged = QuoteArg(WriteSource(L"damaged.pvdict", Damaged()));
    auto recorded = [&] {
        const ByteVector bytes = ReadFileBytes(record).value_or(ByteVector{});
        return std::string(bytes.begin(), bytes.end());
    };
    const struct {
        const char* what;
        UINT message;
        WPARAM wParam;
    } rows[] = {{"click", WM_LBUTTONDOWN, MK_LBUTTON}, {"carriage return", WM_CHAR, 13}, {"space", WM_CHAR, 32}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ::DeleteFileW(record.c_str());
        Process process = Start(LexinstPath(), damaged);
        HWND dialog = WaitForDialog(process.Pid(), nullptr);
        ASSERT_NE(dialog, nullptr);
        HWND link = ::GetDlgItem(dialog, 1013);
        const Capture before = Shot(link);
        ::PostMessageW(link, row.message, row.wParam, MAKELPARAM(2, 2));
        if (row.message == WM_LBUTTONDOWN)
            ::PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        for (int i = 0; i < 200 && recorded().empty(); ++i)
            ::Sleep(50);
        WaitForPaint(dialog);
        const Capture after = Shot(link);  // empty if opening the page closed the dialog
        SaveScreenshot(Shot(dialog), L"dialog-link-visited");
        Perform(dialog, Action::Enter);
        EXPECT_EQ(process.Wait(30000), 1);
        EXPECT_EQ(recorded(), ToUtf8(ui::kMoreDictUrl) + "\n") << "opened once";
        EXPECT_GT(CountPixels(before, kLinkColor), 5) << "before";
        EXPECT_GT(CountPixels(after, kVisitedColor), 5) << "after";
        EXPECT_EQ(CountPixels(after, kLinkColor), 0) << "after";
    }
}

}  // namespace
}  // namespace uitest
