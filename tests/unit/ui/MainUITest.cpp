// What only an in-process run of MainUI shows: the information dialog's painting,
// the owner window, and the success text's limits. The texts, pictures, buttons
// and results of every operation are checked through lexinst.exe (DialogE2eTest).
#include "DialogDriver.h"
#include "UiTestSupport.h"
#include "ui/MainUI.h"
#include "ui/MessageText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace uitest {
namespace {

LONG FontWeight(HWND dialog, int control)
{
    auto font = reinterpret_cast<HFONT>(::SendDlgItemMessageW(dialog, control, WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    return font && ::GetObjectW(font, sizeof logFont, &logFont) ? logFont.lfWeight : 0;
}

TEST(ConfirmInstallContentTest, ShowsTheDictionaryOnTheTwoToneBackground)
{
    constexpr COLORREF kBackground = RGB(243, 250, 255);
    constexpr COLORREF kBand = RGB(194, 227, 250);
    MainUI ui;
    const CellDictInfo info = MakeInfo(u"城市地名大全", u"收录全国各省市县的地名，适合经常输入地址的用户。", 12345,
                                       {L"北京", L"上海", L"广州"});
    LONG weights[3] = {};
    const DialogView view = RunDriven([&] { ui.ConfirmInstall(info); }, Action::Click2, {1003, 1004, 1005, 1007, 1008},
                                      0, L"confirm-install", [&](DialogView& v) {
                                          weights[0] = FontWeight(v.dialog, 1003);
                                          weights[1] = FontWeight(v.dialog, 1005);
                                          weights[2] = FontWeight(v.dialog, 1004);
                                      });
    ASSERT_TRUE(view.found);
    EXPECT_EQ(view.texts.at(1005), L"12345") << "the sum of the three sections";
    EXPECT_EQ(view.texts.at(1007), L"北京 上海 广州 ...");
    EXPECT_EQ(view.texts.at(1008), L"收录全国各省市县的地名，适合经常输入地址的用户。");
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

TEST(MainUIOwnerTest, TheActiveWindowOwnsTheDialogWhichIsCentredOverIt)
{
    MainUI ui;
    EXPECT_EQ(RunDriven([&] { ui.ShowInstallFailed(); }, Action::Enter, {}, 0).owner, nullptr)
        << "no active window: the dialog has no owner";

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
    const DialogView view = RunDriven([&] { ui.ShowInstallFailed(); }, Action::Enter, {}, 0);
    ::DestroyWindow(owner);
    ASSERT_TRUE(view.found);
    EXPECT_EQ(view.owner, owner);
    EXPECT_NEAR((view.window.left + view.window.right) / 2, 100 + 700 / 2, 2);
    EXPECT_NEAR((view.window.top + view.window.bottom) / 2, 120 + 500 / 2, 2);
}

// The name goes into the second line literally, and the whole text stops at 1023 units.
TEST(SuccessMessageTest, NamesTheDictionaryOnTheSecondLine)
{
    const std::wstring prefix = L"您已成功安装\r\n";
    struct Row {
        const char* what;
        std::wstring name;
    };
    const Row rows[] = {
        {"Chinese name", L"城市地名大全"},
        {"printf directives stay literal", L"%s%d%n"},
        {"empty name", L""},
        {"text of 1022 units", std::wstring(1023 - prefix.size() - 6, L'词')},
        {"text of exactly 1023 units", std::wstring(1023 - prefix.size() - 5, L'词')},
        {"name alone fills the limit", std::wstring(1023 - prefix.size(), L'词')},
        {"name of 4000 units", std::wstring(4000, L'词')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::wstring full = prefix + row.name + L" 分类词库。";
        EXPECT_EQ(ui::FormatInstallSuccessMessage(row.name), full.substr(0, 1023));
    }
}

}  // namespace
}  // namespace uitest
