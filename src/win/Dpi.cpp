#include "win/Dpi.h"

#include "win/Module.h"
#include "win/ScopedGdi.h"

namespace win {

namespace {

// The per-monitor exports of user32 are missing on older systems: null there.
constexpr const wchar_t* kUser32 = L"user32.dll";

UINT SystemDpi()
{
    const ScopedWindowDC screen(nullptr);
    const int dpi = screen.Get() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

// Windows 8.1 has per-monitor DPIs but tells them only by monitor.
UINT MonitorDpi(HWND window)
{
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    static const UniqueModule shcore = LoadSystemModule(L"shcore.dll");
    static const auto getDpiForMonitor = Export<GetDpiForMonitorFn>(shcore.Get(), "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (!getDpiForMonitor ||
        FAILED(getDpiForMonitor(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x, &y)))
        return 0;
    return y;
}

}  // namespace

UINT DpiOfWindow(HWND window)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = SystemExport<GetDpiForWindowFn>(kUser32, "GetDpiForWindow");
    const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : MonitorDpi(window);
    return dpi ? dpi : SystemDpi();
}

int ScaleForDpi(int pixels, UINT dpi) { return ::MulDiv(pixels, static_cast<int>(dpi), kBaseDpi); }

int MetricForDpi(int index, UINT dpi)
{
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto getMetricForDpi = SystemExport<GetSystemMetricsForDpiFn>(kUser32, "GetSystemMetricsForDpi");
    if (getMetricForDpi)
        return getMetricForDpi(index, dpi);
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

void TakeOverDialogDpiChanges(HWND dialog)
{
    using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
    constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
    static const auto setBehavior = SystemExport<SetDialogDpiChangeBehaviorFn>(kUser32, "SetDialogDpiChangeBehavior");
    if (setBehavior)
        (void)setBehavior(dialog, kDisableAll, kDisableAll);  // without it the system's layout applies too
}

}  // namespace win
