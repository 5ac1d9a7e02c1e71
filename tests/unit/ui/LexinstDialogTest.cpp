// lexinst.exe opened on a dictionary file as the shell does: each dialog it shows
// is read through the window API, judged by its pixels on the screen,
// photographed and answered from here, and the run is judged by its exit code,
// the stored file and the dictionary lists.
//
// The program is also the stand-in browser that the test registers for the link:
// "ui_tests --record-url FILE URL" appends URL and a line end to FILE.
#include "support/EngineE2eFixture.h"
#include "ui/CMainDlg.h"
#include "ui/CMessageDlg.h"
#include "win/ScopedGdi.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace e2e;

// ---- the driver -------------------------------------------------------------

// Pixels of a window as the screen shows it, rows top-down.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
};

template <typename Done>
bool WaitFor(Done done)  // for up to 10 s
{
    for (int step = 0; step < 200; ++step, ::Sleep(50)) {
        if (done())
            return true;
    }
    return false;
}

bool IsShown(HWND window) { return window && ::IsWindowVisible(window); }

// Paints what is pending now (sent to the dialog's thread), then gives the X
// server time to show it.
void WaitForPaint(HWND dialog)
{
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::Sleep(300);
}

// The first shown dialog of `processId` other than `previous`, once painted; null after 10 s.
HWND WaitForDialog(DWORD processId, HWND previous)
{
    HWND found = nullptr;
    const auto find = [&] {
        while ((found = ::FindWindowExW(nullptr, found, L"#32770", nullptr))) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(found, &owner);
            if (owner == processId && found != previous && IsShown(found))
                return true;
        }
        return false;
    };
    if (WaitFor(find))
        WaitForPaint(found);
    return found;
}

std::wstring ReadText(HWND window)
{
    wchar_t buffer[2048] = {};
    ::SendMessageW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

Capture ShotOf(RECT area)  // in screen coordinates
{
    Capture capture;
    if (area.right <= area.left || area.bottom <= area.top)
        return capture;
    capture.width = area.right - area.left;
    capture.height = area.bottom - area.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    if (const win::UniqueBitmap bitmap{::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0)}) {
        HGDIOBJ previous = ::SelectObject(memory, bitmap.Get());
        ::BitBlt(memory, 0, 0, capture.width, capture.height, screen, area.left, area.top, SRCCOPY);
        ::GdiFlush();
        const auto* bgra = static_cast<const uint8_t*>(bits);
        for (int i = 0; i < capture.width * capture.height; ++i, bgra += 4)
            capture.pixels.push_back(RGB(bgra[2], bgra[1], bgra[0]));
        ::SelectObject(memory, previous);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return capture;
}

Capture Shot(HWND window)
{
    RECT area{};
    return ::GetWindowRect(window, &area) ? ShotOf(area) : Capture{};
}

// Saves <build>/screenshots/<name>.ppm (binary RGB).
void SaveScreenshot(const Capture& capture, const std::wstring& name)
{
    const char* build = std::getenv("LEXINST_BINARY_DIR");
    std::wstring dir = L"Z:";  // the build folder as Wine's Z: drive shows it
    for (const char* p = build ? build : ""; *p; ++p)
        dir += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    dir += L"\\screenshots";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    FILE* out = build && !capture.pixels.empty() ? _wfopen((dir + L"\\" + name + L".ppm").c_str(), L"wb") : nullptr;
    if (out) {
        std::fprintf(out, "P6\n%d %d\n255\n", capture.width, capture.height);
        for (COLORREF pixel : capture.pixels)
            std::fputc(GetRValue(pixel), out), std::fputc(GetGValue(pixel), out), std::fputc(GetBValue(pixel), out);
        std::fclose(out);
    }
}

// The picture a control shows, by the average colour of its saturated pixels
// (the background, the white symbol and grey edges do not count).
bool IsSaturated(COLORREF p)
{
    return std::max({GetRValue(p), GetGValue(p), GetBValue(p)}) -
               std::min({GetRValue(p), GetGValue(p), GetBValue(p)}) >=
           60;
}

std::wstring ShownPicture(HWND control)
{
    long r = 0, g = 0, b = 0, count = 0;
    for (COLORREF pixel : IsShown(control) ? Shot(control).pixels : std::vector<COLORREF>{}) {
        if (IsSaturated(pixel))
            r += GetRValue(pixel), g += GetGValue(pixel), b += GetBValue(pixel), ++count;
    }
    if (count == 0)
        return L"none";
    if (g > r && g > b)
        return L"success";
    if (b > r && b > g)
        return L"information";
    return g / count < 100 ? L"warning" : L"package";
}

// ---- the layout at a DPI ---------------------------------------------------

int Scaled(int pixels, UINT dpi) { return ::MulDiv(pixels, static_cast<int>(dpi), 96); }

// Width of the picture's coloured shape against the width it has at `dpi`:
// the package spans 72 % of its picture, the badges 84 %.
std::wstring JudgePicture(HWND control, UINT dpi)
{
    const Capture shot = Shot(control);
    int left = shot.width, right = -1;
    for (int i = 0; i < static_cast<int>(shot.pixels.size()); ++i) {
        if (IsSaturated(shot.pixels[i]))
            left = std::min(left, i % shot.width), right = std::max(right, i % shot.width);
    }
    const double share = ::GetDlgCtrlID(control) == 1009 ? 0.72 : 0.84;
    const int width = right - left + 1, expected = static_cast<int>(share * Scaled(64, dpi) + 0.5);
    return std::abs(width - expected) <= 3
               ? L""
               : L" | picture " + std::to_wstring(width) + L" px, not " + std::to_wstring(expected);
}

// The band's height at the left edge, and each shown button inside it (at
// 100 % the template puts the buttons' top edge a pixel above the band with
// this font, so one pixel is allowed).
std::wstring JudgeBand(HWND dialog, UINT dpi)
{
    RECT client{};
    ::GetClientRect(dialog, &client);
    ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const Capture shot = ShotOf(client);
    int band = 0;
    while (band < shot.height && shot.pixels[(shot.height - 1 - band) * shot.width + 1] == RGB(194, 227, 250))
        ++band;
    std::wstring problems;
    if (std::abs(band - Scaled(35, dpi)) > 1)
        problems += L" | band " + std::to_wstring(band) + L" px, not " + std::to_wstring(Scaled(35, dpi));
    for (int id : {IDOK, IDCANCEL, 1014}) {
        RECT button{};
        if (HWND control = ::GetDlgItem(dialog, id);
            IsShown(control) && ::GetWindowRect(control, &button) &&
            (button.top < client.bottom - band - 1 || button.bottom > client.bottom))
            problems += L" | button " + std::to_wstring(id) + L" outside the band";
    }
    return problems;
}

// Each control's text measured in the dialogs' font at `dpi` (bold where the
// dialog makes it bold), wrapped where the control wraps, against the control;
// in this process's dialogs, also the control's font against that font.
std::wstring JudgeTexts(HWND dialog, UINT dpi)
{
    std::wstring problems;
    const win::ScopedWindowDC screen(nullptr);
    HDC dc = screen.Get();
    for (HWND control = ::GetWindow(dialog, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        const LONG style = ::GetWindowLongW(control, GWL_STYLE);
        const int id = ::GetDlgCtrlID(control);
        wchar_t className[16] = {};
        ::GetClassNameW(control, className, 16);
        const bool button = std::wstring(className) == L"Button";
        if (!IsShown(control) || (!button && (style & SS_TYPEMASK) == SS_BITMAP))
            continue;
        const int height = -::MulDiv(9, static_cast<int>(dpi), 72), weight = id == 1003 || id == 1005 ? 700 : 400;
        const win::UniqueFont font{
            ::CreateFontW(height, 0, 0, 0, weight, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"WenQuanYi Zen Hei")};
        const win::ScopedSelect selected(dc, font.Get());
        RECT client{}, text{};
        ::GetClientRect(control, &client);
        text.right = client.right - (button ? 4 : 0);  // inside the button's frame
        const bool wraps = !button && (style & (SS_TYPEMASK | SS_ELLIPSISMASK)) == SS_LEFT;
        const std::wstring label = ReadText(control);
        ::DrawTextW(dc, label.c_str(), -1, &text, DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
        if (text.right > client.right || text.bottom > client.bottom)
            problems += L" | text of " + std::to_wstring(id) + L" larger than its control";
        // A dialog of this process also shows its font, which must be the one measured.
        DWORD process = 0;
        LOGFONTW shown{};
        ::GetWindowThreadProcessId(control, &process);
        const auto shownFont = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
        if (process == ::GetCurrentProcessId() && ::GetObjectW(shownFont, sizeof shown, &shown) &&
            (shown.lfHeight != height || shown.lfWeight != weight))
            problems += L" | font of " + std::to_wstring(id) + L" " + std::to_wstring(shown.lfHeight);
    }
    return problems;
}

// Empty when the dialog is laid out for `dpi`; otherwise what is not.
std::wstring JudgeLayout(HWND dialog, UINT dpi)
{
    HWND picture = ::GetDlgItem(dialog, ::GetDlgItem(dialog, 1009) ? 1009 : 1012);
    return JudgePicture(picture, dpi) + JudgeBand(dialog, dpi) + JudgeTexts(dialog, dpi);
}

// Second: "取消" of the information dialog, the second button of a message.
// The last three open the link, which leaves the dialog open; the keyboard
// reaches it with the arrow keys (it has no tab stop) and opens it with Space.
enum class Action { Ok, Second, Enter, Escape, CloseBox, ClickLink, ReturnOnLink, KeysToLink };

void Perform(HWND dialog, Action action)
{
    // Keys go to the control with the focus, where the dialog manager's loop sees them.
    const auto focus = [dialog] {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        const bool found = ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &thread);
        return found && thread.hwndFocus ? thread.hwndFocus : dialog;
    };
    const auto key = [&](UINT vk) {
        HWND target = focus();
        ::PostMessageW(target, WM_KEYDOWN, vk, 1);
        ::PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
        ::Sleep(200);  // the focus moves before the next key looks for it
    };
    HWND second = ::GetDlgItem(dialog, IDCANCEL) ? ::GetDlgItem(dialog, IDCANCEL) : ::GetDlgItem(dialog, 1014);
    HWND link = ::GetDlgItem(dialog, 1013);
    switch (action) {
    case Action::Ok: ::PostMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); break;
    case Action::Second: ::PostMessageW(second, BM_CLICK, 0, 0); break;
    case Action::Enter: key(VK_RETURN); break;
    case Action::Escape: key(VK_ESCAPE); break;
    case Action::CloseBox: ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case Action::ClickLink:
        ::PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        break;
    case Action::ReturnOnLink: ::PostMessageW(link, WM_CHAR, VK_RETURN, 1); break;
    case Action::KeysToLink:
        for (int presses = 0; presses < 3 && focus() != link; ++presses)
            key(VK_RIGHT);
        key(VK_SPACE);
        break;
    }
}

// ---- the scenarios ----------------------------------------------------------

const std::wstring kStoredName = StoredName(4321, 1, 2, 0);
const ByteVector kOldBytes = {'o', 'l', 'd'};

// The link's colours, set in the registry for a test.
constexpr COLORREF kLinkColor = RGB(0, 0, 238), kVisitedColor = RGB(85, 26, 139);
struct ScopedLinkColors {
    static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Internet Explorer\\Settings";
    ScopedRegValue plain{HKEY_CURRENT_USER, kKey, L"Anchor Color", L"0,0,238", 0};
    ScopedRegValue visited{HKEY_CURRENT_USER, kKey, L"Anchor Color Visited", L"85,26,139", 0};
};

// The display scale of the programs started from now on, where Wine reads it.
void SetLogPixels(DWORD dpi)
{
    ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts",
                      L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
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
    const std::vector<COLORREF> link = Shot(::GetDlgItem(dialog, 1013)).pixels;
    const bool plain = std::ranges::count(link, kLinkColor), visited = std::ranges::count(link, kVisitedColor);
    line += !IsShown(::GetDlgItem(dialog, 1013)) ? L" | no link | "
            : plain == visited                   ? L" | link in other colours | "
                                                 : (visited ? L" | visited link | " : L" | link | ");
    return line + ShownPicture(::GetDlgItem(dialog, information ? 1009 : 1012));
}

struct Message {
    std::wstring shown;
    const wchar_t* screenshot;
};

const std::wstring kTitle = L"Pelvo输入法分类词库 | ", kFailedTitle = L"词库安装失败 | ";
// Ten samples: the last one and " ..." need a second line, at every DPI.
const Message kConfirmInstall{L"安装Pelvo输入法分类词库 | 城市地名 | 词条数： | 10 | "
                              L"北京 上海 广州 深圳 天津 重庆 南京 杭州 成都\r\n武汉 ... | "
                              L"收录全国各省市的地名，适合经常输入地址的用户。 | 确定 / 取消 | no link | package",
                              L"dialog-confirm-install"};
const Message kConfirmOverwrite{kTitle + L"您已安装最新版本。 | 确定 / 覆盖安装 | link | information",
                                L"dialog-confirm-overwrite"};
const Message kSuccess{kTitle + L"您已成功安装\r\n城市地名 分类词库。 | 完成 | link | success",
                       L"dialog-install-success"};
const Message kFailed{kTitle + L"词库安装失败 | 确定 | link | warning", L"dialog-install-failed"};
const Message kNoFile{kTitle + L"请指定待安装的词库文件。 | 确定 | no link | information", L"dialog-no-file-specified"};
const Message kNotFound{kFailedTitle + L"指定的词库文件不存在！ | 确定 | no link | warning", L"dialog-file-not-found"};
const Message kDamaged{kFailedTitle + L"分类词库已损坏，请重新下载。 | 确定 | link | warning", L"dialog-dict-damaged"};
const Message kIncompatible{kFailedTitle + L"检测到本地输入法版本与词库文件不兼容，请升级到最新版本。 | "
                                           L"确定 | no link | warning",
                            L"dialog-version-incompatible"};
const Message kQuota{kFailedTitle + L"超出词库容量限额，请尝试在词库管理界面中删除一些不需要的分类词库。 | "
                                    L"确定 | no link | warning",
                     L"dialog-quota-exceeded"};

struct Step {
    Message message;
    Action action;
};

class LexinstDialogTest : public EngineE2eTest {
protected:
    static ByteVector Dictionary(uint16_t formatLevel = 0)
    {
        DictBytes dict;
        dict.Name(u"城市地名").Description(u"收录全国各省市的地名，适合经常输入地址的用户。").Identity(4321, 1, 2, 0);
        for (const char16_t* city :
             {u"北京", u"上海", u"广州", u"深圳", u"天津", u"重庆", u"南京", u"杭州", u"成都", u"武汉"})
            dict.Word(city);
        dict.header.formatLevel = formatLevel;
        return dict.Bytes();
    }
    // Where the stand-in browser records the pages it is asked to open.
    std::wstring Opened() const { return Root() + L"\\opened.txt"; }

    // Starts lexinst.exe, answers the dialogs of `steps` in order and gives what they
    // showed, a line each (and again after the link is opened), then the exit code.
    // A dialog that differs from its step still gets the step's answer; a run that
    // waits on a dialog more than expected is ended after 30 s (exit code -2).
    // At another `dpi` each line also says what of the layout does not suit it,
    // and the screenshots are named for the DPI.
    std::wstring RunAnswering(const std::wstring& args, const std::vector<Step>& steps, UINT dpi = 0) const
    {
        Process process = Start(LexinstPath(), args);
        std::wstring seen;
        HWND previous = nullptr;
        for (const Step& step : steps) {
            HWND dialog = WaitForDialog(process.Pid(), previous);
            if (!dialog)
                break;
            seen += Describe(dialog) + (dpi ? JudgeLayout(dialog, dpi) : L"") + L"\n";
            const std::wstring suffix = dpi ? L"-" + std::to_wstring(dpi) + L"dpi" : L"";
            SaveScreenshot(Shot(dialog), step.message.screenshot + suffix);
            Perform(dialog, step.action);
            if (step.action >= Action::ClickLink) {
                WaitFor([&] { return FileExists(Opened()); });
                WaitForPaint(dialog);
                seen += Describe(dialog) + L"\n";
                SaveScreenshot(Shot(dialog), L"dialog-link-visited");
                Perform(dialog, Action::Enter);
            }
            WaitFor([&] { return !::IsWindow(dialog); });
            previous = dialog;
        }
        return seen + L"exit code " + std::to_wstring(process.Wait(30000));
    }
    std::wstring StateNow(const ByteVector& source) const
    {
        const auto file = ReadBytes(AccountDictDir() + kStoredName);
        const wchar_t* copy = !file                ? L"nothing"
                              : *file == kOldBytes ? L"old copy"
                              : *file == source    ? L"new copy"
                                                   : L"?";
        const ByteVector opened = ReadBytes(Opened()).value_or(ByteVector{});
        const std::size_t temporary = ListFolder(AccountDictDir(), L"tmp*.tmp").size();
        return L"stored " + std::wstring(copy) + L", installed " + Setting(L"/Dict/InstalledDict") + L", active " +
               Setting(L"/Dict/ActiveDict") + L", " + std::to_wstring(temporary) + L" temporary files, opened " +
               std::wstring(opened.begin(), opened.end());
    }
};

TEST_F(LexinstDialogTest, EachMessageAndAnswerEndsWithItsExitCodeAndFiles)
{
    const ScopedLinkColors colors;
    // The browser is this program (--record-url).
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    ScopedRegValue browser(HKEY_LOCAL_MACHINE, L"Software\\Classes\\http\\shell\\open\\command", L"",
                           QuoteArgument(program) + L" --record-url " + QuoteArgument(Opened()) + L" \"%1\"", 0);

    enum class Before { Nothing, SameVersion, FolderBlocked };
    struct Row {
        const char* name;
        Before before;
        std::wstring args;
        std::vector<Step> steps;
        int exitCode;
        std::wstring state;
    };
    const ByteVector source = Dictionary();
    ByteVector damaged = source, huge = source;
    damaged[0] ^= 0xFF;  // the magic
    huge.resize(16 << 20);
    const std::wstring file = QuoteArgument(WriteSource(L"cities.pvdict", source));
    const std::wstring damagedFile = QuoteArgument(WriteSource(L"damaged.pvdict", damaged));
    const std::wstring none = L"stored nothing, installed <absent>, active <absent>, 0 temporary files, opened ";
    const std::wstring listed =
        L", installed " + kStoredName + L";, active " + kStoredName + L";, 0 temporary files, opened ";
    const std::wstring oldCopy = L"stored old copy" + listed, newCopy = L"stored new copy" + listed;
    const std::wstring pageOpened = none + ui::kMoreDictUrl + L"\n";
    const Step overwrite{kConfirmOverwrite, Action::Second}, cancel{kConfirmInstall, Action::Escape};
    // clang-format off
    const Row rows[] = {
        {"installed with Enter", Before::Nothing, file,
         {{kConfirmInstall, Action::Enter}, {kSuccess, Action::Enter}}, 0, newCopy},
        {"cancelled with button 2", Before::Nothing, file, {{kConfirmInstall, Action::Second}}, 1, none},
        {"cancelled with Esc", Before::Nothing, file, {cancel}, 1, none},
        {"overwrite declined with Enter", Before::SameVersion, file, {{kConfirmOverwrite, Action::Enter}}, 0, oldCopy},
        {"overwrite declined with Esc", Before::SameVersion, file, {{kConfirmOverwrite, Action::Escape}}, 0, oldCopy},
        {"link opened from the keyboard", Before::SameVersion, file, {{kConfirmOverwrite, Action::KeysToLink}}, 0,
         L"stored old copy" + listed + ui::kMoreDictUrl + L"\n"},
        {"overwrite accepted, install confirmed", Before::SameVersion, file,
         {overwrite, {kConfirmInstall, Action::Ok}, {kSuccess, Action::Enter}}, 0, newCopy},
        {"overwrite accepted, install cancelled", Before::SameVersion, file, {overwrite, cancel}, 1, oldCopy},
        {"folder cannot be made", Before::FolderBlocked, file, {{kFailed, Action::Ok}}, 1, none},
        {"no file", Before::Nothing, L"", {{kNoFile, Action::Enter}}, 1, none},
        {"two files", Before::Nothing, file + L" " + file, {{kNoFile, Action::Enter}}, 1, none},
        {"missing file", Before::Nothing, QuoteArgument(SourceDir() + L"\\missing.pvdict"),
         {{kNotFound, Action::Enter}}, 1, none},
        {"damaged file", Before::Nothing, damagedFile, {{kDamaged, Action::Enter}}, 1, none},
        {"link clicked", Before::Nothing, damagedFile, {{kDamaged, Action::ClickLink}}, 1, pageOpened},
        {"carriage return on the link", Before::Nothing, damagedFile, {{kDamaged, Action::ReturnOnLink}}, 1,
         pageOpened},
        {"newer format", Before::Nothing, QuoteArgument(WriteSource(L"future.pvdict", Dictionary(2))),
         {{kIncompatible, Action::Enter}}, 1, none},
        {"16 MiB file", Before::Nothing, QuoteArgument(WriteSource(L"huge.pvdict", huge)),
         {{kQuota, Action::CloseBox}}, 1, none},
    };
    // clang-format on
    ASSERT_TRUE(WriteBytes(Root() + L"\\blocker", {0}));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ::DeleteFileW((AccountDictDir() + kStoredName).c_str());
        ::DeleteFileW(Opened().c_str());
        const bool same = row.before == Before::SameVersion, blocked = row.before == Before::FolderBlocked;
        SetSetting(L"/Dict/InstalledDict", same ? kStoredName + L";" : L"<absent>");
        SetSetting(L"/Dict/ActiveDict", same ? kStoredName + L";" : L"<absent>");
        SetSetting(L"/Common/accountDataDir", Root() + (blocked ? L"\\blocker" : L"\\account"));
        if (same) {
            MakeAccountDictDir();
            ASSERT_TRUE(WriteBytes(AccountDictDir() + kStoredName, kOldBytes));
        }
        std::wstring expected;
        for (const Step& step : row.steps) {
            expected += step.message.shown + L"\n";
            if (step.action >= Action::ClickLink) {  // the same dialog again, the link visited
                const size_t link = step.message.shown.find(L"| link |");
                expected += std::wstring(step.message.shown).replace(link, 8, L"| visited link |") + L"\n";
            }
        }
        expected += L"exit code " + std::to_wstring(row.exitCode) + L"\n" + row.state;
        const std::wstring seen = RunAnswering(row.args, row.steps);
        EXPECT_EQ(ToUtf8(seen + L"\n" + StateNow(source)), ToUtf8(expected));
    }
}

// Started at 96, 144 and 192 dpi, the program shows the same dialogs, each with
// its picture, band and texts made for the DPI.
TEST_F(LexinstDialogTest, EachPictureAndTheInformationDialogFitTheDpi)
{
    const ScopedLinkColors colors;
    ByteVector damaged = Dictionary();
    damaged[0] ^= 0xFF;
    struct Run {
        std::wstring args;
        std::vector<Step> steps;
        int exitCode;
    };
    // clang-format off
    const Run runs[] = {
        {QuoteArgument(WriteSource(L"cities.pvdict", Dictionary())),
         {{kConfirmInstall, Action::Enter}, {kSuccess, Action::Enter}}, 0},
        {QuoteArgument(WriteSource(L"damaged.pvdict", damaged)), {{kDamaged, Action::Enter}}, 1},
        {L"", {{kNoFile, Action::Enter}}, 1},
    };
    // clang-format on
    SetSetting(L"/Common/accountDataDir", Root() + L"\\account");
    for (DWORD dpi : {96, 144, 192}) {
        SetLogPixels(dpi);
        for (const Run& run : runs) {
            SCOPED_TRACE(std::to_string(dpi) + " dpi, " + ToUtf8(run.steps[0].message.screenshot));
            ::DeleteFileW((AccountDictDir() + kStoredName).c_str());
            SetSetting(L"/Dict/InstalledDict", L"<absent>");
            std::wstring expected;
            for (const Step& step : run.steps)
                expected += step.message.shown + L"\n";
            expected += L"exit code " + std::to_wstring(run.exitCode);
            EXPECT_EQ(ToUtf8(RunAnswering(run.args, run.steps, dpi)), ToUtf8(expected));
        }
    }
    SetLogPixels(96);
}

// A dialog moved to a monitor of another DPI, told of it as Windows tells it,
// is laid out anew for that DPI (the dialogs run here, where the message can
// carry its rectangle).
TEST_F(LexinstDialogTest, DialogsMovedToAnotherDpiAreLaidOutForIt)
{
    const ScopedLinkColors colors;
    CellDictInfo info;
    const ByteVector bytes = Dictionary();
    std::memcpy(&info.header, bytes.data(), sizeof info.header);
    info.samples = {L"北京", L"上海", L"广州", L"深圳", L"天津", L"重庆", L"南京", L"杭州", L"成都", L"武汉"};
    struct Row {
        const char* name;
        std::function<INT_PTR()> run;
        Message message;
        std::vector<UINT> moves;
    };
    // clang-format off
    const Row rows[] = {
        {"information dialog", [&] { return CMainDlg(&info).DoModal(nullptr); }, kConfirmInstall, {192}},
        {"warning, moved and back", [] { return CMessageDlg(L"分类词库已损坏，请重新下载。", 0x10, true,
                                                            L"词库安装失败", L"", L"").DoModal(nullptr); },
         kDamaged, {144, 96}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::thread dialogThread(row.run);
        HWND dialog = WaitForDialog(::GetCurrentProcessId(), nullptr);
        UINT dpi = 96;
        for (UINT to : row.moves) {
            RECT window{};  // the new monitor's top left, where the whole window shows
            ::GetWindowRect(dialog, &window);
            const RECT suggested{0, 0,
                                 ::MulDiv(window.right - window.left, static_cast<int>(to), static_cast<int>(dpi)),
                                 ::MulDiv(window.bottom - window.top, static_cast<int>(to), static_cast<int>(dpi))};
            ::SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
            dpi = to;
            WaitForPaint(dialog);
            EXPECT_EQ(ToUtf8(Describe(dialog) + JudgeLayout(dialog, dpi)), ToUtf8(row.message.shown)) << dpi;
            SaveScreenshot(Shot(dialog), row.message.screenshot + std::wstring(L"-moved-to-") + std::to_wstring(dpi));
        }
        Perform(dialog, Action::Escape);
        dialogThread.join();
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 4 && std::wstring(argv[1]) == L"--record-url") {
        FILE* out = _wfopen(argv[2], L"ab");
        return out && std::fprintf(out, "%s\n", ToUtf8(argv[3]).c_str()) > 0 && std::fclose(out) == 0 ? 0 : 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
