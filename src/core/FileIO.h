#pragma once
// Opening files by wide path for the portable core, and 64-bit positions.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// _wfopen on Windows; elsewhere the path is converted to UTF-8 for fopen.
// `mode` is plain ASCII ("rb"). Null on failure.
UniqueFile OpenFile(const std::wstring& path, const char* mode);

// fseek/ftell with 64-bit positions (long is 32 bits on Windows).
[[nodiscard]] bool SeekFile(std::FILE* file, int64_t offset, int origin);
int64_t TellFile(std::FILE* file);
