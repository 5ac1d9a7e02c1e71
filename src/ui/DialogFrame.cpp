#include "ui/DialogFrame.h"

#include "win/Dpi.h"
#include "resource.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace ui {

HINSTANCE ResourceModule()
{
    // The dialogs and pictures are linked into the program itself.
    return ::GetModuleHandleW(nullptr);
}

int PictureIdForDpi(int baseId, UINT dpi)
{
    constexpr UINT kScales[] = {96, 120, 144, 192, 240};  // 100, 125, 150, 200 and 250 %
    int nearest = 0;
    for (int step = 1; step < static_cast<int>(std::size(kScales)); ++step) {
        const auto distance = [dpi](UINT scale) { return scale > dpi ? scale - dpi : dpi - scale; };
        if (distance(kScales[step]) < distance(kScales[nearest]))
            nearest = step;
    }
    return baseId + 100 * nearest;
}

HBITMAP LoadPicture(int baseId, UINT dpi)
{
    return static_cast<HBITMAP>(::LoadImageW(ResourceModule(), MAKEINTRESOURCEW(PictureIdForDpi(baseId, dpi)),
                                             IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

namespace {

HICON LoadDictIcon(int sizeX, int sizeY)
{
    return static_cast<HICON>(
        ::LoadImageW(ResourceModule(), MAKEINTRESOURCEW(IDI_DICTFILE), IMAGE_ICON, sizeX, sizeY, LR_DEFAULTCOLOR));
}

}  // namespace

void DialogFrame::Prepare(HWND dialog)
{
    dpi = win::DpiOfWindow(dialog);
    win::TakeOverDialogDpiChanges(dialog);
    SetIcons(dialog);
    CenterDialog(dialog);
    ::BringWindowToTop(dialog);
}

void DialogFrame::ChangeDpi(HWND dialog, UINT newDpi, const RECT& suggested)
{
    if (newDpi == 0 || newDpi == dpi)
        return;
    ::SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ScaleControls(dialog, newDpi);
    dpi = newDpi;
    SetIcons(dialog);
}

HFONT DialogFrame::Font(HWND dialog) const
{
    return scaledFont ? scaledFont.Get() : reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
}

void DialogFrame::SetIcons(HWND dialog)
{
    bigIcon.Reset(LoadDictIcon(win::MetricForDpi(SM_CXICON, dpi), win::MetricForDpi(SM_CYICON, dpi)));
    ::SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.Get()));
    smallIcon.Reset(LoadDictIcon(win::MetricForDpi(SM_CXSMICON, dpi), win::MetricForDpi(SM_CYSMICON, dpi)));
    ::SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.Get()));
}

// Every control keeps its place relative to the others, as the dialog manager
// would have laid it out at the new DPI, and is drawn with the font made for it.
void DialogFrame::ScaleControls(HWND dialog, UINT newDpi)
{
    win::UniqueFont font;
    LOGFONTW logFont{};
    if (::GetObjectW(Font(dialog), sizeof logFont, &logFont) == sizeof logFont) {
        logFont.lfHeight = ::MulDiv(logFont.lfHeight, static_cast<int>(newDpi), static_cast<int>(dpi));
        logFont.lfWidth = ::MulDiv(logFont.lfWidth, static_cast<int>(newDpi), static_cast<int>(dpi));
        font.Reset(::CreateFontIndirectW(&logFont));
    }
    const auto scale = [&](LONG value) { return ::MulDiv(value, static_cast<int>(newDpi), static_cast<int>(dpi)); };
    for (HWND control = ::GetWindow(dialog, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        RECT area{};
        ::GetWindowRect(control, &area);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
        ::SetWindowPos(control, nullptr, scale(area.left), scale(area.top), scale(area.right) - scale(area.left),
                       scale(area.bottom) - scale(area.top), SWP_NOZORDER | SWP_NOACTIVATE);
        if (font)
            ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    }
    if (font)
        scaledFont = std::move(font);  // after the controls have let go of the previous one
}

HFONT MakeFontOfWeight(HFONT font, LONG weight)
{
    LOGFONTW logFont{};
    if (!font || ::GetObjectW(font, sizeof logFont, &logFont) != sizeof logFont)
        return nullptr;
    logFont.lfWeight = weight;
    return ::CreateFontIndirectW(&logFont);
}

void CenterDialog(HWND dialog)
{
    RECT window{};
    if (!::GetWindowRect(dialog, &window))
        return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT area = monitor.rcWork;

    RECT center = area;
    HWND owner = ::GetWindow(dialog, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &center);

    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int x = (center.left + center.right) / 2 - width / 2;
    int y = (center.top + center.bottom) / 2 - height / 2;
    // Keep the dialog on the work area; a dialog larger than it is aligned to its top left.
    x = std::max(std::min(x, static_cast<int>(area.right) - width), static_cast<int>(area.left));
    y = std::max(std::min(y, static_cast<int>(area.bottom) - height), static_cast<int>(area.top));
    ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
