#include "support/DictBytes.h"

#include <algorithm>
#include <cstring>
#include <tuple>

void PutU32(ByteVector& bytes, std::size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<uint8_t>(value >> 8 * i);
}

DictBytes::DictBytes() : header{}
{
    header.magic[0] = kCellDictMagic0;
    header.magic[1] = kCellDictMagic1;
    Add(0, {});
}

DictBytes& DictBytes::Text(std::size_t slot, uint32_t& length, std::size_t slotUnits, std::u16string_view text)
{
    // A NUL after a shorter text, so that an earlier, longer one does not show through.
    std::u16string units(text);
    if (units.size() < slotUnits)
        units += u'\0';
    std::memcpy(reinterpret_cast<uint8_t*>(&header) + slot, units.data(),
                2 * std::min(units.size(), (kCellDictHeaderSize - slot) / 2));
    length = static_cast<uint32_t>(text.size());
    return *this;
}

DictBytes& DictBytes::Identity(uint32_t dictId, uint32_t major, uint32_t minor, uint32_t build)
{
    header.dictId = dictId;
    std::tie(header.version[0], header.version[1], header.version[2]) = std::tie(major, minor, build);
    return *this;
}

DictBytes& DictBytes::Word(std::u16string_view word, bool noSample, uint16_t fill)
{
    const auto head = static_cast<uint16_t>(word.size() | (noSample ? 0x8000 : 0));
    ByteVector record{static_cast<uint8_t>(head), static_cast<uint8_t>(head >> 8), 0x44, 0x44};
    for (std::size_t i = 0; i < 2 * word.size(); ++i) {
        const char16_t unit = i < word.size() ? fill : word[i - word.size()];
        record.insert(record.end(), {static_cast<uint8_t>(unit), static_cast<uint8_t>(unit >> 8)});
    }
    ++header.section1Count;
    return Add(0, record);
}

DictBytes& DictBytes::Section2(uint8_t length)
{
    ++header.section2Count;
    return Add(1, ByteVector{length, 0x55, 0x55, 0x55}).Add(1, ByteVector(length, 0x22));
}

DictBytes& DictBytes::Section3(uint8_t x, uint8_t y, uint8_t z)
{
    ++header.section3Count;
    return Add(2, ByteVector{x, 0x66, 0x66, 0x66, y, 0x66, z, 0x66})
        .Add(2, ByteVector(2 * (std::size_t{x} + y + z), 0x33));
}

DictBytes& DictBytes::Add(int part, const ByteVector& bytes)
{
    parts_[part].insert(parts_[part].end(), bytes.begin(), bytes.end());
    header.section1Offset = static_cast<uint32_t>(kCellDictHeaderSize);
    header.section2Offset = header.section1Offset + Section1Size();
    header.section3Offset = header.section2Offset + static_cast<uint32_t>(parts_[1].size());
    return *this;
}

std::size_t DictBytes::Size() const
{
    return kCellDictHeaderSize + parts_[0].size() + parts_[1].size() + parts_[2].size() + parts_[3].size();
}

ByteVector DictBytes::Bytes() const
{
    ByteVector bytes(kCellDictHeaderSize);
    std::memcpy(bytes.data(), &header, kCellDictHeaderSize);
    for (const ByteVector& part : parts_)
        bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}
