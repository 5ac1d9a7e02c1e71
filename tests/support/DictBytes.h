#pragma once
// Builds the raw bytes of .pvdict files for tests: a header, the records of the
// three sections, and anything after them. The record calls keep the header's
// counts and offsets in step (sections back to back right after the header);
// change `header` afterwards to break the layout on purpose.

#include "core/CellDictHeader.h"

#include <string_view>
#include <vector>

using ByteVector = std::vector<uint8_t>;

class DictBytes {
public:
    // Right magic, formatLevel 0, empty sections starting at byte 848.
    DictBytes();

    // Text slots: the units are written from the slot's start (running on into
    // the following fields when longer than the slot, never past the header),
    // then a NUL if the slot has room; the length field is the text's length.
    DictBytes& Name(std::u16string_view text)
    {
        return Text(offsetof(CellDictHeader, name), header.nameLength, 32, text);
    }
    DictBytes& Category(std::u16string_view text)
    {
        return Text(offsetof(CellDictHeader, category), header.categoryLength, 32, text);
    }
    DictBytes& Description(std::u16string_view text)
    {
        return Text(offsetof(CellDictHeader, description), header.descriptionLength, 256, text);
    }
    DictBytes& Identity(uint32_t dictId, uint32_t major, uint32_t minor, uint32_t build);

    // Section 1: a word record, its n values before the word set to `fill`;
    // `noSample` sets bit 15 of the head.
    DictBytes& Word(std::u16string_view word, bool noSample = false, uint16_t fill = 0x1111);
    // Section 2: a record of L + 4 bytes. Section 3: a record of 8 + 2(x + y + z) bytes.
    DictBytes& Section2(uint8_t length);
    DictBytes& Section3(uint8_t x, uint8_t y, uint8_t z);
    // Bytes after the last section.
    DictBytes& Tail(const ByteVector& bytes) { return Add(3, bytes); }

    uint32_t Section1Size() const { return static_cast<uint32_t>(parts_[0].size()); }
    std::size_t Size() const;  // of Bytes()
    // Header as it stands, then sections 1, 2, 3 and the tail.
    ByteVector Bytes() const;

    CellDictHeader header;

private:
    DictBytes& Text(std::size_t slot, uint32_t& length, std::size_t slotUnits, std::u16string_view text);
    DictBytes& Add(int part, const ByteVector& bytes);

    ByteVector parts_[4];
};

// Writes a little-endian 32-bit value into `bytes` at `offset`.
void PutU32(ByteVector& bytes, std::size_t offset, uint32_t value);
