#pragma once
// Drives the dialogs of another process through the window API only: find a
// dialog, read it, photograph it from the screen, answer it.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace uitest {

// How a dialog is answered. Second: "取消" of the information dialog, the
// second button of a message.
enum class Action { Ok, Second, Enter, Escape, CloseBox };

// Pixels of a window as the screen shows it, top-down, 4 bytes each (B, G, R, 0).
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgra;
    COLORREF At(int x, int y) const
    {
        const uint8_t* p = &bgra[(static_cast<size_t>(y) * width + x) * 4];
        return RGB(p[2], p[1], p[0]);
    }
};

// The first shown dialog of `processId` other than `previous`, once painted; null after 10 s.
HWND WaitForDialog(DWORD processId, HWND previous);
void WaitForPaint(HWND dialog);
// False when the window is still there after 10 s.
bool WaitUntilClosed(HWND window);
std::wstring ReadText(HWND window);
bool IsShown(HWND window);
Capture Shot(HWND window);
int CountPixels(const Capture& capture, COLORREF color);
// Saves a capture as <build>/screenshots/<name>.bmp; false when it cannot.
bool SaveScreenshot(const Capture& capture, const std::wstring& name);
// The picture a control shows, judged by the colour of its body on the screen:
// "success", "information", "warning", "package" or "none".
std::wstring ShownPicture(HWND control);
void Perform(HWND dialog, Action action);

// Makes the Wine prefix show the dialogs as Windows would: a CJK font behind the
// dialogs' "宋体" and window frames drawn by Wine. Processes started afterwards
// see it. False when a setting could not be made.
bool PrepareDialogPrefix();

}  // namespace uitest
