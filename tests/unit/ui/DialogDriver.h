#pragma once
// Drives the modal dialogs of the test process from a second thread, through
// the window API only: find the dialog, read it, photograph it, end it.

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace uitest {

// How the driver ends a dialog.
enum class Action { Click1, Click2, Click1014, Enter, Escape, CloseBox };

enum class Picture { None, Success, Warning, Information, Package };
const char* PictureName(Picture picture);

// 24-bit pixels of a window as the screen shows it, top-down.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool Empty() const { return pixels.empty(); }
};

// What the driver saw of one dialog.
struct DialogView {
    bool found = false;
    HWND dialog = nullptr;
    HWND owner = nullptr;
    std::wstring caption;
    std::map<int, std::wstring> texts;  // by control id
    std::map<int, bool> visible;
    std::map<int, RECT> rects;           // control rectangles in dialog client coordinates
    RECT window{};                      // dialog window rectangle on the screen
    Picture picture = Picture::None;    // of the control asked for
    Capture capture;                    // client area as shown
};

// Runs `operation` on the calling thread; meanwhile a second thread waits for a
// dialog of this thread, lets `inspect` look at it, then ends it with `action`.
// The dialog is always ended, so an operation never hangs on a failed check.
DialogView RunDriven(const std::function<void()>& operation, Action action, const std::vector<int>& controls,
                     int pictureControl, const std::wstring& screenshotName = L"",
                     const std::function<void(DialogView&)>& inspect = {});

// The top-level dialog of a thread once it is shown and painted; null after the limit.
HWND WaitForDialog(DWORD threadId);
// The first shown dialog of another process that is not `previous`; null after the limit.
HWND WaitForProcessDialog(DWORD processId, HWND previous = nullptr);
// False when the window is still there after the limit.
bool WaitUntilClosed(HWND window);
// A window's text through WM_GETTEXT (works across threads and processes).
std::wstring ReadText(HWND window);
// Waits until the dialog and its controls have no pending paint.
void WaitForPaint(HWND dialog);
// The client area of a window read from the screen.
Capture CaptureClient(HWND window);
// The whole window, frame and caption included.
Capture CaptureWindow(HWND window);
// Saves a capture as a 24-bit BMP under <build>/screenshots; false when it cannot.
bool SaveScreenshot(const Capture& capture, const std::wstring& name);
// The picture a control shows, judged by its pixels on the screen (so it works
// for the windows of another process too).
Picture IdentifyShownPicture(HWND control);
void Perform(HWND dialog, Action action);

// Makes the Wine prefix show the dialogs as Windows would: a CJK font behind the
// dialogs' "宋体", the glyph font of the caption buttons, frames drawn by Wine.
// Wine reads fonts when a process starts: call this before starting the
// processes whose dialogs are looked at. False when a setting could not be made.
bool PrepareDialogPrefix();

}  // namespace uitest
