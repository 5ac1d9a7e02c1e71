#pragma once
// What both dialogs do to their own window when they open, and the dialog
// procedure that routes messages to a dialog object.

#include "win/UniqueResource.h"

#include <windows.h>

namespace ui {

HINSTANCE ResourceModule();

// Big and small window icons from icon resource 201; the icons live as long
// as this object, which outlives the dialog window.
class DialogFrame {
public:
    // Sets the icons, centres the dialog and brings it to the top.
    void Prepare(HWND dialog);

private:
    win::UniqueIcon bigIcon;
    win::UniqueIcon smallIcon;
};

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

// Selects a GDI object into a device context for the holder's lifetime.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? ::SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect()
    {
        if (previous_)
            ::SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace ui
