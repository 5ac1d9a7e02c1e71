#include "win/WindowsVersion.h"

#include "win/Module.h"

namespace win {

namespace {

// GetVersionEx is deprecated and reports at most 6.2 to a program whose manifest
// does not name later systems; the kernel tells the true version. Asked once.
const OSVERSIONINFOW& RunningVersion()
{
    static const OSVERSIONINFOW version = [] {
        using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
        OSVERSIONINFOW info = {};
        info.dwOSVersionInfoSize = sizeof(info);
        const auto rtlGetVersion = SystemExport<RtlGetVersionFn>(L"ntdll.dll", "RtlGetVersion");
        if (!rtlGetVersion || rtlGetVersion(&info) != 0)
            info = {};
        return info;
    }();
    return version;
}

}  // namespace

bool IsWindowsVersionAtLeast(DWORD major, DWORD minor)
{
    const OSVERSIONINFOW& v = RunningVersion();
    return v.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           (v.dwMajorVersion > major || (v.dwMajorVersion == major && v.dwMinorVersion >= minor));
}

}  // namespace win
