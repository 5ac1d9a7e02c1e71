#pragma once
// Wide text to UTF-8, for file names on systems that take them as bytes and
// for tools that print; and the one decoding of a UTF-16 surrogate pair.

#include <string>
#include <string_view>

// Never fails: units that are not a character (a lone surrogate, a value
// beyond U+10FFFF) become U+FFFD.
std::string WideToUtf8(std::wstring_view text);

// The character that the UTF-16 units `high` and `low` stand for together; 0 when
// they are not a high surrogate followed by a low one.
constexpr char32_t DecodeSurrogatePair(char32_t high, char32_t low)
{
    if (high < 0xD800 || high > 0xDBFF || low < 0xDC00 || low > 0xDFFF)
        return 0;
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}
