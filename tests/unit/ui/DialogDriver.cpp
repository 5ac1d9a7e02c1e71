#include "DialogDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <thread>

namespace uitest {

namespace {

constexpr int kWaitSteps = 200;  // of 50 ms: a dialog that takes longer than 10 s is missing
constexpr DWORD kStepMs = 50;

struct FindState {
    HWND found = nullptr;
};

bool IsShownDialog(HWND window)
{
    wchar_t className[32] = {};
    ::GetClassNameW(window, className, 32);
    return std::wstring(className) == L"#32770" && ::IsWindowVisible(window);
}

BOOL CALLBACK FindDialogWindow(HWND window, LPARAM param)
{
    if (IsShownDialog(window)) {
        reinterpret_cast<FindState*>(param)->found = window;
        return FALSE;
    }
    return TRUE;
}

struct ProcessSearch {
    DWORD processId;
    HWND previous;
    HWND found = nullptr;
};

BOOL CALLBACK FindProcessDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<ProcessSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || window == search->previous || !IsShownDialog(window))
        return TRUE;
    search->found = window;
    return FALSE;
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

}  // namespace

std::wstring ReadText(HWND window)
{
    wchar_t buffer[2048] = {};
    ::SendMessageW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

HWND WaitForProcessDialog(DWORD processId, HWND previous)
{
    for (int step = 0; step < kWaitSteps; ++step) {
        ProcessSearch search{processId, previous};
        ::EnumWindows(&FindProcessDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            WaitForPaint(search.found);
            return search.found;
        }
        ::Sleep(kStepMs);
    }
    return nullptr;
}

bool WaitUntilClosed(HWND window)
{
    for (int step = 0; step < kWaitSteps && ::IsWindow(window); ++step)
        ::Sleep(kStepMs);
    return !::IsWindow(window);
}

const char* ActionName(Action action)
{
    switch (action) {
    case Action::Click1: return "click button 1";
    case Action::Click2: return "click button 2";
    case Action::Click1014: return "click button 1014";
    case Action::Enter: return "Enter";
    case Action::Escape: return "Esc";
    case Action::CloseBox: return "close box";
    }
    return "?";
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

HWND WaitForDialog(DWORD threadId)
{
    for (int step = 0; step < kWaitSteps; ++step) {
        FindState state;
        ::EnumThreadWindows(threadId, &FindDialogWindow, reinterpret_cast<LPARAM>(&state));
        if (state.found) {
            WaitForPaint(state.found);
            return state.found;
        }
        ::Sleep(kStepMs);
    }
    return nullptr;
}

void WaitForPaint(HWND dialog)
{
    for (int step = 0; step < kWaitSteps && HasPendingPaint(dialog); ++step)
        ::Sleep(kStepMs);
    ::Sleep(300);  // let the X server show what was painted
}

namespace {

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
    info.bmiHeader.biHeight = -capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
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

}  // namespace

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

namespace {

bool SetString(HKEY root, const wchar_t* key, const wchar_t* name, const wchar_t* value)
{
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const auto bytes = static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t));
    const bool ok = ::RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes) ==
                    ERROR_SUCCESS;
    ::RegCloseKey(handle);
    return ok;
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
    if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    return ::CopyFileW(LinuxPathToWindows(LEXINST_WINE_MARLETT).c_str(), target.c_str(), TRUE) != 0;
#else
    return true;  // no such font on this machine: the buttons stay letters
#endif
}

}  // namespace

bool PrepareDialogPrefix()
{
    // The dialogs ask for "宋体", which the prefix lacks; without a window manager
    // Wine must draw the window frames itself.
    const wchar_t* replacements = L"Software\\Wine\\Fonts\\Replacements";
    bool ok = SetString(HKEY_CURRENT_USER, replacements, L"宋体", L"WenQuanYi Zen Hei");
    ok = SetString(HKEY_CURRENT_USER, replacements, L"SimSun", L"WenQuanYi Zen Hei") && ok;
    ok = SetString(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Decorated", L"N") && ok;
    return InstallCaptionGlyphFont() && ok;
}

std::wstring ScreenshotDir()
{
    const char* build = std::getenv("LEXINST_BINARY_DIR");
    if (!build || !*build)
        return L"";
    std::wstring dir = LinuxPathToWindows(build) + L"\\screenshots";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

bool SaveScreenshot(const Capture& capture, const std::wstring& name)
{
    const std::wstring dir = ScreenshotDir();
    if (dir.empty() || capture.Empty())
        return false;
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

    const std::wstring path = dir + L"\\" + name + L".bmp";
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (!out)
        return false;
    const bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
                    std::fwrite(rows.data(), 1, rows.size(), out) == rows.size();
    std::fclose(out);
    return ok;
}

namespace {

// A picture by the colour of its body: the average of its saturated pixels, so
// that the background, the white symbol and grey edges do not count.
template <typename ForEachPixel>
Picture ClassifyPicture(ForEachPixel forEachPixel)
{
    long r = 0, g = 0, b = 0, count = 0;
    forEachPixel([&](int pr, int pg, int pb) {
        if (std::max({pr, pg, pb}) - std::min({pr, pg, pb}) < 60)
            return;
        r += pr;
        g += pg;
        b += pb;
        ++count;
    });
    if (count == 0)
        return Picture::None;
    r /= count;
    g /= count;
    b /= count;
    if (g > r && g > b)
        return Picture::Success;
    if (b > r && b > g)
        return Picture::Information;
    if (r > g && r > b)
        return g < 100 ? Picture::Warning : Picture::Package;
    return Picture::None;
}

}  // namespace

Picture IdentifyPicture(HWND control)
{
    auto bitmap = reinterpret_cast<HBITMAP>(::SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info))
        return Picture::None;
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    std::vector<uint8_t> bgra(static_cast<size_t>(info.bmWidth) * info.bmHeight * 4);
    HDC screen = ::GetDC(nullptr);
    const int lines = ::GetDIBits(screen, bitmap, 0, info.bmHeight, bgra.data(), &request, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (lines != info.bmHeight)
        return Picture::None;
    return ClassifyPicture([&](auto visit) {
        for (size_t i = 0; i + 3 < bgra.size(); i += 4)
            visit(bgra[i + 2], bgra[i + 1], bgra[i]);
    });
}

Picture IdentifyShownPicture(HWND control)
{
    if (!control || !::IsWindowVisible(control))
        return Picture::None;
    const Capture capture = CaptureClient(control);
    return ClassifyPicture([&](auto visit) {
        for (COLORREF pixel : capture.pixels)
            visit(GetRValue(pixel), GetGValue(pixel), GetBValue(pixel));
    });
}

void Perform(HWND dialog, Action action)
{
    auto click = [dialog](int id) {
        HWND button = ::GetDlgItem(dialog, id);
        if (button)
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
        POINT origin{0, 0};
        ::ClientToScreen(dialog, &origin);
        ::GetClientRect(dialog, &view.client);
        ::OffsetRect(&view.client, origin.x, origin.y);
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
            view.picture = IdentifyPicture(::GetDlgItem(dialog, pictureControl));
        view.capture = CaptureClient(dialog);
        if (!screenshotName.empty())
            SaveScreenshot(CaptureWindow(dialog), screenshotName);
        if (inspect)
            inspect(view);
        Perform(dialog, action);
        // The action must end the dialog; if it does not, close it anyway so the test goes on.
        for (int step = 0; step < kWaitSteps && ::IsWindow(dialog); ++step)
            ::Sleep(kStepMs);
        view.endedByAction = !::IsWindow(dialog);
        if (!view.endedByAction)
            ::EnumThreadWindows(uiThread, &CloseWindow, 0);
    });
    operation();
    driver.join();
    return view;
}

}  // namespace uitest
