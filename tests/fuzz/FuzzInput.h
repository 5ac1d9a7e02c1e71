#pragma once
// Shared by the fuzz targets: a check that aborts with its text, and the input
// as UTF-16 text cut at NULs.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define FUZZ_CHECK(condition)                                                                                          \
    ((condition) ? void() : (std::fprintf(stderr, "check failed: %s (line %d)\n", #condition, __LINE__), std::abort()))

// Bytes below 0x80 are characters as they are, so that plain text files serve
// as seeds; a byte from 0x80 up takes the next two bytes as one UTF-16 unit.
// The text is cut at every NUL: there is always one part at least.
inline std::vector<std::wstring> FuzzTexts(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::wstring> texts(1);
    for (std::size_t i = 0; i < size && (data[i] < 0x80 || i + 2 < size); ++i) {
        const wchar_t c = data[i] < 0x80 ? data[i] : static_cast<wchar_t>(data[i + 1] << 8 | data[i + 2]);
        i += data[i] < 0x80 ? 0 : 2;
        if (c == L'\0')
            texts.emplace_back();
        else
            texts.back() += c;
    }
    return texts;
}
