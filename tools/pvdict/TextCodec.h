#pragma once
// Conversions between UTF-8 (what pvdict reads and prints), std::wstring (the
// project's text type: UTF-16 on Windows, UTF-32 elsewhere) and UTF-16 (what a
// .pvdict file stores).

#include "core/Utf8.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pvdict {

// Strict decoding: overlong forms, surrogates, values above U+10FFFF and cut
// sequences are refused (nullopt).
std::optional<std::wstring> Utf8ToWide(std::string_view text);

// UTF-16 units as Windows would hold them: surrogate pairs for characters
// beyond the BMP; a value that is no character at all becomes U+FFFD.
std::u16string WideToUtf16(std::wstring_view text);

// File names given as UTF-8, on every platform.
std::filesystem::path Utf8ToPath(std::string_view text);
std::string PathToUtf8(const std::filesystem::path& path);

}  // namespace pvdict
