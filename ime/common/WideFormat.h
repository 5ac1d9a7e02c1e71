#pragma once
// printf-style formatting of wide text as the Microsoft C runtime reads it: "%s"
// takes a wide string and "%S" a narrow one. mingw's own C99 printf family, which
// C++ builds get by default (__USE_MINGW_ANSI_STDIO), reads "%s" as narrow.

#include <cstdarg>
#include <string>

namespace ime {

std::wstring FormatWide(const wchar_t* format, ...);
// An empty text for a format the runtime refuses.
std::wstring FormatWideV(const wchar_t* format, va_list args);

}  // namespace ime
