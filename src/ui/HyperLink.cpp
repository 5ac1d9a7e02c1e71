#include "ui/HyperLink.h"

#include "ui/ColorBackground.h"
#include "ui/DialogFrame.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <vector>

namespace ui {

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT_PTR kToolId = 1;
constexpr wchar_t kColorKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";

// atoi's reading: leading white space, a sign, digits; 0 when there are none.
long ReadNumber(const wchar_t* text) { return std::wcstol(text, nullptr, 10); }

BYTE Modulo256(long value) { return static_cast<BYTE>(static_cast<unsigned long>(value) & 0xFF); }

// Mouse messages carry signed client coordinates.
POINT PointFromLParam(LPARAM lParam)
{
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// A value longer than 11 characters does not fit the buffer and is not read.
void ReadAnchorColor(HKEY key, const wchar_t* name, COLORREF& color)
{
    wchar_t buffer[12] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return;
    buffer[std::min<DWORD>(size / sizeof(wchar_t), 11)] = L'\0';
    ParseAnchorColor(buffer, color);
}

}  // namespace

bool ParseAnchorColor(const wchar_t* text, COLORREF& color)
{
    if (!text)
        return false;
    const wchar_t* green = std::wcschr(text, L',');
    if (!green)
        return false;
    ++green;
    const wchar_t* blue = std::wcschr(green, L',');
    if (!blue)
        return false;
    ++blue;
    if (*blue == L'\0')
        return false;
    const long r = ReadNumber(text);
    const long g = ReadNumber(green);
    const long b = ReadNumber(blue);
    if (r == -1 || g == -1)
        return false;
    color = RGB(Modulo256(r), Modulo256(g), Modulo256(b));
    return true;
}

HyperLink::~HyperLink() { Detach(); }

bool HyperLink::SubclassWindow(HWND control)
{
    if (!control || window)
        return false;
    if (!::SetWindowSubclass(control, &HyperLink::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    window = control;
    Initialize();
    return true;
}

void HyperLink::Initialize()
{
    // Static controls ignore the mouse unless they notify.
    ::SetWindowLongPtrW(window, GWL_STYLE, ::GetWindowLongPtrW(window, GWL_STYLE) | SS_NOTIFY);
    linkCursor = ::LoadCursorW(nullptr, IDC_HAND);
    CreateLinkFont();
    CreateToolTip();

    const int length = ::GetWindowTextLengthW(window);
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
    ::GetWindowTextW(window, text.data(), length + 1);
    label.assign(text.data());
    CalcLabelRect();

    ReadColors();
    SetTarget(label);
}

void HyperLink::ReadColors()
{
    win::UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kColorKey, 0, KEY_READ | KEY_WRITE, key.Receive()) != ERROR_SUCCESS)
        return;
    ReadAnchorColor(key.Get(), L"Anchor Color", linkColor);
    ReadAnchorColor(key.Get(), L"Anchor Color Visited", visitedColor);
}

void HyperLink::CreateLinkFont()
{
    LOGFONTW logFont{};
    HFONT base = normalFont ? normalFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (::GetObjectW(base, sizeof logFont, &logFont) != sizeof logFont)
        return;
    logFont.lfUnderline = TRUE;
    linkFont.Reset(::CreateFontIndirectW(&logFont));
}

void HyperLink::CalcLabelRect()
{
    RECT client{};
    ::GetClientRect(window, &client);
    labelRect = client;
    const win::ScopedWindowDC dc(window);
    if (!dc.Get())
        return;
    {
        win::ScopedSelect font(dc.Get(), linkFont ? linkFont.Get() : normalFont);
        ::DrawTextW(dc.Get(), label.c_str(), -1, &labelRect, DT_LEFT | DT_WORDBREAK | DT_CALCRECT);
    }
    // The label never reaches past the control.
    ::IntersectRect(&labelRect, &labelRect, &client);
}

void HyperLink::CreateToolTip()
{
    toolTip.Reset(::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, ResourceModule(), nullptr));
}

void HyperLink::SetTarget(const std::wstring& text)
{
    target = text;
    if (!toolTip)
        return;
    ::SendMessageW(toolTip.Get(), TTM_ACTIVATE, TRUE, 0);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = kToolId;
    tool.rect = labelRect;
    tool.lpszText = target.data();
    if (toolAdded) {
        ::SendMessageW(toolTip.Get(), TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
    } else {
        toolAdded = ::SendMessageW(toolTip.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
    }
}

void HyperLink::ChangeFont(HFONT font)
{
    normalFont = font;
    if (!window)
        return;
    CreateLinkFont();
    CalcLabelRect();
    SetTarget(target);  // the tooltip's area follows the label
    Repaint();
}

bool HyperLink::IsOverLabel(POINT clientPoint) const { return ::PtInRect(&labelRect, clientPoint) != FALSE; }

void HyperLink::Navigate()
{
    const auto result =
        reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        return;
    visited = true;
    Repaint();
}

// The control has no background of its own: redraw the dialog's background under it too.
void HyperLink::Repaint() const
{
    HWND parent = ::GetParent(window);
    if (!parent) {
        ::InvalidateRect(window, nullptr, TRUE);
        return;
    }
    RECT area{};
    ::GetWindowRect(window, &area);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void HyperLink::Paint()
{
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(window, &paint);
    if (!dc)
        return;
    RECT client{};
    ::GetClientRect(window, &client);
    ::SetBkMode(dc, TRANSPARENT);
    COLORREF color = IsHighContrast() ? ::GetSysColor(COLOR_HOTLIGHT) : visited ? visitedColor : linkColor;
    if (!::IsWindowEnabled(window))
        color = ::GetSysColor(COLOR_GRAYTEXT);
    ::SetTextColor(dc, color);
    {
        win::ScopedSelect font(dc, linkFont ? linkFont.Get() : normalFont);
        ::DrawTextW(dc, label.c_str(), -1, &client, DT_LEFT | DT_WORDBREAK);
    }
    if (::GetFocus() == window)
        ::DrawFocusRect(dc, &labelRect);
    ::EndPaint(window, &paint);
}

LRESULT HyperLink::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;  // the dialog's background shows through
    case WM_SETCURSOR: {
        POINT point{};
        ::GetCursorPos(&point);
        ::ScreenToClient(window, &point);
        if (linkCursor && IsOverLabel(point)) {
            ::SetCursor(linkCursor);
            return TRUE;
        }
        break;
    }
    case WM_LBUTTONDOWN:
        if (IsOverLabel(PointFromLParam(lParam))) {
            ::SetFocus(window);
            ::SetCapture(window);
        }
        return 0;
    case WM_LBUTTONUP:
        if (::GetCapture() == window) {
            ::ReleaseCapture();
            if (IsOverLabel(PointFromLParam(lParam)))
                Navigate();
        }
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTCHARS;
    case WM_CHAR:
        if (wParam == VK_RETURN || wParam == VK_SPACE)
            Navigate();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE: Repaint(); break;
    default: break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK HyperLink::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR selfData) noexcept
{
    auto* self = reinterpret_cast<HyperLink*>(selfData);
    if (message == WM_NCDESTROY) {
        self->Detach();
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
}

// The link window is going away: let go of it, its tooltip and the fonts made here.
void HyperLink::Detach()
{
    if (!window)
        return;
    ::RemoveWindowSubclass(window, &HyperLink::SubclassProc, kSubclassId);
    toolTip.Reset();
    toolAdded = false;
    linkFont.Reset();
    window = nullptr;
}

}  // namespace ui
