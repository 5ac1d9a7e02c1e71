#pragma once
// Wide text to UTF-8, for file names on systems that take them as bytes and
// for tools that print.

#include <string>
#include <string_view>

// Never fails: units that are not a character (a lone surrogate, a value
// beyond U+10FFFF) become U+FFFD.
std::string WideToUtf8(std::wstring_view text);
