#pragma once
// A fresh folder under the system's temporary folder, removed with the object.

#include "support/DictBytes.h"

#include <filesystem>

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

ByteVector ReadBytes(const std::filesystem::path& path);
