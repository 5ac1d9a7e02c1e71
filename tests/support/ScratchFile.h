#pragma once
// A fresh folder under the system's temporary folder, removed with the object,
// and whole files read and written.

#include "support/DictBytes.h"

#include <filesystem>
#include <optional>
#include <string>

class ScratchDir {
public:
    // The folder's name begins with `namePart`, which may hold spaces to test such paths.
    explicit ScratchDir(const std::wstring& namePart = L"lexinst-test");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes `bytes` to `name` inside the folder and returns the file's full path.
    std::wstring Write(const std::wstring& name, const ByteVector& bytes) const;

private:
    std::filesystem::path path_;
};

bool WriteBytes(const std::filesystem::path& path, const ByteVector& bytes);
// The file's bytes (none for a folder); nullopt when nothing is at `path`.
std::optional<ByteVector> ReadBytes(const std::filesystem::path& path);
