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
    const auto distance = [dpi](UINT scale) { return scale > dpi ? scale - dpi : dpi - scale; };
    int nearest = 0;
    for (int step = 1; step < static_cast<int>(std::size(kScales)); ++step) {
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

// The dialog base units of a font, as the dialog manager computes them: the
// average width of the Latin letters and the character height.
SIZE BaseUnitsOf(HWND dialog, HFONT font)
{
    const win::ScopedWindowDC dc(dialog);
    win::ScopedSelect selected(dc.Get(), font);
    constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE letters{};
    TEXTMETRICW metrics{};
    if (!dc.Get() || !::GetTextExtentPoint32W(dc.Get(), kLetters, 52, &letters) ||
        !::GetTextMetricsW(dc.Get(), &metrics))
        return {};
    return {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

HICON LoadDictIcon(int sizeX, int sizeY)
{
    return static_cast<HICON>(
        ::LoadImageW(ResourceModule(), MAKEINTRESOURCEW(IDI_DICTFILE), IMAGE_ICON, sizeX, sizeY, LR_DEFAULTCOLOR));
}

}  // namespace

void DialogFrame::Prepare(HWND dialog)
{
    dpi = openingDpi = win::DpiOfWindow(dialog);
    win::TakeOverDialogDpiChanges(dialog);
    RecordLayout(dialog);
    SetIcons(dialog);
    CenterDialog(dialog);
    ::BringWindowToTop(dialog);
}

void DialogFrame::RecordLayout(HWND dialog)
{
    // Without a font of its own the dialog keeps its layout on a DPI change.
    const HFONT font = Font(dialog);
    if (::GetObjectW(font, sizeof openingFont, &openingFont) == sizeof openingFont)
        openingUnits = BaseUnitsOf(dialog, font);
    RECT client{};
    ::GetClientRect(dialog, &client);
    openingClient = {client.right, client.bottom};
    for (HWND control = ::GetWindow(dialog, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        Place place{control, {}};
        ::GetWindowRect(control, &place.area);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place.area), 2);
        openingPlaces.push_back(place);
    }
}

// A size of the opening layout in the layout of dialog base units `units`.
SIZE DialogFrame::Scale(SIZE size, SIZE units) const
{
    return {::MulDiv(size.cx, units.cx, openingUnits.cx), ::MulDiv(size.cy, units.cy, openingUnits.cy)};
}

void DialogFrame::ChangeDpi(HWND dialog, UINT newDpi, const RECT& suggested)
{
    if (newDpi == 0 || newDpi == dpi || openingUnits.cx <= 0 || openingUnits.cy <= 0)
        return;
    LOGFONTW logFont = openingFont;
    logFont.lfHeight = ::MulDiv(openingFont.lfHeight, static_cast<int>(newDpi), static_cast<int>(openingDpi));
    logFont.lfWidth = ::MulDiv(openingFont.lfWidth, static_cast<int>(newDpi), static_cast<int>(openingDpi));
    win::UniqueFont font{::CreateFontIndirectW(&logFont)};
    if (!font)
        return;
    const SIZE units = BaseUnitsOf(dialog, font.Get());
    for (const Place& place : openingPlaces) {
        const SIZE topLeft = Scale({place.area.left, place.area.top}, units);
        const SIZE bottomRight = Scale({place.area.right, place.area.bottom}, units);
        ::SetWindowPos(place.control, nullptr, topLeft.cx, topLeft.cy, bottomRight.cx - topLeft.cx,
                       bottomRight.cy - topLeft.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(place.control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    }
    scaledFont = std::move(font);  // after the controls have let go of the previous one

    // The suggested size is the old one scaled; the frame may differ, so the
    // client area is brought to its layout size afterwards.
    const SIZE client = Scale(openingClient, units);
    ::SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT window{}, now{};
    ::GetWindowRect(dialog, &window);
    ::GetClientRect(dialog, &now);
    ::SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + client.cx - now.right,
                   window.bottom - window.top + client.cy - now.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    dpi = newDpi;
    SetIcons(dialog);
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
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
