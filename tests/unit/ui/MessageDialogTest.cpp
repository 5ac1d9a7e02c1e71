// The two dialog classes run directly, with parameters MainUI never passes.
#include "DialogDriver.h"
#include "ui/CMainDlg.h"
#include "ui/CMessageDlg.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace uitest {
namespace {

struct StyleCase {
    uint32_t styleFlags;
    Picture picture;
    bool secondButton;
};

class MessageStyleTest : public ::testing::TestWithParam<StyleCase> {};

TEST_P(MessageStyleTest, ChoosesPictureAndSecondButton)
{
    CMessageDlg dialog(L"text", GetParam().styleFlags, true, L"", L"", L"");
    INT_PTR result = 0;
    const DialogView view = RunDriven([&] { result = dialog.DoModal(nullptr); }, Action::Escape, {1014}, 1012);
    ASSERT_TRUE(view.found);
    EXPECT_EQ(view.picture, GetParam().picture) << PictureName(view.picture);
    EXPECT_EQ(view.visible.at(1014), GetParam().secondButton);
    EXPECT_EQ(result, IDCANCEL) << "Esc";
}

INSTANTIATE_TEST_SUITE_P(CMessageDlg, MessageStyleTest,
                         // Flags MainUI never passes; its own are covered by MainUITest.
                         ::testing::Values(StyleCase{0x01, Picture::Success, true},
                                           StyleCase{0x20, Picture::Warning, false},
                                           StyleCase{0x30, Picture::Warning, false},
                                           StyleCase{0x50, Picture::Information, false}),
                         [](const auto& info) { return "flags_" + std::to_string(info.param.styleFlags); });

TEST(CMessageDlgTest, EmptyTextsKeepTheTemplateAndContinueTextAppliesToAHiddenButton)
{
    CMessageDlg dialog(L"", 0x10, false, L"", L"", L"再来");
    INT_PTR result = 0;
    const DialogView view =
        RunDriven([&] { result = dialog.DoModal(nullptr); }, Action::CloseBox, {1, 1011, 1013, 1014}, 0);
    ASSERT_TRUE(view.found);
    EXPECT_EQ(view.caption, L"Pelvo输入法分类词库");
    EXPECT_EQ(view.texts.at(1), L"确定");
    EXPECT_EQ(view.texts.at(1011), L"");
    EXPECT_EQ(view.texts.at(1014), L"再来");
    EXPECT_FALSE(view.visible.at(1014));
    EXPECT_FALSE(view.visible.at(1013));
    EXPECT_EQ(result, IDCANCEL) << "close box";
}

TEST(CMainDlgTest, WithoutADictionaryKeepsTheTemplateTexts)
{
    CMainDlg dialog(nullptr);
    INT_PTR result = 0;
    const DialogView view =
        RunDriven([&] { result = dialog.DoModal(nullptr); }, Action::Enter, {1003, 1005, 1007, 1008}, 0);
    ASSERT_TRUE(view.found);
    EXPECT_EQ(view.texts.at(1003), L"<词库名称>");
    EXPECT_EQ(view.texts.at(1005), L"<词条数>");
    EXPECT_EQ(view.texts.at(1007), L"<无>");
    EXPECT_EQ(view.texts.at(1008), L"<词库说明>");
    EXPECT_EQ(result, IDOK);
}

}  // namespace
}  // namespace uitest
