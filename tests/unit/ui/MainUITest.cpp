// MainUI's nine operations, each run on this thread and driven from another.
#include "DialogDriver.h"
#include "UiTestSupport.h"
#include "ui/MainUI.h"
#include "ui/MessageText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>

namespace uitest {
namespace {

constexpr COLORREF kBackground = RGB(243, 250, 255);
constexpr COLORREF kBand = RGB(194, 227, 250);
const std::vector<int> kMessageControls = {1, 1011, 1013, 1014};
const std::vector<int> kInfoControls = {1, 2, 1003, 1004, 1005, 1007, 1008, 1009};

// ---- the message operations -------------------------------------------------

struct MessageCase {
    const char* name;
    std::function<void(MainUI&)> show;
    const wchar_t* caption;
    const wchar_t* message;
    const wchar_t* okLabel;
    bool secondButton;
    bool link;
    Picture picture;
};

CellDictInfo SuccessInfo()
{
    return MakeInfo(u"城市地名大全", u"全国城市地名", 100, {});
}

class MessageOperationTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageOperationTest, ShowsItsTextPictureButtonsAndLink)
{
    const MessageCase& expected = GetParam();
    MainUI ui;
    const DialogView view = RunDriven([&] { expected.show(ui); }, Action::Enter, kMessageControls, 1012,
                                      std::wstring(expected.name, expected.name + std::strlen(expected.name)));
    ASSERT_TRUE(view.found);
    EXPECT_TRUE(view.endedByAction) << "Enter did not end the dialog";
    EXPECT_EQ(view.caption, expected.caption);
    EXPECT_EQ(view.texts.at(1011), expected.message);
    EXPECT_EQ(view.texts.at(1), expected.okLabel);
    EXPECT_TRUE(view.visible.at(1));
    EXPECT_EQ(view.visible.at(1014), expected.secondButton);
    EXPECT_EQ(view.visible.at(1013), expected.link);
    EXPECT_EQ(view.picture, expected.picture) << PictureName(view.picture);
    EXPECT_EQ(view.owner, nullptr) << "no active window: the dialog has no owner";
}

const wchar_t kCaption[] = L"Pelvo输入法分类词库";
const wchar_t kFailed[] = L"词库安装失败";

INSTANTIATE_TEST_SUITE_P(
    MainUI, MessageOperationTest,
    ::testing::Values(
        MessageCase{"confirm-overwrite", [](MainUI& ui) { ui.ConfirmOverwrite(); }, kCaption, L"您已安装最新版本。",
                    L"确定", true, true, Picture::Information},
        MessageCase{"install-success", [](MainUI& ui) { ui.ShowInstallSuccess(SuccessInfo()); }, kCaption,
                    L"您已成功安装\r\n城市地名大全 分类词库。", L"完成", false, true, Picture::Success},
        MessageCase{"install-failed", [](MainUI& ui) { ui.ShowInstallFailed(); }, kCaption, kFailed, L"确定", false,
                    true, Picture::Warning},
        MessageCase{"no-file-specified", [](MainUI& ui) { ui.ShowNoFileSpecified(); }, kCaption,
                    L"请指定待安装的词库文件。", L"确定", false, false, Picture::Information},
        MessageCase{"file-not-found", [](MainUI& ui) { ui.ShowFileNotFound(); }, kFailed, L"指定的词库文件不存在！",
                    L"确定", false, false, Picture::Warning},
        MessageCase{"dict-damaged", [](MainUI& ui) { ui.ShowDictDamaged(); }, kFailed,
                    L"分类词库已损坏，请重新下载。", L"确定", false, true, Picture::Warning},
        MessageCase{"version-incompatible", [](MainUI& ui) { ui.ShowVersionIncompatible(); }, kFailed,
                    L"检测到本地输入法版本与词库文件不兼容，请升级到最新版本。", L"确定", false, false,
                    Picture::Warning},
        MessageCase{"quota-exceeded", [](MainUI& ui) { ui.ShowQuotaExceeded(); }, kFailed,
                    L"超出词库容量限额，请尝试在词库管理界面中删除一些不需要的分类词库。", L"确定", false, false,
                    Picture::Warning}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (c == '-')
                c = '_';
        return name;
    });

// ---- the two questions: which way of ending them means yes ------------------

struct AnswerCase {
    Action action;
    bool expected;
};

std::string AnswerName(const ::testing::TestParamInfo<AnswerCase>& info)
{
    std::string name = ActionName(info.param.action);
    for (char& c : name)
        if (c == ' ')
            c = '_';
    return name;
}

class ConfirmOverwriteTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(ConfirmOverwriteTest, IsTrueOnlyForTheSecondButton)
{
    MainUI ui;
    bool result = !GetParam().expected;
    const DialogView view = RunDriven([&] { result = ui.ConfirmOverwrite(); }, GetParam().action, {1014}, 0);
    ASSERT_TRUE(view.found);
    EXPECT_TRUE(view.endedByAction);
    EXPECT_EQ(view.texts.at(1014), L"覆盖安装");
    EXPECT_EQ(result, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(MainUI, ConfirmOverwriteTest,
                         ::testing::Values(AnswerCase{Action::Click1014, true}, AnswerCase{Action::Click1, false},
                                           AnswerCase{Action::Enter, false}, AnswerCase{Action::Escape, false},
                                           AnswerCase{Action::CloseBox, false}),
                         AnswerName);

class ConfirmInstallTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(ConfirmInstallTest, IsTrueOnlyForTheInstallButton)
{
    MainUI ui;
    const CellDictInfo info = MakeInfo(u"成语", u"", 10, {L"一心一意"});
    bool result = !GetParam().expected;
    const DialogView view = RunDriven([&] { result = ui.ConfirmInstall(info); }, GetParam().action, {}, 0);
    ASSERT_TRUE(view.found);
    EXPECT_TRUE(view.endedByAction);
    EXPECT_EQ(result, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(MainUI, ConfirmInstallTest,
                         ::testing::Values(AnswerCase{Action::Click1, true}, AnswerCase{Action::Enter, true},
                                           AnswerCase{Action::Click2, false}, AnswerCase{Action::Escape, false},
                                           AnswerCase{Action::CloseBox, false}),
                         AnswerName);

// ---- the information dialog's content and painting --------------------------

LONG FontWeight(HWND dialog, int control)
{
    auto font = reinterpret_cast<HFONT>(::SendDlgItemMessageW(dialog, control, WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    if (!font || !::GetObjectW(font, sizeof logFont, &logFont))
        return 0;
    return logFont.lfWeight;
}

TEST(ConfirmInstallContentTest, ShowsTheDictionaryOnTheTwoToneBackground)
{
    MainUI ui;
    const CellDictInfo info = MakeInfo(u"城市地名大全", u"收录全国各省市县的地名，适合经常输入地址的用户。", 12345,
                                       {L"北京", L"上海", L"广州"});
    LONG weights[3] = {};
    const DialogView view = RunDriven([&] { ui.ConfirmInstall(info); }, Action::Click2, kInfoControls, 1009,
                                      L"confirm-install", [&](DialogView& v) {
                                          weights[0] = FontWeight(v.dialog, 1003);
                                          weights[1] = FontWeight(v.dialog, 1005);
                                          weights[2] = FontWeight(v.dialog, 1004);
                                      });
    ASSERT_TRUE(view.found);
    EXPECT_EQ(view.caption, L"安装Pelvo输入法分类词库");
    EXPECT_EQ(view.texts.at(1003), L"城市地名大全");
    EXPECT_EQ(view.texts.at(1005), L"12345");
    EXPECT_EQ(view.texts.at(1007), L"北京 上海 广州 ...");
    EXPECT_EQ(view.texts.at(1008), L"收录全国各省市县的地名，适合经常输入地址的用户。");
    EXPECT_EQ(view.texts.at(1004), L"词条数：");
    EXPECT_EQ(view.texts.at(1), L"确定");
    EXPECT_EQ(view.texts.at(2), L"取消");
    EXPECT_EQ(view.picture, Picture::Package) << PictureName(view.picture);
    EXPECT_EQ(weights[0], FW_BOLD) << "name";
    EXPECT_EQ(weights[1], FW_BOLD) << "entry count";
    EXPECT_EQ(weights[2], FW_NORMAL) << "label";

    ASSERT_FALSE(view.capture.Empty());
    const int height = view.capture.height;
    EXPECT_EQ(view.capture.At(2, 2), kBackground);
    EXPECT_EQ(view.capture.At(2, height - 36), kBackground) << "just above the band";
    EXPECT_EQ(view.capture.At(2, height - 35), kBand) << "top row of the band";
    EXPECT_EQ(view.capture.At(view.capture.width - 2, height - 1), kBand);

    // Anti-aliased text: its darkest pixels carry the text colour.
    const COLORREF description = DarkestPixel(view, 1008);
    EXPECT_NEAR(GetRValue(description), 128, 24) << "description is grey";
    EXPECT_NEAR(GetGValue(description), 128, 24);
    EXPECT_LT(GetRValue(DarkestPixel(view, 1003)), 64) << "name keeps the default text colour";
    EXPECT_LT(GetRValue(DarkestPixel(view, 1007)), 64) << "samples keep the default text colour";
}

TEST(ConfirmInstallContentTest, ShowsNoSampleMarkWithoutSamples)
{
    MainUI ui;
    const CellDictInfo info = MakeInfo(u"空", u"", 0, {});
    const DialogView view = RunDriven([&] { ui.ConfirmInstall(info); }, Action::Escape, {1005, 1007}, 0);
    ASSERT_TRUE(view.found);
    EXPECT_EQ(view.texts.at(1007), L"<无>");
    EXPECT_EQ(view.texts.at(1005), L"0");
}

// ---- owner -------------------------------------------------------------------

TEST(MainUIOwnerTest, TheActiveWindowOwnsTheDialogWhichIsCentredOverIt)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"ui_tests_owner";
    ::RegisterClassW(&windowClass);
    HWND owner = ::CreateWindowExW(0, L"ui_tests_owner", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 120, 700,
                                   500, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(owner, nullptr);
    ::SetActiveWindow(owner);
    ASSERT_EQ(::GetActiveWindow(), owner);

    MainUI ui;
    const DialogView view = RunDriven([&] { ui.ShowInstallFailed(); }, Action::Enter, {}, 0);
    ::DestroyWindow(owner);
    ASSERT_TRUE(view.found);
    EXPECT_EQ(view.owner, owner);
    const long ownerCentreX = 100 + 700 / 2, ownerCentreY = 120 + 500 / 2;
    EXPECT_NEAR((view.window.left + view.window.right) / 2, ownerCentreX, 2);
    EXPECT_NEAR((view.window.top + view.window.bottom) / 2, ownerCentreY, 2);
}

// ---- the success text ----------------------------------------------------------

TEST(SuccessMessageTest, NamesTheDictionaryOnTheSecondLine)
{
    struct Row {
        const char* what;
        std::wstring name;
    };
    const Row rows[] = {
        {"Chinese name", L"城市地名大全"},
        {"printf directives stay literal", L"%s%d%n"},
        {"empty name", L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(ui::FormatInstallSuccessMessage(row.name), L"您已成功安装\r\n" + row.name + L" 分类词库。");
    }
}

TEST(SuccessMessageTest, IsCutAt1023Units)
{
    const std::wstring prefix = L"您已成功安装\r\n";
    for (size_t length : {1023 - prefix.size() - 6, 1023 - prefix.size() - 5, 1023 - prefix.size(), size_t{4000}}) {
        SCOPED_TRACE("name of " + std::to_string(length) + " units");
        const std::wstring name(length, L'词');
        const std::wstring full = prefix + name + L" 分类词库。";
        const std::wstring text = ui::FormatInstallSuccessMessage(name);
        EXPECT_EQ(text, full.substr(0, 1023));
    }
}

}  // namespace
}  // namespace uitest
