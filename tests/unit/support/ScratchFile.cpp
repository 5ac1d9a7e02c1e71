#include "support/ScratchFile.h"

#include <atomic>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path MakeUniqueDir()
{
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() /
            ("lexinst-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
        std::error_code error;
        if (fs::create_directory(candidate, error))
            return candidate;
    }
    throw std::runtime_error("cannot create a scratch folder");
}

}  // namespace

ScratchDir::ScratchDir() : path_(MakeUniqueDir()) {}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::wstring ScratchDir::Write(const std::wstring& name, const ByteVector& bytes) const
{
    fs::path file = path_ / name;
    WriteBytes(file, bytes);
    return file.wstring();
}

ScratchFile::ScratchFile(const ByteVector& bytes, const std::wstring& name)
    : path_(dir_.Write(name, bytes))
{
}

void WriteBytes(const fs::path& path, const ByteVector& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

ByteVector ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return ByteVector(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
