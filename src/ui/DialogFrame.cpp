#include "ui/DialogFrame.h"

#include "resource.h"

#include <algorithm>

namespace ui {

HINSTANCE ResourceModule()
{
    // The dialogs and pictures are linked into the program itself.
    return ::GetModuleHandleW(nullptr);
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
    bigIcon.Reset(LoadDictIcon(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)));
    ::SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.Get()));
    smallIcon.Reset(LoadDictIcon(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));
    ::SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.Get()));
    CenterDialog(dialog);
    ::BringWindowToTop(dialog);
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
