#pragma once
// printf-style formatting of wide text in the Microsoft convention, the one the
// logging library and the message texts use: in a wide format "%s" takes a wide
// string and "%S" a narrow one. (mingw's C99 printf family reads "%s" as narrow
// when __USE_MINGW_ANSI_STDIO is on; these functions never do.)

#include <cstdarg>
#include <string>

namespace win {

std::wstring FormatWide(const wchar_t* format, ...);
std::wstring FormatWideV(const wchar_t* format, va_list args);

}  // namespace win
