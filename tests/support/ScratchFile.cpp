#include "support/ScratchFile.h"

#include <atomic>
#include <fstream>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

static std::atomic<unsigned> counter{0};

ScratchDir::ScratchDir(const std::wstring& namePart)
    : path_(fs::temp_directory_path() /
            (namePart + L"-" + std::to_wstring(std::random_device()()) + L"-" + std::to_wstring(counter++)))
{
    if (!fs::create_directory(path_))
        throw std::runtime_error("cannot create " + path_.string());
}

// Read-only entries are made writable first: Windows removes none otherwise.
ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(path_, ignored); it != fs::end(it); it.increment(ignored))
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::wstring ScratchDir::Write(const std::wstring& name, const ByteVector& bytes) const
{
    if (!WriteBytes(path_ / name, bytes))
        throw std::runtime_error("cannot write " + (path_ / name).string());
    return (path_ / name).wstring();
}

bool WriteBytes(const fs::path& path, const ByteVector& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

std::optional<ByteVector> ReadBytes(const fs::path& path)
{
    std::error_code ignored;
    if (!fs::exists(path, ignored))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    return ByteVector(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
