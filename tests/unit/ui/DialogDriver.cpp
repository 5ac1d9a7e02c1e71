#include "DialogDriver.h"

#include "support/E2eSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace uitest {

namespace {

constexpr int kWaitSteps = 200;  // of 50 ms
constexpr DWORD kStepMs = 50;

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
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (owner != search->processId || window == search->previous || std::wstring(className) != L"#32770" ||
        !::IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
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

// A Linux path (ASCII) as Wine's Z: drive shows it.
std::wstring WindowsPath(const char* path)
{
    std::wstring result = L"Z:";
    for (const char* p = path; *p; ++p)
        result += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return result;
}

// 32 bits a pixel, rows top-down: the layout of Capture::bgra.
BITMAPINFOHEADER TopDownHeader(const Capture& capture)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = capture.width;
    header.biHeight = -capture.height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biSizeImage = static_cast<DWORD>(capture.width * capture.height * 4);
    return header;
}

}  // namespace

HWND WaitForDialog(DWORD processId, HWND previous)
{
    DialogSearch search{processId, previous};
    for (int step = 0; step < kWaitSteps && !search.found; ++step) {
        ::EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            ::Sleep(kStepMs);
    }
    if (search.found)
        WaitForPaint(search.found);
    return search.found;
}

void WaitForPaint(HWND dialog)
{
    for (int step = 0; step < kWaitSteps && HasPendingPaint(dialog); ++step)
        ::Sleep(kStepMs);
    ::Sleep(300);  // let the X server show what was painted
}

bool WaitUntilClosed(HWND window)
{
    for (int step = 0; step < kWaitSteps && ::IsWindow(window); ++step)
        ::Sleep(kStepMs);
    return !::IsWindow(window);
}

std::wstring ReadText(HWND window)
{
    wchar_t buffer[2048] = {};
    ::SendMessageW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

bool IsShown(HWND window)
{
    return window && ::IsWindowVisible(window);
}

Capture Shot(HWND window)
{
    RECT area{};
    Capture capture;
    if (!::GetWindowRect(window, &area) || area.right <= area.left || area.bottom <= area.top)
        return capture;
    capture.width = area.right - area.left;
    capture.height = area.bottom - area.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = TopDownHeader(capture);
    void* bits = nullptr;
    if (HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0)) {
        HGDIOBJ previous = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, capture.width, capture.height, screen, area.left, area.top, SRCCOPY);
        ::GdiFlush();
        const auto* bytes = static_cast<const uint8_t*>(bits);
        capture.bgra.assign(bytes, bytes + static_cast<size_t>(capture.width) * capture.height * 4);
        ::SelectObject(memory, previous);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return capture;
}

int CountPixels(const Capture& capture, COLORREF color)
{
    int count = 0;
    for (int y = 0; y < capture.height && !capture.bgra.empty(); ++y)
        for (int x = 0; x < capture.width; ++x)
            count += capture.At(x, y) == color;
    return count;
}

bool SaveScreenshot(const Capture& capture, const std::wstring& name)
{
    const char* build = std::getenv("LEXINST_BINARY_DIR");
    if (!build || capture.bgra.empty())
        return false;
    const std::wstring dir = WindowsPath(build) + L"\\screenshots";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    // A top-down 32-bit BMP holds the capture's bytes as they are.
    const BITMAPINFOHEADER header = TopDownHeader(capture);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    FILE* out = _wfopen((dir + L"\\" + name + L".bmp").c_str(), L"wb");
    if (!out)
        return false;
    const bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
                    std::fwrite(capture.bgra.data(), 1, capture.bgra.size(), out) == capture.bgra.size();
    return std::fclose(out) == 0 && ok;
}

// The average of the saturated pixels, so that the background, the white
// symbol and grey edges do not count.
std::wstring ShownPicture(HWND control)
{
    if (!IsShown(control))
        return L"none";
    const Capture capture = Shot(control);
    long r = 0, g = 0, b = 0, count = 0;
    for (int y = 0; y < capture.height; ++y) {
        for (int x = 0; x < capture.width; ++x) {
            const COLORREF c = capture.At(x, y);
            const int pr = GetRValue(c), pg = GetGValue(c), pb = GetBValue(c);
            if (std::max({pr, pg, pb}) - std::min({pr, pg, pb}) < 60)
                continue;
            r += pr, g += pg, b += pb, ++count;
        }
    }
    if (count == 0)
        return L"none";
    if (g > r && g > b)
        return L"success";
    if (b > r && b > g)
        return L"information";
    return g / count < 100 ? L"warning" : L"package";
}

void Perform(HWND dialog, Action action)
{
    auto click = [](HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); };
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
    HWND second = ::GetDlgItem(dialog, IDCANCEL);
    switch (action) {
    case Action::Ok: click(::GetDlgItem(dialog, IDOK)); break;
    case Action::Second: click(second ? second : ::GetDlgItem(dialog, 1014)); break;
    case Action::Enter: key(VK_RETURN); break;
    case Action::Escape: key(VK_ESCAPE); break;
    case Action::CloseBox: ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
}

bool PrepareDialogPrefix()
{
    const wchar_t* replacements = L"Software\\Wine\\Fonts\\Replacements";
    bool ok = e2e::SetRegString(HKEY_CURRENT_USER, replacements, L"宋体", L"WenQuanYi Zen Hei", REG_SZ, 0);
    ok = e2e::SetRegString(HKEY_CURRENT_USER, replacements, L"SimSun", L"WenQuanYi Zen Hei", REG_SZ, 0) && ok;
    // Without a window manager, Wine must draw the frames and captions itself.
    ok = e2e::SetRegString(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Decorated", L"N", REG_SZ, 0) && ok;
#ifdef LEXINST_WINE_MARLETT
    // The caption buttons are glyphs of this font, which Wine does not find
    // where Debian installs it: without a copy in the prefix they show as letters.
    wchar_t fonts[MAX_PATH] = {};
    ::GetWindowsDirectoryW(fonts, MAX_PATH);
    const std::wstring target = std::wstring(fonts) + L"\\Fonts\\marlett.ttf";
    ok = (e2e::FileExists(target) || ::CopyFileW(WindowsPath(LEXINST_WINE_MARLETT).c_str(), target.c_str(), TRUE)) && ok;
#endif
    return ok;
}

}  // namespace uitest
