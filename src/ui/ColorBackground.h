#pragma once
// The two-tone background of the installer's dialogs: a light upper area and a
// band along the bottom behind the buttons, 35 pixels at 100 % and scaled with
// the DPI. Static controls are made transparent so that the background shows
// through them. A high-contrast theme gets the system's colours instead.

#include "win/Dpi.h"
#include "win/UniqueResource.h"

#include <windows.h>

namespace ui {

inline constexpr COLORREF kBackgroundColor = RGB(243, 250, 255);
inline constexpr COLORREF kBandColor = RGB(194, 227, 250);
inline constexpr COLORREF kDescriptionColor = RGB(128, 128, 128);
inline constexpr int kBandHeight = 35;  // pixels at 96 dpi
inline constexpr int kDescriptionId = 1008;

// True while the user has chosen a high-contrast theme.
bool IsHighContrast();

}  // namespace ui

// Mixed into a dialog class; the dialog procedure offers it every message that
// the dialog itself does not handle.
template <typename Dialog>
class ColorBackground {
protected:
    ColorBackground()
        : backgroundBrush(::CreateSolidBrush(ui::kBackgroundColor)),
          bandBrush(::CreateSolidBrush(ui::kBandColor))
    {
    }

    // True when the message was handled; `result` is then the dialog procedure's return.
    bool HandleBackgroundMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT dpi, INT_PTR& result)
    {
        switch (message) {
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetBkMode(dc, TRANSPARENT);
            if (ui::IsHighContrast())
                ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
            else if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == ui::kDescriptionId)
                ::SetTextColor(dc, ui::kDescriptionColor);
            result = reinterpret_cast<INT_PTR>(::GetStockObject(NULL_BRUSH));
            return true;
        }
        case WM_ERASEBKGND:
            PaintBackground(dialog, reinterpret_cast<HDC>(wParam), dpi);
            ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 1);
            result = TRUE;
            return true;
        default: return false;
        }
    }

    win::UniqueBrush backgroundBrush;  // declared first, so released last
    win::UniqueBrush bandBrush;

private:
    void PaintBackground(HWND dialog, HDC dc, UINT dpi) const
    {
        RECT client{};
        ::GetClientRect(dialog, &client);
        RECT upper = client;
        upper.bottom = client.bottom - win::ScaleForDpi(ui::kBandHeight, dpi);
        RECT band = client;
        band.top = upper.bottom;
        const bool system = ui::IsHighContrast();
        HBRUSH upperBrush = system ? ::GetSysColorBrush(COLOR_WINDOW) : backgroundBrush.Get();
        HBRUSH lowerBrush = system ? ::GetSysColorBrush(COLOR_BTNFACE) : bandBrush.Get();
        if (upperBrush)
            ::FillRect(dc, &upper, upperBrush);
        if (lowerBrush)
            ::FillRect(dc, &band, lowerBrush);
    }
};
