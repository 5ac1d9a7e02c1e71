// The "更多词库>>" link: colours, tooltip, and opening the download page.
#include "DialogDriver.h"
#include "UiTestSupport.h"
#include "UrlRecorder.h"
#include "ui/CMessageDlg.h"
#include "ui/HyperLink.h"
#include "ui/MainUI.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

namespace uitest {
namespace {

constexpr COLORREF kUnset = RGB(1, 2, 3);
constexpr int kLink = 1013;

TEST(ParseAnchorColorTest, ReadsThreeNumbersOrLeavesTheColour)
{
    struct Row {
        const wchar_t* text;
        COLORREF expected;  // kUnset: ignored
    };
    const Row rows[] = {
        {L"10,20,30", RGB(10, 20, 30)},
        {L"0,0,0", RGB(0, 0, 0)},
        {L"255,255,255", RGB(255, 255, 255)},
        {L"256,257,300", RGB(0, 1, 44)},      // modulo 256
        {L"-2,20,30", RGB(254, 20, 30)},      // two's complement byte
        {L" 10, 20, 30", RGB(10, 20, 30)},    // leading blanks as atoi reads them
        {L"10x,20y,30z", RGB(10, 20, 30)},    // trailing text ignored
        {L"a,b,c", RGB(0, 0, 0)},             // no digits read as 0
        {L"10,20,-1", RGB(10, 20, 255)},      // only red and green are checked for -1
        {L"-1,20,30", kUnset},
        {L"10,-1,30", kUnset},
        {L"10,20,", kUnset},                  // nothing after the second comma
        {L"10,20", kUnset},                   // one comma
        {L"102030", kUnset},
        {L"", kUnset},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "\"" << std::string(row.text, row.text + std::wcslen(row.text)) << "\"");
        COLORREF color = kUnset;
        EXPECT_EQ(ui::ParseAnchorColor(row.text, color), row.expected != kUnset);
        EXPECT_EQ(color, row.expected);
    }
}

// Sets or removes one of the link colour values for a scope; restores the old state.
class ScopedAnchorColor {
public:
    ScopedAnchorColor(const wchar_t* name, const wchar_t* value) : name_(name)
    {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
        wchar_t buffer[64] = {};
        DWORD size = sizeof buffer - sizeof(wchar_t);
        if (::RegQueryValueExW(key_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS)
            previous_ = buffer;
        Write(value);
    }
    ~ScopedAnchorColor()
    {
        Write(previous_ ? previous_->c_str() : nullptr);
        ::RegCloseKey(key_);
    }
    ScopedAnchorColor(const ScopedAnchorColor&) = delete;
    ScopedAnchorColor& operator=(const ScopedAnchorColor&) = delete;

private:
    static constexpr wchar_t kKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";
    void Write(const wchar_t* value)
    {
        if (!value) {
            ::RegDeleteValueW(key_, name_);
            return;
        }
        ::RegSetValueExW(key_, name_, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                         static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t)));
    }
    HKEY key_ = nullptr;
    const wchar_t* name_;
    std::optional<std::wstring> previous_;
};

struct ColorCase {
    const char* name;
    const wchar_t* anchorColor;  // null: no value
    COLORREF drawn;
};

class LinkColorTest : public ::testing::TestWithParam<ColorCase> {};

// The underline is a solid run of the link colour, so exact pixels must exist.
TEST_P(LinkColorTest, DrawsTheLabelInTheLinkColour)
{
    ScopedAnchorColor value(L"Anchor Color", GetParam().anchorColor);
    MainUI ui;
    const DialogView view = RunDriven([&] { ui.ShowDictDamaged(); }, Action::Enter, {kLink}, 0);
    ASSERT_TRUE(view.found);
    EXPECT_GT(CountPixels(view, kLink, GetParam().drawn), 5);
}

INSTANTIATE_TEST_SUITE_P(HyperLink, LinkColorTest,
                         ::testing::Values(ColorCase{"default", nullptr, RGB(0, 0, 255)},
                                           ColorCase{"from_registry", L"10,160,30", RGB(10, 160, 30)},
                                           ColorCase{"malformed_ignored", L"10,160,", RGB(0, 0, 255)},
                                           ColorCase{"too_long_ignored", L"010,0160,030", RGB(0, 0, 255)}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ToolSearch {
    HWND link;
    std::wstring text = L"<no tool>";
};

// Stops at the tooltip window that has a tool for the searched link.
BOOL CALLBACK FindLinkTool(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<ToolSearch*>(param);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (std::wstring(name) != TOOLTIPS_CLASSW)
        return TRUE;
    const auto count = ::SendMessageW(window, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.lpszText = text;
        if (::SendMessageW(window, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool)) && tool.hwnd == search->link) {
            search->text = text;
            return FALSE;
        }
    }
    return TRUE;
}

// The text of the tool that a tooltip window of the link's thread has for the link.
std::wstring ToolTipText(HWND link)
{
    ToolSearch search{link};
    ::EnumThreadWindows(::GetWindowThreadProcessId(link, nullptr), FindLinkTool, reinterpret_cast<LPARAM>(&search));
    return search.text;
}

TEST(HyperLinkTest, ClickingOpensTheDownloadPageAndMarksTheLinkVisited)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring record = std::wstring(temp) + L"ui_tests_url.txt";
    ScopedUrlRecorder recorder(record);
    ASSERT_TRUE(recorder.Installed());

    MainUI ui;
    std::wstring tip;
    std::wstring opened;
    bool openAfterClick = false;
    DialogView visited;
    const DialogView view = RunDriven([&] { ui.ShowInstallFailed(); }, Action::Enter, {kLink}, 0, L"",
                                      [&](DialogView& v) {
                                          HWND link = ::GetDlgItem(v.dialog, kLink);
                                          tip = ToolTipText(link);
                                          // A click on the label's first pixels.
                                          ::PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
                                          ::PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
                                          for (int i = 0; i < 200 && opened.empty(); ++i) {
                                              ::Sleep(50);
                                              opened = ReadRecordedUrls(record);
                                          }
                                          openAfterClick = ::IsWindow(v.dialog) && ::IsWindowVisible(v.dialog);
                                          WaitForPaint(v.dialog);
                                          visited = v;
                                          visited.capture = CaptureClient(v.dialog);
                                          SaveScreenshot(CaptureWindow(v.dialog), L"link-visited");
                                      });
    ::DeleteFileW(record.c_str());
    ASSERT_TRUE(view.found);
    EXPECT_EQ(tip, ui::kMoreDictUrl);
    EXPECT_EQ(opened, std::wstring(ui::kMoreDictUrl) + L"\n");
    EXPECT_TRUE(openAfterClick) << "opening the link must not close the dialog";
    EXPECT_GT(CountPixels(view, kLink, RGB(0, 0, 255)), 5) << "before the click";
    EXPECT_GT(CountPixels(visited, kLink, RGB(128, 0, 128)), 5) << "after the click";
    EXPECT_EQ(CountPixels(visited, kLink, RGB(0, 0, 255)), 0) << "after the click";
}

TEST(HyperLinkTest, AHiddenLinkIsNeitherDrawnNorHit)
{
    MainUI ui;
    bool hit = true;
    const DialogView view = RunDriven([&] { ui.ShowNoFileSpecified(); }, Action::Enter, {kLink}, 0, L"",
                                      [&](DialogView& v) {
                                          POINT label{v.rects[kLink].left + 2, v.rects[kLink].top + 2};
                                          ::ClientToScreen(v.dialog, &label);
                                          hit = ::WindowFromPoint(label) == ::GetDlgItem(v.dialog, kLink);
                                      });
    ASSERT_TRUE(view.found);
    EXPECT_FALSE(view.visible.at(kLink));
    EXPECT_FALSE(hit) << "the mouse reaches the hidden link";
    EXPECT_EQ(CountPixels(view, kLink, RGB(0, 0, 255)), 0);
}

}  // namespace
}  // namespace uitest
