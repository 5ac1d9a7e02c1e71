#include "WideFormat.h"

#include <stdio.h>

namespace ime {

// _vscwprintf and _vsnwprintf are msvcrt's own, whatever __USE_MINGW_ANSI_STDIO
// says: the one measures the text, the other writes it into a string of that size.
std::wstring FormatWideV(const wchar_t* format, va_list args)
{
    if (!format)
        return {};
    va_list measuring;
    va_copy(measuring, args);
    const int units = ::_vscwprintf(format, measuring);
    va_end(measuring);
    if (units <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(units), L'\0');
    va_list writing;
    va_copy(writing, args);
    // The text fills the count exactly, so no terminator is written; the string keeps its own.
    const int written = ::_vsnwprintf(text.data(), text.size(), format, writing);
    va_end(writing);
    return written == units ? text : std::wstring();
}

std::wstring FormatWide(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = FormatWideV(format, args);
    va_end(args);
    return text;
}

}  // namespace ime
