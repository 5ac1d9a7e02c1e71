#pragma once
// What both dialogs do to their own window when they open, and the dialog
// procedure that routes messages to a dialog object.

#include "win/ScopedGdi.h"
#include "win/UniqueResource.h"

#include <windows.h>

#include <vector>

namespace ui {

HINSTANCE ResourceModule();

// The id of bitmap `baseId` drawn for the scale nearest `dpi`: 100, 125, 150,
// 200 or 250 %, the smaller one on a tie (base id + 100 per step up).
int PictureIdForDpi(int baseId, UINT dpi);

// Bitmap `baseId` at the scale nearest `dpi`; null when it cannot be loaded.
HBITMAP LoadPicture(int baseId, UINT dpi);

// The dialog's window at its display scale: big and small icons from icon
// resource 201, and on a DPI change the layout of the dialog as it opened,
// laid out anew with its font made for the new DPI, as the dialog manager
// would have laid it out there. The icons and the font live as long as this
// object, which outlives the dialog window.
class DialogFrame {
public:
    // Reads the dialog's DPI and layout, sets the icons, centres the dialog and brings it to the top.
    void Prepare(HWND dialog);

    // WM_DPICHANGED: the window at the top left of `suggested`, its controls,
    // font and icons made for `newDpi`.
    void ChangeDpi(HWND dialog, UINT newDpi, const RECT& suggested);

    UINT Dpi() const { return dpi; }

    // The font the dialog's controls are drawn with now.
    HFONT Font(HWND dialog) const;

private:
    struct Place {
        HWND control;
        RECT area;  // in the dialog's client area
    };

    void SetIcons(HWND dialog);
    void RecordLayout(HWND dialog);
    SIZE Scale(SIZE size, SIZE units) const;

    UINT dpi = 96;
    UINT openingDpi = 96;
    LOGFONTW openingFont{};
    SIZE openingUnits{};  // dialog base units of the opening font
    SIZE openingClient{};
    std::vector<Place> openingPlaces;
    win::UniqueFont scaledFont;  // null until the first DPI change: the dialog manager's font until then
    win::UniqueIcon bigIcon;
    win::UniqueIcon smallIcon;
};

// A copy of `font` with another weight, or null when it cannot be made.
HFONT MakeFontOfWeight(HFONT font, LONG weight);

// Centres over the owner when it is visible and not minimised, otherwise on the
// work area of the nearest monitor; the result is kept inside that work area.
void CenterDialog(HWND dialog);

// The object pointer arrives with WM_INITDIALOG and is kept in DWLP_USER.
// Dialog::HandleMessage must not throw; anything that does is treated as
// "not handled" so that no exception leaves the callback.
template <typename Dialog>
INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self)
        return FALSE;
    try {
        return self->HandleMessage(dialog, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

// Runs a dialog object modally on its template; -1 when the dialog cannot be created.
template <typename Dialog>
INT_PTR RunModal(Dialog& self, int templateId, HWND owner)
{
    return ::DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(templateId), owner, &DialogProcedure<Dialog>,
                             reinterpret_cast<LPARAM>(&self));
}

}  // namespace ui
