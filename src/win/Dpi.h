#pragma once
// The display scale a window is drawn at, on every Windows version the program
// runs on: the window's DPI where the system tells it (Windows 10 1607 and
// later), its monitor's on Windows 8.1, the screen's logical pixels before.

#include <windows.h>

namespace win {

inline constexpr UINT kBaseDpi = 96;  // 100 %

// The DPI of the monitor the window is on (per-monitor aware), or of the system.
UINT DpiOfWindow(HWND window);

// `pixels` at 96 dpi, scaled to `dpi` and rounded.
int ScaleForDpi(int pixels, UINT dpi);

// A system metric (SM_CXICON, ...) as it is at `dpi`.
int MetricForDpi(int index, UINT dpi);

// Keeps the system from re-laying out a dialog on a DPI change, for a dialog
// that does it itself; does nothing where the system does not do it.
void TakeOverDialogDpiChanges(HWND dialog);

}  // namespace win
