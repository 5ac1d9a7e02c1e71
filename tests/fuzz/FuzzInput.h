#pragma once
// Shared by the fuzz targets: a check that aborts with its text, and the
// decoding of input bytes into UTF-16 text.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #condition, __LINE__); \
            std::abort();                                                              \
        }                                                                              \
    } while (false)

// Bytes below 0x80 are characters as they are; a byte from 0x80 up takes the
// next two bytes as one UTF-16 code unit, so plain text files serve as seeds.
inline std::wstring DecodeFuzzText(const std::uint8_t* data, std::size_t size)
{
    std::wstring text;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] < 0x80) {
            text += static_cast<wchar_t>(data[i]);
        } else if (i + 2 < size) {
            text += static_cast<wchar_t>(data[i + 1] << 8 | data[i + 2]);
            i += 2;
        }
    }
    return text;
}
