#include "CellDictWriter.h"

#include "core/CellDictHeader.h"
#include "TextCodec.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

namespace pvdict {
namespace fs = std::filesystem;
namespace {

// The content as the file holds it: UTF-16 texts, checked against the limits.
struct EncodedContent {
    std::u16string name;
    std::u16string category;
    std::u16string description;
    std::vector<std::u16string> words;
    uint64_t fileSize = kCellDictHeaderSize;
};

bool EncodeText(const std::wstring& text, std::size_t maxUnits, const char* what, std::u16string& units,
                std::string& error)
{
    units = WideToUtf16(text);
    if (units.size() > maxUnits) {
        error = std::string("the ") + what + " is " + std::to_string(units.size()) + " UTF-16 units long; at most " +
                std::to_string(maxUnits) + " fit";
        return false;
    }
    if (units.find(u'\0') != std::u16string::npos) {
        error = std::string("the ") + what + " contains a NUL character";
        return false;
    }
    return true;
}

bool EncodeWord(const std::wstring& word, std::size_t index, std::u16string& units, std::string& error)
{
    units = WideToUtf16(word);
    std::string where = "word " + std::to_string(index + 1) + " (" + WideToUtf8(word.substr(0, 16)) +
                        (word.size() > 16 ? "..." : "") + ")";
    if (units.empty()) {
        error = "word " + std::to_string(index + 1) + " is empty";
        return false;
    }
    if (units.size() > kMaxWordUnits) {
        error = where + " is " + std::to_string(units.size()) + " UTF-16 units long; at most " +
                std::to_string(kMaxWordUnits) + " fit in a record";
        return false;
    }
    if (units.find(u'\0') != std::u16string::npos) {
        error = where + " contains a NUL character";
        return false;
    }
    return true;
}

bool EncodeContent(const CellDictContent& content, EncodedContent& encoded, std::string& error)
{
    if (!EncodeText(content.name, kMaxNameUnits, "name", encoded.name, error) ||
        !EncodeText(content.category, kMaxCategoryUnits, "category", encoded.category, error) ||
        !EncodeText(content.description, kMaxDescriptionUnits, "description", encoded.description, error))
        return false;
    if (content.words.size() > UINT32_MAX) {
        error = "too many words";
        return false;
    }
    encoded.words.resize(content.words.size());
    for (std::size_t i = 0; i < content.words.size(); ++i) {
        if (!EncodeWord(content.words[i], i, encoded.words[i], error))
            return false;
        encoded.fileSize += 4 * encoded.words[i].size() + 4;
        if (encoded.fileSize > kMaxFileSize) {
            error = "the file would reach 2^31 bytes (at word " + std::to_string(i + 1) + ")";
            return false;
        }
    }
    return true;
}

void CopyText(const std::u16string& units, uint16_t* slot, uint32_t& length)
{
    std::copy(units.begin(), units.end(), slot);
    length = static_cast<uint32_t>(units.size());
}

CellDictHeader MakeHeader(const CellDictContent& content, const EncodedContent& encoded)
{
    CellDictHeader header;
    std::memset(&header, 0, sizeof header);
    header.magic[0] = kCellDictMagic0;
    header.magic[1] = kCellDictMagic1;
    header.formatLevel = content.formatLevel;
    header.decimalVersion = PackDecimalVersion(content.version);
    header.dictId = content.dictId;
    std::copy(content.version.begin(), content.version.end(), header.version);
    const auto sectionsEnd = static_cast<uint32_t>(encoded.fileSize);
    header.section1Offset = static_cast<uint32_t>(kCellDictHeaderSize);
    header.section2Offset = sectionsEnd;
    header.section3Offset = sectionsEnd;
    header.section1Count = static_cast<uint32_t>(encoded.words.size());
    CopyText(encoded.name, header.name, header.nameLength);
    CopyText(encoded.category, header.category, header.categoryLength);
    CopyText(encoded.description, header.description, header.descriptionLength);
    return header;
}

// Head (n, bit 15 clear), two zero bytes, n zero 16-bit values, the word.
void AppendRecord(std::vector<char>& buffer, const std::u16string& word)
{
    const auto n = static_cast<uint16_t>(word.size());
    const std::size_t start = buffer.size();
    buffer.resize(start + 4 + 4 * std::size_t{n}, 0);
    char* record = buffer.data() + start;
    record[0] = static_cast<char>(n & 0xFF);
    record[1] = static_cast<char>(n >> 8);
    char* text = record + 4 + 2 * std::size_t{n};
    for (char16_t unit : word) {
        *text++ = static_cast<char>(unit & 0xFF);
        *text++ = static_cast<char>(unit >> 8);
    }
}

bool WriteContent(const fs::path& file, const CellDictHeader& header, const EncodedContent& encoded)
{
    std::ofstream stream(file, std::ios::binary | std::ios::trunc);
    if (!stream)
        return false;
    stream.write(reinterpret_cast<const char*>(&header), sizeof header);
    std::vector<char> buffer;
    constexpr std::size_t kFlushAt = 64 * 1024;
    for (const auto& word : encoded.words) {
        AppendRecord(buffer, word);
        if (buffer.size() >= kFlushAt) {
            stream.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            buffer.clear();
        }
    }
    stream.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    stream.close();
    return !stream.fail();
}

// A name beside `out` that no file has yet.
bool PickTemporaryPath(const fs::path& out, fs::path& temporary)
{
    std::random_device seed;
    std::mt19937_64 random((uint64_t{seed()} << 32) ^ seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(random()));
        temporary = out;
        temporary += suffix;
        std::error_code ec;
        if (!fs::exists(temporary, ec) && !ec)
            return true;
    }
    return false;
}

// Removes the temporary file unless it has been renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFile()
    {
        if (!committed_) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const fs::path& Path() const { return path_; }
    void Commit() { committed_ = true; }

private:
    fs::path path_;
    bool committed_ = false;
};

}  // namespace

uint32_t PackDecimalVersion(const std::array<uint32_t, 3>& version)
{
    return version[0] * 10000u + version[1] * 100u + version[2];
}

bool WriteCellDictFile(const fs::path& out, const CellDictContent& content, std::string& error)
{
    EncodedContent encoded;
    if (!EncodeContent(content, encoded, error))
        return false;
    const CellDictHeader header = MakeHeader(content, encoded);

    fs::path temporaryPath;
    if (!PickTemporaryPath(out, temporaryPath)) {
        error = "cannot find a free temporary name beside the output file";
        return false;
    }
    TemporaryFile temporary(temporaryPath);
    if (!WriteContent(temporary.Path(), header, encoded)) {
        error = "cannot write the temporary file " + PathToUtf8(temporary.Path());
        return false;
    }
    std::error_code ec;
    fs::rename(temporary.Path(), out, ec);
    if (ec) {
        error = "cannot replace the output file: " + ec.message();
        return false;
    }
    temporary.Commit();
    return true;
}

}  // namespace pvdict
