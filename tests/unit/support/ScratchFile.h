#pragma once
// Files for tests, in a fresh folder under the system's temporary folder that
// is removed with the object.

#include "support/DictBytes.h"

#include <filesystem>
#include <string>

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes `bytes` to `name` inside the folder and returns the file's full path.
    std::wstring Write(const std::wstring& name, const ByteVector& bytes) const;

private:
    std::filesystem::path path_;
};

// One file with the given bytes, in a scratch folder of its own.
class ScratchFile {
public:
    explicit ScratchFile(const ByteVector& bytes, const std::wstring& name = L"test.pvdict");

    const std::wstring& Path() const { return path_; }

private:
    ScratchDir dir_;
    std::wstring path_;
};

void WriteBytes(const std::filesystem::path& path, const ByteVector& bytes);
ByteVector ReadBytes(const std::filesystem::path& path);
