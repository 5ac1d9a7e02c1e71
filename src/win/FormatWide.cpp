#include "win/FormatWide.h"

#include <stdio.h>
#include <wchar.h>

#include <vector>

namespace win {

namespace {

// The C runtime's own _vsnwprintf: always the Microsoft reading of %s.
int FormatInto(wchar_t* buffer, size_t count, const wchar_t* format, va_list args)
{
    return ::_vsnwprintf(buffer, count, format, args);
}

}  // namespace

std::wstring FormatWideV(const wchar_t* format, va_list args)
{
    if (!format)
        return {};
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        // One unit is kept for the terminator: _vsnwprintf omits it when the text fills the count.
        const int written = FormatInto(buffer.data(), buffer.size() - 1, format, copy);
        va_end(copy);
        if (written >= 0 && static_cast<size_t>(written) < buffer.size() - 1)
            return std::wstring(buffer.data(), static_cast<size_t>(written));
        // -1 is both "too small" and "bad format"; give up before memory does.
        if (buffer.size() >= (size_t{1} << 24))
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring FormatWide(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = FormatWideV(format, args);
    va_end(args);
    return text;
}

}  // namespace win
