#include "support/ReferenceReader.h"

#include "dict/FileIO.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace {

// A file position is a signed 32-bit value: a seek whose target falls outside
// 0 .. INT32_MAX fails, a seek past the end of the file succeeds.
bool Seek(std::FILE* file, int64_t offset, int origin)
{
    int64_t target = origin == SEEK_SET ? offset : TellFile(file) + offset;
    if (target < 0 || target > INT32_MAX)
        return false;
    return std::fseek(file, static_cast<long>(offset), origin) == 0;
}

bool ReadExactly(std::FILE* file, uint8_t* buffer, std::size_t length)
{
    return std::fread(buffer, 1, length, file) == length;
}

bool MeasureSize(std::FILE* file, uint32_t& size)
{
    if (std::fseek(file, 0, SEEK_SET) != 0)
        return false;
    int64_t start = TellFile(file);
    if (std::fseek(file, 0, SEEK_END) != 0)
        return false;
    int64_t end = TellFile(file);
    if (start < 0 || end < start || end - start > INT32_MAX)
        return false;
    size = static_cast<uint32_t>(end - start);
    return true;
}

bool WalkSections(std::FILE* file, const CellDictHeader& header)
{
    if (header.magic[0] != kCellDictMagic0 || header.magic[1] != kCellDictMagic1)
        return false;

    uint32_t pos = header.section1Offset;
    if (!Seek(file, static_cast<int32_t>(pos), SEEK_SET))
        return false;
    for (uint32_t i = 0; i < header.section1Count; ++i) {
        uint8_t head[6];
        if (!ReadExactly(file, head, 6))
            return false;
        uint32_t n = head[0];
        if (!Seek(file, int64_t{4} * n - 2, SEEK_CUR))
            return false;
        pos += 4 * n + 4;
    }

    if (header.section2Count != 0) {
        if (pos != header.section2Offset)
            return false;
        for (uint32_t i = 0; i < header.section2Count; ++i) {
            uint8_t head[5];
            if (!ReadExactly(file, head, 5))
                return false;
            uint32_t length = head[0];
            if (!Seek(file, int64_t{length} - 1, SEEK_CUR))
                return false;
            pos += length + 4;
        }
    }

    if (header.section3Count != 0) {
        if (pos != header.section3Offset)
            return false;
        for (uint32_t i = 0; i < header.section3Count; ++i) {
            if (!Seek(file, static_cast<int32_t>(pos), SEEK_SET))
                return false;
            uint8_t head[10];
            if (!ReadExactly(file, head, 10))
                return false;
            uint32_t s = uint32_t{head[0]} + head[4] + head[6];
            if (!Seek(file, int64_t{2} * s - 2, SEEK_CUR))
                return false;
            pos += 2 * s + 8;
        }
    }
    return true;
}

}  // namespace

ReferenceLoadResult ReferenceLoad(const std::wstring& path, bool validate)
{
    ReferenceLoadResult result;
    UniqueFile file = OpenFile(path, "rb");
    if (!file || !MeasureSize(file.get(), result.fileSize))
        return result;
    result.opened = true;
    if (result.fileSize < kCellDictHeaderSize)
        return result;
    if (std::fseek(file.get(), 0, SEEK_SET) != 0 ||
        std::fread(&result.header, kCellDictHeaderSize, 1, file.get()) != 1)
        return result;
    result.headerRead = true;
    result.ok = !validate || WalkSections(file.get(), result.header);
    return result;
}

unsigned ReferenceReadSampleWords(const std::wstring& path, const CellDictHeader& header,
                                  std::vector<std::wstring>& words, unsigned maxCount)
{
    UniqueFile file = OpenFile(path, "rb");
    uint32_t size = 0;
    if (!file || !MeasureSize(file.get(), size) || size < kCellDictHeaderSize)
        return 0;

    uint32_t pos = header.section1Offset;
    for (uint32_t index = 0; index < header.section1Count; ++index) {
        if (words.size() >= maxCount || pos >= size)
            break;
        if (!Seek(file.get(), static_cast<int32_t>(pos), SEEK_SET))
            break;
        uint8_t head[2];
        if (!ReadExactly(file.get(), head, 2))
            break;
        uint32_t n = (head[0] | (head[1] << 8)) & 0x7fff;
        if (head[1] & 0x80) {
            pos += 4 * n + 4;
            continue;
        }
        uint32_t wordStart = pos + 4 + 2 * n;
        if (!Seek(file.get(), int64_t{wordStart}, SEEK_SET))
            break;
        // A zeroed buffer of n + 1 units; only whole units that were read count.
        std::vector<uint8_t> buffer(2 * (std::size_t{n} + 1), 0);
        std::size_t unitsRead = std::fread(buffer.data(), 2, n, file.get());
        std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(2 * unitsRead), buffer.end(), uint8_t{0});
        std::size_t length = 0;
        while (buffer[2 * length] != 0 || buffer[2 * length + 1] != 0)
            ++length;
        std::wstring word = WideFromUtf16Le(buffer.data(), length);
        if (std::find(words.begin(), words.end(), word) == words.end())
            words.push_back(word);
        pos = wordStart + 2 * n;
    }
    return static_cast<unsigned>(words.size());
}
