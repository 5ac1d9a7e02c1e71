#include "support/ScratchFile.h"

#include <atomic>
#include <fstream>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

static std::atomic<unsigned> counter{0};

ScratchDir::ScratchDir()
    : path_(fs::temp_directory_path() / ("lexinst-test-" + std::to_string(std::random_device()()) + "-" + std::to_string(counter++)))
{
    if (!fs::create_directory(path_))
        throw std::runtime_error("cannot create " + path_.string());
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::wstring ScratchDir::Write(const std::wstring& name, const ByteVector& bytes) const
{
    std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + (path_ / name).string());
    return (path_ / name).wstring();
}

ByteVector ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return ByteVector(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
