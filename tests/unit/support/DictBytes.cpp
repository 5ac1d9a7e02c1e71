#include "support/DictBytes.h"

#include <algorithm>
#include <cstring>

namespace {

void AppendU16(ByteVector& bytes, uint16_t value)
{
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

}  // namespace

void PutU16(ByteVector& bytes, std::size_t offset, uint16_t value)
{
    bytes.at(offset) = static_cast<uint8_t>(value);
    bytes.at(offset + 1) = static_cast<uint8_t>(value >> 8);
}

void PutU32(ByteVector& bytes, std::size_t offset, uint32_t value)
{
    PutU16(bytes, offset, static_cast<uint16_t>(value));
    PutU16(bytes, offset + 2, static_cast<uint16_t>(value >> 16));
}

DictBytes::DictBytes() : header{}
{
    header.magic[0] = kCellDictMagic0;
    header.magic[1] = kCellDictMagic1;
    Relayout();
}

void DictBytes::SetText(std::size_t slotOffset, std::size_t slotUnits, std::u16string_view text)
{
    auto* raw = reinterpret_cast<uint8_t*>(&header);
    std::size_t units = std::min(text.size(), (kCellDictHeaderSize - slotOffset) / 2);
    for (std::size_t i = 0; i < units; ++i) {
        raw[slotOffset + 2 * i] = static_cast<uint8_t>(text[i]);
        raw[slotOffset + 2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
    // A shorter text ends with a NUL in its slot, so that an earlier, longer one does not show through.
    if (units < slotUnits) {
        raw[slotOffset + 2 * units] = 0;
        raw[slotOffset + 2 * units + 1] = 0;
    }
}

DictBytes& DictBytes::Name(std::u16string_view text)
{
    SetText(offsetof(CellDictHeader, name), 32, text);
    header.nameLength = static_cast<uint32_t>(text.size());
    return *this;
}

DictBytes& DictBytes::Text2(std::u16string_view text)
{
    SetText(offsetof(CellDictHeader, text2), 32, text);
    header.text2Length = static_cast<uint32_t>(text.size());
    return *this;
}

DictBytes& DictBytes::Category(std::u16string_view text)
{
    SetText(offsetof(CellDictHeader, category), 32, text);
    header.categoryLength = static_cast<uint32_t>(text.size());
    return *this;
}

DictBytes& DictBytes::Description(std::u16string_view text)
{
    SetText(offsetof(CellDictHeader, description), 256, text);
    header.descriptionLength = static_cast<uint32_t>(text.size());
    return *this;
}

DictBytes& DictBytes::Identity(uint32_t dictId, uint32_t major, uint32_t minor, uint32_t build)
{
    header.dictId = dictId;
    header.version[0] = major;
    header.version[1] = minor;
    header.version[2] = build;
    return *this;
}

DictBytes& DictBytes::Word(std::u16string_view word, bool noSample, uint16_t fill)
{
    std::vector<uint16_t> units(word.size(), fill);
    units.insert(units.end(), word.begin(), word.end());
    auto n = static_cast<uint16_t>(word.size() & 0x7fff);
    return Section1Raw(static_cast<uint16_t>(n | (noSample ? 0x8000 : 0)), units);
}

DictBytes& DictBytes::Section1Raw(uint16_t head, const std::vector<uint16_t>& units)
{
    AppendU16(section1_, head);
    AppendU16(section1_, 0x4444);
    for (uint16_t unit : units)
        AppendU16(section1_, unit);
    ++header.section1Count;
    Relayout();
    return *this;
}

DictBytes& DictBytes::EmptyWords(uint32_t count, bool noSample)
{
    for (uint32_t i = 0; i < count; ++i) {
        AppendU16(section1_, noSample ? 0x8000 : 0);
        AppendU16(section1_, 0x4444);
    }
    header.section1Count += count;
    Relayout();
    return *this;
}

DictBytes& DictBytes::Section2(uint8_t length, uint8_t fill)
{
    const uint8_t head[4] = {length, 0x55, 0x55, 0x55};
    section2_.insert(section2_.end(), head, head + 4);
    section2_.insert(section2_.end(), length, fill);
    ++header.section2Count;
    Relayout();
    return *this;
}

DictBytes& DictBytes::Section3(uint8_t x, uint8_t y, uint8_t z, uint8_t fill)
{
    const uint8_t head[8] = {x, 0x66, 0x66, 0x66, y, 0x66, z, 0x66};
    section3_.insert(section3_.end(), head, head + 8);
    section3_.insert(section3_.end(), 2 * (std::size_t{x} + y + z), fill);
    ++header.section3Count;
    Relayout();
    return *this;
}

DictBytes& DictBytes::Tail(const ByteVector& bytes)
{
    tail_.insert(tail_.end(), bytes.begin(), bytes.end());
    return *this;
}

void DictBytes::Relayout()
{
    header.section1Offset = static_cast<uint32_t>(kCellDictHeaderSize);
    header.section2Offset = header.section1Offset + Section1Size();
    header.section3Offset = header.section2Offset + Section2Size();
}

ByteVector DictBytes::Bytes() const
{
    ByteVector bytes(kCellDictHeaderSize);
    std::memcpy(bytes.data(), &header, kCellDictHeaderSize);
    bytes.reserve(bytes.size() + section1_.size() + section2_.size() + section3_.size() + tail_.size());
    for (const ByteVector* part : {&section1_, &section2_, &section3_, &tail_})
        bytes.insert(bytes.end(), part->begin(), part->end());
    return bytes;
}
