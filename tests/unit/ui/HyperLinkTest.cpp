// The "更多词库>>" link: colours, tooltip, and opening the download page.
#include "DialogDriver.h"
#include "UiTestSupport.h"
#include "support/E2eSupport.h"
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
constexpr COLORREF kDefaultColor = RGB(0, 0, 255);
constexpr COLORREF kDefaultVisited = RGB(128, 0, 128);

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
        SCOPED_TRACE(e2e::ToUtf8(L"\"" + std::wstring(row.text) + L"\""));
        COLORREF color = kUnset;
        EXPECT_EQ(ui::ParseAnchorColor(row.text, color), row.expected != kUnset);
        EXPECT_EQ(color, row.expected);
    }
}

constexpr wchar_t kColorKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";

// The link colour as the registry gives it, read when the dialog opens. The
// underline is a solid run of the link colour, so exact pixels must exist.
TEST(LinkColorTest, DrawsTheLabelInTheRegistryColourOrTheDefault)
{
    struct Row {
        const char* what;
        const wchar_t* anchorColor;  // null: no value
        COLORREF drawn;
    };
    const Row rows[] = {
        {"no value", nullptr, kDefaultColor},
        {"from the registry", L"10,160,30", RGB(10, 160, 30)},
        {"malformed value ignored", L"10,160,", kDefaultColor},
        {"value of 12 characters not read", L"010,0160,030", kDefaultColor},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::optional<e2e::ScopedRegValue> value;
        if (row.anchorColor)
            value.emplace(HKEY_CURRENT_USER, kColorKey, L"Anchor Color", row.anchorColor, 0);
        MainUI ui;
        const DialogView view = RunDriven([&] { ui.ShowDictDamaged(); }, Action::Enter, {kLink}, 0);
        ASSERT_TRUE(view.found);
        EXPECT_GT(CountPixels(view, kLink, row.drawn), 5);
    }
}

// Stops at the tooltip window that has a tool for the link (the LPARAM).
BOOL CALLBACK FindLinkTool(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<std::pair<HWND, std::wstring>*>(param);
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
        if (::SendMessageW(window, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool)) && tool.hwnd == search->first) {
            search->second = text;
            return FALSE;
        }
    }
    return TRUE;
}

std::wstring ToolTipText(HWND link)
{
    std::pair<HWND, std::wstring> search{link, L"<no tool>"};
    ::EnumThreadWindows(::GetWindowThreadProcessId(link, nullptr), FindLinkTool, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::wstring ReadRecordedUrls(const std::wstring& file)
{
    const auto bytes = e2e::ReadFileBytes(file).value_or(std::vector<uint8_t>{});
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

// This program stands in for the browser (see --record-url), so opening the
// link leaves the address in a file instead of starting one.
TEST(HyperLinkTest, ClickEnterAndSpaceOpenTheDownloadPageAndMarkTheLinkVisited)
{
    e2e::TempDir temp(L"ui link");
    const std::wstring record = temp.File(L"urls.txt");
    ::SetEnvironmentVariableW(kUrlRecordVariable, record.c_str());
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    e2e::ScopedRegValue browser(HKEY_LOCAL_MACHINE, L"Software\\Classes\\http\\shell\\open\\command", L"",
                                L"\"" + std::wstring(program) + L"\" --record-url \"%1\"", 0);

    struct Row {
        const char* what;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    const Row rows[] = {
        {"click on the label", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)},
        {"carriage return", WM_CHAR, 13, 1},
        {"space", WM_CHAR, 32, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ::DeleteFileW(record.c_str());
        MainUI ui;
        std::wstring tip, opened;
        bool openAfterClick = false;
        DialogView visited;
        const DialogView view = RunDriven([&] { ui.ShowInstallFailed(); }, Action::Enter, {kLink}, 0,
                                          row.message == WM_CHAR ? L"" : L"link-visited", [&](DialogView& v) {
                                              HWND link = ::GetDlgItem(v.dialog, kLink);
                                              tip = ToolTipText(link);
                                              ::PostMessageW(link, row.message, row.wParam, row.lParam);
                                              if (row.message == WM_LBUTTONDOWN)
                                                  ::PostMessageW(link, WM_LBUTTONUP, 0, row.lParam);
                                              for (int i = 0; i < 200 && opened.empty(); ++i) {
                                                  ::Sleep(50);
                                                  opened = ReadRecordedUrls(record);
                                              }
                                              openAfterClick = ::IsWindow(v.dialog) && ::IsWindowVisible(v.dialog);
                                              WaitForPaint(v.dialog);
                                              visited = v;
                                              visited.capture = CaptureClient(v.dialog);
                                          });
        ASSERT_TRUE(view.found);
        EXPECT_EQ(tip, ui::kMoreDictUrl);
        EXPECT_EQ(opened, std::wstring(ui::kMoreDictUrl) + L"\n") << "opened once";
        EXPECT_TRUE(openAfterClick) << "opening the link must not close the dialog";
        EXPECT_GT(CountPixels(view, kLink, kDefaultColor), 5) << "before";
        EXPECT_GT(CountPixels(visited, kLink, kDefaultVisited), 5) << "after";
        EXPECT_EQ(CountPixels(visited, kLink, kDefaultColor), 0) << "after";
    }
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
    EXPECT_EQ(CountPixels(view, kLink, kDefaultColor), 0);
}

}  // namespace
}  // namespace uitest
