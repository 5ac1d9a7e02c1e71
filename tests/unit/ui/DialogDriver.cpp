#include "DialogDriver.h"

#include "support/E2eSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace uitest {

namespace {

constexpr int kWaitSteps = 200;  // of 50 ms: a dialog that takes longer than 10 s is missing
constexpr DWORD kStepMs = 50;

// The first shown dialog window that belongs to `processId` (any, when 0) and is not `previous`.
struct DialogSearch {
    DWORD processId;
    HWND previous;
    HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t className[32] = {};
    ::GetClassNameW(window, className, 32);
    if ((search->processId && owner != search->processId) || window == search->previous ||
        std::wstring(className) != L"#32770" || !::IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

template <typename Enumerate>
HWND WaitForShownDialog(Enumerate enumerate, DialogSearch search)
{
    for (int step = 0; step < kWaitSteps; ++step) {
        enumerate(reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            WaitForPaint(search.found);
            return search.found;
        }
        ::Sleep(kStepMs);
    }
    return nullptr;
}

BOOL CALLBACK CloseWindow(HWND window, LPARAM)
{
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

bool HasPendingPaint(HWND window)
{
    if (::GetUpdateRect(window, nullptr, FALSE))
        return true;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::IsWindowVisible(child) && ::GetUpdateRect(child, nullptr, FALSE))
            return true;
    return false;
}

std::wstring LinuxPathToWindows(const char* path)
{
    std::wstring result = L"Z:";
    for (const char* p = path; *p; ++p)
        result += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return result;
}

Capture CaptureScreen(const RECT& area)
{
    Capture capture;
    capture.width = area.right - area.left;
    capture.height = area.bottom - area.top;
    if (capture.width <= 0 || capture.height <= 0)
        return {};
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    if (HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0)) {
        HGDIOBJ previous = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, capture.width, capture.height, screen, area.left, area.top, SRCCOPY);
        ::GdiFlush();
        const auto* bgra = static_cast<const uint8_t*>(bits);
        capture.pixels.resize(static_cast<size_t>(capture.width) * capture.height);
        for (size_t i = 0; i < capture.pixels.size(); ++i)
            capture.pixels[i] = RGB(bgra[i * 4 + 2], bgra[i * 4 + 1], bgra[i * 4]);
        ::SelectObject(memory, previous);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return capture;
}

// Wine draws caption buttons with glyphs of the "Marlett" font. Debian installs
// it in a folder that this Wine does not search (it looks beside its data folder,
// not in it), so the buttons show as letters unless the prefix has its own copy.
bool InstallCaptionGlyphFont()
{
#ifdef LEXINST_WINE_MARLETT
    wchar_t windows[MAX_PATH] = {};
    if (!::GetWindowsDirectoryW(windows, MAX_PATH))
        return false;
    const std::wstring target = std::wstring(windows) + L"\\Fonts\\marlett.ttf";
    return e2e::FileExists(target) ||
           ::CopyFileW(LinuxPathToWindows(LEXINST_WINE_MARLETT).c_str(), target.c_str(), TRUE) != 0;
#else
    return true;  // no such font on this machine: the buttons stay letters
#endif
}

}  // namespace

std::wstring ReadText(HWND window)
{
    wchar_t buffer[2048] = {};
    ::SendMessageW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

HWND WaitForDialog(DWORD threadId)
{
    return WaitForShownDialog([threadId](LPARAM p) { ::EnumThreadWindows(threadId, &FindDialog, p); },
                              DialogSearch{0, nullptr});
}

HWND WaitForProcessDialog(DWORD processId, HWND previous)
{
    return WaitForShownDialog([](LPARAM p) { ::EnumWindows(&FindDialog, p); }, DialogSearch{processId, previous});
}

bool WaitUntilClosed(HWND window)
{
    for (int step = 0; step < kWaitSteps && ::IsWindow(window); ++step)
        ::Sleep(kStepMs);
    return !::IsWindow(window);
}

void WaitForPaint(HWND dialog)
{
    for (int step = 0; step < kWaitSteps && HasPendingPaint(dialog); ++step)
        ::Sleep(kStepMs);
    ::Sleep(300);  // let the X server show what was painted
}

const char* PictureName(Picture picture)
{
    switch (picture) {
    case Picture::None: return "none";
    case Picture::Success: return "success";
    case Picture::Warning: return "warning";
    case Picture::Information: return "information";
    case Picture::Package: return "package";
    }
    return "?";
}

Capture CaptureClient(HWND window)
{
    RECT area{};
    ::GetClientRect(window, &area);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return CaptureScreen(area);
}

Capture CaptureWindow(HWND window)
{
    RECT area{};
    ::GetWindowRect(window, &area);
    return CaptureScreen(area);
}

bool PrepareDialogPrefix()
{
    // The dialogs ask for "宋体", which the prefix lacks; without a window manager
    // Wine must draw the window frames itself.
    const wchar_t* replacements = L"Software\\Wine\\Fonts\\Replacements";
    bool ok = e2e::SetRegString(HKEY_CURRENT_USER, replacements, L"宋体", L"WenQuanYi Zen Hei", REG_SZ, 0);
    ok = e2e::SetRegString(HKEY_CURRENT_USER, replacements, L"SimSun", L"WenQuanYi Zen Hei", REG_SZ, 0) && ok;
    ok = e2e::SetRegString(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Decorated", L"N", REG_SZ, 0) && ok;
    return InstallCaptionGlyphFont() && ok;
}

bool SaveScreenshot(const Capture& capture, const std::wstring& name)
{
    const char* build = std::getenv("LEXINST_BINARY_DIR");
    if (!build || !*build || capture.Empty())
        return false;
    const std::wstring dir = LinuxPathToWindows(build) + L"\\screenshots";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    // A bottom-up 24-bit BMP, rows padded to four bytes.
    const int stride = (capture.width * 3 + 3) & ~3;
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * capture.height);
    for (int y = 0; y < capture.height; ++y) {
        uint8_t* row = &rows[static_cast<size_t>(capture.height - 1 - y) * stride];
        for (int x = 0; x < capture.width; ++x) {
            const COLORREF c = capture.At(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = capture.width;
    header.biHeight = capture.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biSizeImage = static_cast<DWORD>(rows.size());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    FILE* out = _wfopen((dir + L"\\" + name + L".bmp").c_str(), L"wb");
    if (!out)
        return false;
    const bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
                    std::fwrite(rows.data(), 1, rows.size(), out) == rows.size();
    std::fclose(out);
    return ok;
}

// A picture by the colour of its body: the average of its saturated pixels, so
// that the background, the white symbol and grey edges do not count.
Picture IdentifyShownPicture(HWND control)
{
    if (!control || !::IsWindowVisible(control))
        return Picture::None;
    long r = 0, g = 0, b = 0, count = 0;
    for (COLORREF pixel : CaptureClient(control).pixels) {
        const int pr = GetRValue(pixel), pg = GetGValue(pixel), pb = GetBValue(pixel);
        if (std::max({pr, pg, pb}) - std::min({pr, pg, pb}) < 60)
            continue;
        r += pr;
        g += pg;
        b += pb;
        ++count;
    }
    if (count == 0)
        return Picture::None;
    if (g > r && g > b)
        return Picture::Success;
    if (b > r && b > g)
        return Picture::Information;
    if (r > g && r > b)
        return g / count < 100 ? Picture::Warning : Picture::Package;
    return Picture::None;
}

void Perform(HWND dialog, Action action)
{
    auto click = [dialog](int id) {
        if (HWND button = ::GetDlgItem(dialog, id))
            ::PostMessageW(button, BM_CLICK, 0, 0);
    };
    // Keys go to the control with the focus, where the dialog manager's loop sees them.
    auto key = [dialog](UINT vk) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        HWND target = dialog;
        if (::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info) && info.hwndFocus)
            target = info.hwndFocus;
        ::PostMessageW(target, WM_KEYDOWN, vk, 1);
        ::PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
    };
    switch (action) {
    case Action::Click1: click(1); break;
    case Action::Click2: click(2); break;
    case Action::Click1014: click(1014); break;
    case Action::Enter: key(VK_RETURN); break;
    case Action::Escape: key(VK_ESCAPE); break;
    case Action::CloseBox: ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
}

DialogView RunDriven(const std::function<void()>& operation, Action action, const std::vector<int>& controls,
                     int pictureControl, const std::wstring& screenshotName,
                     const std::function<void(DialogView&)>& inspect)
{
    DialogView view;
    const DWORD uiThread = ::GetCurrentThreadId();
    std::thread driver([&] {
        HWND dialog = WaitForDialog(uiThread);
        if (!dialog)
            return;
        view.found = true;
        view.dialog = dialog;
        view.owner = ::GetWindow(dialog, GW_OWNER);
        view.caption = ReadText(dialog);
        ::GetWindowRect(dialog, &view.window);
        for (int id : controls) {
            HWND control = ::GetDlgItem(dialog, id);
            view.texts[id] = control ? ReadText(control) : L"<missing>";
            view.visible[id] = control && ::IsWindowVisible(control);
            RECT rect{};
            if (control) {
                ::GetWindowRect(control, &rect);
                ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
            }
            view.rects[id] = rect;
        }
        if (pictureControl)
            view.picture = IdentifyShownPicture(::GetDlgItem(dialog, pictureControl));
        view.capture = CaptureClient(dialog);
        if (!screenshotName.empty())
            SaveScreenshot(CaptureWindow(dialog), screenshotName);
        if (inspect)
            inspect(view);
        Perform(dialog, action);
        // The action must end the dialog; if it does not, close it anyway so the test goes on.
        if (!WaitUntilClosed(dialog))
            ::EnumThreadWindows(uiThread, &CloseWindow, 0);
    });
    operation();
    driver.join();
    return view;
}

}  // namespace uitest
