#pragma once
// Which Windows the program runs on.

#include <windows.h>

namespace win {

// True on Windows NT of version major.minor or later (6.0 is Vista, 6.2 Windows 8).
bool IsWindowsVersionAtLeast(DWORD major, DWORD minor);

}  // namespace win
